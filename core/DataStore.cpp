#include "core/DataStore.h"

#include "core/FileUtil.h"

#include <filesystem>

namespace zor {

bool DataStore::Fail(std::string why) {
    error_ = std::move(why);
    return false;
}

bool DataStore::StartUp(const PlatformInfo& platform) {
    error_.clear();
    settings_ = AppSettings{};
    settings_.dataDirectory = WithTrailingSeparator(platform.executableDirectory);
    settings_.charset = platform.screenCharset;
    settings_.decimalSymbol = platform.localeDecimal;
    ApplyCommandLine(settings_, platform.commandLine);
    // A relative data directory is taken from where the program was started, once, so that a
    // relative data source is not resolved against it twice.
    if (settings_.dataDirectory.front() != '/') {
        std::error_code ec;
        auto abs = std::filesystem::absolute(settings_.dataDirectory, ec);
        if (!ec) settings_.dataDirectory = WithTrailingSeparator(abs.lexically_normal().string());
    }

    // A directory that is not there is said so, apart from one that lacks its zorgui.cfg.
    if (const std::string dir = WithoutTrailingSeparator(settings_.dataDirectory);
        !IsDirectory(dir))
        return Fail("data directory " + dir +
                    (PathExists(dir) ? " is not a directory" : " does not exist"));

    titles_ = TitlesTable::Load(settings_.dataDirectory + "wtitles.bin");

    std::string cfgPath = settings_.dataDirectory + "zorgui.cfg";
    auto cfg = ReadWholeFile(cfgPath, size_t(16) << 20);
    if (!cfg)
        return Fail(cfgPath +
                    (FileExists(ResolvePath(cfgPath)) ? ": cannot be read" : ": not found") +
                    "; the data directory needs its configuration file zorgui.cfg with the "
                    "lines PROVIDER=ZOR-2 and DATA SOURCE=<directory of the data files>");
    ApplyConfigText(settings_, *cfg, platform);

    const bool fileProvider = IsFileProviderName(settings_.providerName);
    if (fileProvider) CompleteDataSource(settings_);
    if (settings_.providerName.empty())
        return Fail(cfgPath + ": no PROVIDER= line; expected PROVIDER=ZOR-2 for the data files");
    if (settings_.dataSource.empty())
        return Fail(cfgPath + ": no DATA SOURCE= line; expected the directory of the data files");
    if (fileProvider) {
        const std::string source = WithoutTrailingSeparator(settings_.dataSource);
        if (!IsDirectory(source))
            return Fail("data source " + source + " (DATA SOURCE= in " + cfgPath + ") " +
                        (PathExists(source) ? "is not a directory" : "does not exist"));
    }

    provider_ = DataProvider{};
    fileProvider_.reset();
    if (fileProvider) {
        fileProvider_ = std::make_unique<FileProvider>(settings_.dataDirectory,
                                                       LoadTextOr(1077, "Temporary indicators"));
        provider_ = fileProvider_->Operations();
    }

    sets_.clear();
    groups_.clear();
    periods_.clear();
    // The provider's reason names the file and what it should hold; else the step.
    auto why = [this](const char* step) {
        std::string detail = fileProvider_ ? fileProvider_->LastError() : std::string();
        return detail.empty() ? std::string(step) : detail;
    };
    const auto& name = settings_.providerName;
    const auto& source = settings_.dataSource;
    if (provider_.loadRegionSets && !provider_.loadRegionSets(name, source, sets_))
        return Fail(why("loading region sets failed"));
    if (provider_.loadIndicatorGroups && !provider_.loadIndicatorGroups(name, source, groups_))
        return Fail(why("loading indicator groups failed"));
    if (provider_.loadTimePeriods && !provider_.loadTimePeriods(name, source, periods_))
        return Fail(why("loading time periods failed"));

    BuildCombinedLists();
    return true;
}

void DataStore::BuildCombinedLists() {
    allRegions_.clear();
    topRegions_.clear();
    if (sets_.size() < 2) return;
    for (size_t s = 1; s < sets_.size(); ++s) {
        const RegionSet& set = sets_[s];
        for (int i = 0; i + 1 < set.topCount; ++i) {
            ListItem item{MakeRegionKey(set.id, set.regions[size_t(i)].id),
                          set.regions[size_t(i)].name};
            allRegions_.push_back(item);
            topRegions_.push_back(std::move(item));
        }
        for (size_t i = size_t(set.topCount); i < set.regions.size(); ++i)
            allRegions_.push_back({MakeRegionKey(set.id, set.regions[i].id), set.regions[i].name});
    }
    const RegionSet& top = sets_[0];
    const Region& total = top.regions[size_t(top.topCount - 1)];
    ListItem grand{MakeRegionKey(top.id, total.id), total.name};
    allRegions_.push_back(grand);
    topRegions_.push_back(std::move(grand));
}

bool DataStore::LoadGroupIndicators(int groupIndex) {
    if (!provider_.loadGroupIndicators || groupIndex < 0 || size_t(groupIndex) >= groups_.size())
        return false;
    return provider_.loadGroupIndicators(settings_.providerName, settings_.dataSource, groups_,
                                         groupIndex, groups_[size_t(groupIndex)].id);
}

bool DataStore::ReloadGroupIndicators(int groupIndex) {
    if (groupIndex < 0 || size_t(groupIndex) >= groups_.size()) return false;
    groups_[size_t(groupIndex)].indicators.clear();
    return LoadGroupIndicators(groupIndex);
}

int DataStore::GroupSizes(int* out, int max) const {
    int n = 0;
    for (const auto& g : groups_) {
        if (n >= max || n >= 10) break;
        out[n++] = g.announced;
    }
    return n;
}

std::vector<ListItem> DataStore::PeriodList() const {
    std::vector<ListItem> out;
    for (const auto& p : periods_)
        if (p.code >= 0) out.push_back({p.code, p.name});
    return out;
}

} // namespace zor
