#include "core/FileProvider.h"

#include "core/Formats.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace zor {

namespace {

// Catalogue files are small; anything beyond this is not a catalogue file.
constexpr size_t kMaxCatalogueFile = size_t(64) << 20;

// Case-insensitive (ASCII) equality, compared from the end: cached value files share their
// directory and differ in the set id and period at the end of the name.
bool SameNameNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = a.size(); i-- > 0;) {
        char x = a[i], y = b[i];
        if (x == y) continue;
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

// What each catalogue file of a data source holds, for the start-up messages.
constexpr char kSetListHolds[] =
    "the list of region sets: \"CLF\", the name length, the count, each set's id and name";
constexpr char kGroupsHold[] = "the indicator groups: \"MGF\", the name length, ten group names";
constexpr char kMainlistHolds[] =
    "the indicators of the ten groups: \"MIF\", the name length, ten blocks of indicators";
constexpr char kTempListHolds[] =
    "the temporary indicators: \"TIF\", the name length, the used count, 100 slots";
constexpr char kPeriodsHold[] = "the time periods: a count, then a code and a 16-byte name each";

// "<path>: not found" or "cannot be read", for a file that could not be opened.
std::string Unopened(const std::string& path) {
    return path + (PathExists(ResolvePath(path)) ? ": cannot be read" : ": not found");
}

void AppendInt(std::string& s, int v) {
    char buf[16];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    s.append(buf, r.ptr);
}

} // namespace

FileProvider::FileProvider(std::string dataDirectory, std::string tempGroupName)
    : dataDirectory_(std::move(dataDirectory)), tempGroupName_(std::move(tempGroupName)) {}

bool FileProvider::Fail(const std::string& why) {
    if (lastError_.empty()) lastError_ = why;
    return false;
}

bool FileProvider::LoadTimePeriods(const std::string& source, std::vector<TimePeriod>& periods) {
    lastError_.clear();
    std::string path = source + "tmscl.bin";
    auto bytes = ReadWholeFile(path, kMaxCatalogueFile);
    if (!bytes) return Fail(Unopened(path) + "; expected " + kPeriodsHold);
    auto parsed = ParseTimePeriods(*bytes);
    if (!parsed)
        return Fail(path + ": a negative count or fewer periods than it announces; expected " +
                    kPeriodsHold);
    periods = std::move(*parsed);
    return true;
}

bool FileProvider::LoadIndicatorGroups(const std::string& source,
                                       std::vector<IndicatorGroup>& groups) {
    lastError_.clear();
    std::string grpPath = source + "mainlist.grp";
    auto grp = ReadWholeFile(grpPath, kMaxCatalogueFile);
    if (!grp) return Fail(Unopened(grpPath) + "; expected " + kGroupsHold);
    auto names = ParseGroupNames(*grp);
    if (!names) return Fail(grpPath + ": wrong magic or truncated; expected " + kGroupsHold);

    std::string indPath = source + "mainlist.ind";
    RandomAccessFile ind;
    if (!ind.Open(indPath)) return Fail(Unopened(indPath) + "; expected " + kMainlistHolds);
    auto header = ind.ReadExact(0, 5);
    auto len = header ? ParseMainlistHeader(*header) : std::nullopt;
    if (!len) return Fail(indPath + ": wrong magic; expected " + kMainlistHolds);
    for (auto& g : *names) {
        // The block's count announces the group's size.
        auto count = ind.ReadExact(MainlistBlockOffset(*len, g.id), 2);
        g.announced = count ? int16_t(uint8_t((*count)[0]) | uint8_t((*count)[1]) << 8) : 0;
    }

    // Provision tmplist.ind in the data directory: copied from the data source when only that
    // one exists, created empty when neither exists; an existing file is never replaced.
    std::string tmpPath = dataDirectory_ + "tmplist.ind";
    if (!FileExists(tmpPath)) {
        std::string sourceTmp = source + "tmplist.ind";
        if (FileExists(sourceTmp))
            CopyFileNoOverwrite(sourceTmp, tmpPath);
        else
            WriteFileAtomic(tmpPath, WriteTempList({}));
    }
    RandomAccessFile tmp;
    if (!tmp.Open(tmpPath))
        return Fail(tmpPath +
                    ": cannot be opened or created (is the data directory writable?); "
                    "expected " +
                    kTempListHolds);
    auto tmpHeader = tmp.ReadExact(0, 7);
    auto th = tmpHeader ? ParseTempListHeader(*tmpHeader) : std::nullopt;
    if (!th) return Fail(tmpPath + ": wrong magic; expected " + kTempListHolds);

    IndicatorGroup temp;
    temp.id = TempGroupId;
    temp.name = tempGroupName_;
    temp.announced = th->usedCount;
    groups = std::move(*names);
    groups.push_back(std::move(temp));
    return true;
}

bool FileProvider::LoadGroupIndicators(const std::string& source,
                                       std::vector<IndicatorGroup>& groups, int groupIndex,
                                       int groupId) {
    if (groupIndex < 0 || size_t(groupIndex) >= groups.size()) return false;
    IndicatorGroup& group = groups[size_t(groupIndex)];
    if (!group.indicators.empty()) return false;

    if (groupId == TempGroupId) {
        auto bytes = ReadWholeFile(dataDirectory_ + "tmplist.ind", kMaxCatalogueFile);
        if (!bytes) return false;
        auto h = ParseTempListHeader(bytes->substr(0, 7));
        if (!h) return false;
        group.announced = h->usedCount;
        const size_t slotLen = size_t(h->nameLength) + 40;
        for (int s = 0; s < TempSlotCount; ++s) {
            uint64_t off = TempSlotOffset(h->nameLength, s);
            if (off + slotLen > bytes->size()) break; // a truncated file ends the list
            TempIndicatorDef d = ParseTempSlot(
                std::string_view(*bytes).substr(size_t(off), slotLen), h->nameLength, s);
            if (d.name.empty() || d.name[0] == '*') continue;
            group.indicators.push_back({d.code, std::move(d.name), {}});
        }
        return true;
    }

    if (groupId < 0 || groupId > 9) return false;
    RandomAccessFile ind;
    if (!ind.Open(source + "mainlist.ind")) return false;
    auto header = ind.ReadExact(0, 5);
    auto len = header ? ParseMainlistHeader(*header) : std::nullopt;
    if (!len) return false;
    auto block = ind.ReadExact(MainlistBlockOffset(*len, groupId), MainlistBlockSize(*len));
    if (!block) return false;
    auto parsed = ParseIndicatorBlock(*block, *len, groupId);
    if (!parsed) return false;
    group.announced = parsed->count;
    group.indicators = std::move(parsed->indicators);
    return true;
}

bool FileProvider::LoadRegionSets(const std::string& source, std::vector<RegionSet>& sets) {
    lastError_.clear();
    std::string listPath = source + "clist.bin";
    auto list = ReadWholeFile(listPath, kMaxCatalogueFile);
    if (!list) return Fail(Unopened(listPath) + "; expected " + kSetListHolds);
    auto entries = ParseSetList(*list);
    if (!entries) return Fail(listPath + ": wrong magic or truncated; expected " + kSetListHolds);

    bool allRead = true;
    for (const auto& e : *entries) {
        RegionSet set;
        set.id = e.id;
        set.name = e.name;
        std::string par = source + std::to_string(e.id) + ".par";
        std::string ind = source + std::to_string(e.id) + ".ind";
        // What the set's two files hold (clist.bin names the set).
        const std::string parHolds = "the regions of set " + std::to_string(e.id) +
                                     " listed in clist.bin: \"CIF\", the name length, the "
                                     "top-level and the small regions";
        const std::string indHolds = "the indicator codes of set " + std::to_string(e.id) +
                                     " listed in clist.bin: a count, then the codes";
        auto parBytes = ReadWholeFile(par, kMaxCatalogueFile);
        if (!parBytes) {
            allRead = Fail(Unopened(par) + "; expected " + parHolds);
            continue;
        }
        if (!ParseParFile(*parBytes, set)) {
            allRead = Fail(par + ": wrong magic or truncated; expected " + parHolds);
            continue;
        }
        auto indBytes = ReadWholeFile(ind, kMaxCatalogueFile);
        if (!indBytes) {
            allRead = Fail(Unopened(ind) + "; expected " + indHolds);
            continue;
        }
        if (!ParseIndFile(*indBytes, set)) {
            allRead = Fail(ind + ": shorter than its count says; expected " + indHolds);
            continue;
        }
        sets.push_back(std::move(set));
    }
    if (auto cid = ReadWholeFile(source + "cid.bin", kMaxCatalogueFile)) ApplySetCodes(*cid, sets);
    return allRead;
}

void FileProvider::BeginValueReading() {
    EndValueReading();
    cache_.reserve(CacheCapacity);
}

void FileProvider::EndValueReading() {
    cache_.clear();
}

RandomAccessFile* FileProvider::OpenValueFile(const std::string& path) {
    for (auto& c : cache_)
        if (SameNameNoCase(c.path, path)) return &c.file;

    // Value file names are digits only, so the exact name is the only candidate.
    RandomAccessFile f;
    if (!f.OpenExact(path)) return nullptr;
    if (cache_.size() >= CacheCapacity) cache_.pop_back();
    cache_.insert(cache_.begin(), CachedFile{path, std::move(f)});
    return &cache_.front().file;
}

int FileProvider::ReadValues(float* dest, int setId, int periodCode, int indicatorCode,
                             const ValueRequest& request) {
    if (!request.setIndicators || request.rows <= 0) return -1;
    const auto& codes = *request.setIndicators;
    auto pos = std::find(codes.begin(), codes.end(), int16_t(indicatorCode));
    if (indicatorCode < INT16_MIN || indicatorCode > INT16_MAX || pos == codes.end()) return -1;
    const uint64_t p = uint64_t(pos - codes.begin());

    std::string path;
    path.reserve(request.dataSource.size() + 24);
    path += request.dataSource;
    AppendInt(path, setId);
    path += '.';
    AppendInt(path, periodCode);
    RandomAccessFile* file = OpenValueFile(path);
    if (!file) return -1;

    const size_t n = size_t(request.rows) * 4;
    scratch_.resize(n);
    // A record cut short by a truncated file counts as not read.
    if (file->ReadAt(p * uint64_t(request.recordLength) * 4, scratch_.data(), n) != n) return -1;
    std::memcpy(dest, scratch_.data(), n);
    bytesRead_ += n;
    return 1;
}

DataProvider FileProvider::Operations() {
    DataProvider ops;
    ops.loadRegionSets = [this](const std::string&, const std::string& source,
                                std::vector<RegionSet>& sets) {
        return LoadRegionSets(source, sets);
    };
    ops.loadIndicatorGroups = [this](const std::string&, const std::string& source,
                                     std::vector<IndicatorGroup>& groups) {
        return LoadIndicatorGroups(source, groups);
    };
    ops.loadTimePeriods = [this](const std::string&, const std::string& source,
                                 std::vector<TimePeriod>& periods) {
        return LoadTimePeriods(source, periods);
    };
    ops.loadGroupIndicators = [this](const std::string&, const std::string& source,
                                     std::vector<IndicatorGroup>& groups, int index, int id) {
        return LoadGroupIndicators(source, groups, index, id);
    };
    ops.beginValueReading = [this] { BeginValueReading(); };
    ops.readValues = [this](float* dest, int setId, int period, int indicator,
                            const ValueRequest& request) {
        return ReadValues(dest, setId, period, indicator, request);
    };
    ops.endValueReading = [this] { EndValueReading(); };
    return ops;
}

} // namespace zor
