#include "core/SavedSelections.h"

#include "core/Bytes.h"
#include "core/FileUtil.h"

#include <algorithm>

namespace zor {

namespace {

bool IsFreeName(std::string_view name) {
    return name.empty() || name[0] == '.';
}

int ClampCount(int16_t n) {
    return std::clamp(int(n), 0, SavedItemLimit);
}

// Reads at most the 50 slots of a file; anything after them is ignored.
std::optional<std::string> ReadSlots(const std::string& path, size_t slotSize) {
    RandomAccessFile f;
    if (!f.Open(path)) return std::nullopt;
    const size_t want = size_t(std::min<uint64_t>(f.Size(), uint64_t(slotSize) * SavedSlotCount));
    return f.ReadExact(0, want);
}

void WriteFreeSlot(ByteWriter& w, size_t slotSize) {
    w.name(".", SavedNameLength);
    w.zeros(slotSize - SavedNameLength);
}

} // namespace

// ---------------------------------------------------------------- formats

std::vector<SavedIndicatorList> ParseIndicatorLists(std::string_view bytes) {
    std::vector<SavedIndicatorList> out;
    for (int s = 0; s < SavedSlotCount; ++s) {
        const size_t off = size_t(s) * IndicatorSlotSize;
        if (off + IndicatorSlotSize > bytes.size()) break;
        ByteReader r(bytes.substr(off, IndicatorSlotSize));
        SavedIndicatorList e;
        e.name = r.name(SavedNameLength);
        if (IsFreeName(e.name)) continue;
        const int n = ClampCount(r.i16());
        for (int i = 0; i < n; ++i) e.codes.push_back(r.i16());
        e.slot = s;
        out.push_back(std::move(e));
    }
    return out;
}

std::vector<SavedRegionList> ParseRegionLists(std::string_view bytes) {
    std::vector<SavedRegionList> out;
    for (int s = 0; s < SavedSlotCount; ++s) {
        const size_t off = size_t(s) * RegionSlotSize;
        if (off + RegionSlotSize > bytes.size()) break;
        ByteReader r(bytes.substr(off, RegionSlotSize));
        SavedRegionList e;
        e.name = r.name(SavedNameLength);
        if (IsFreeName(e.name)) continue;
        e.setCode = r.i16();
        const int n = ClampCount(r.i16());
        for (int i = 0; i < n; ++i) e.keys.push_back(r.i32());
        e.slot = s;
        out.push_back(std::move(e));
    }
    return out;
}

std::string WriteIndicatorLists(const std::vector<SavedIndicatorList>& entries) {
    ByteWriter w;
    const size_t used = std::min(entries.size(), size_t(SavedSlotCount));
    for (size_t s = 0; s < used; ++s) {
        const auto& e = entries[s];
        const size_t n = std::min(e.codes.size(), size_t(SavedItemLimit));
        w.name(e.name, SavedNameLength);
        w.i16(int16_t(n));
        for (size_t i = 0; i < SavedItemLimit; ++i) w.i16(i < n ? e.codes[i] : int16_t(0));
    }
    for (size_t s = used; s < SavedSlotCount; ++s) WriteFreeSlot(w, IndicatorSlotSize);
    return w.data();
}

std::string WriteRegionLists(const std::vector<SavedRegionList>& entries) {
    ByteWriter w;
    const size_t used = std::min(entries.size(), size_t(SavedSlotCount));
    for (size_t s = 0; s < used; ++s) {
        const auto& e = entries[s];
        const size_t n = std::min(e.keys.size(), size_t(SavedItemLimit));
        w.name(e.name, SavedNameLength);
        w.i16(e.setCode);
        w.i16(int16_t(n));
        for (size_t i = 0; i < SavedItemLimit; ++i) w.i32(i < n ? e.keys[i] : 0);
    }
    for (size_t s = used; s < SavedSlotCount; ++s) WriteFreeSlot(w, RegionSlotSize);
    return w.data();
}

std::optional<std::vector<SavedIndicatorList>> ReadIndicatorListFile(const std::string& path) {
    auto bytes = ReadSlots(path, IndicatorSlotSize);
    if (!bytes) return std::nullopt;
    return ParseIndicatorLists(*bytes);
}

std::optional<std::vector<SavedRegionList>> ReadRegionListFile(const std::string& path) {
    auto bytes = ReadSlots(path, RegionSlotSize);
    if (!bytes) return std::nullopt;
    return ParseRegionLists(*bytes);
}

bool WriteIndicatorListFile(const std::string& path,
                            const std::vector<SavedIndicatorList>& entries) {
    return WriteFileAtomic(path, WriteIndicatorLists(entries));
}

bool WriteRegionListFile(const std::string& path, const std::vector<SavedRegionList>& entries) {
    return WriteFileAtomic(path, WriteRegionLists(entries));
}

// ---------------------------------------------------------------- dialog model

SaveSelectionModel::SaveSelectionModel(std::vector<std::string> titles) {
    for (size_t i = 0; i < titles.size() && i < size_t(SavedSlotCount); ++i) {
        std::string t = std::move(titles[i]);
        if (t.size() > size_t(SavedNameLength)) t.resize(SavedNameLength);
        rows_.push_back({std::move(t), int(i)});
    }
}

std::string SaveSelectionModel::Position(int row) {
    return std::to_string(row + 1);
}

const std::string& SaveSelectionModel::Title(int row) const {
    static const std::string empty;
    return row >= 0 && row < Count() ? rows_[size_t(row)].title : empty;
}

int SaveSelectionModel::Origin(int row) const {
    return row >= 0 && row < Count() ? rows_[size_t(row)].origin : -1;
}

bool SaveSelectionModel::CanInsert() const {
    return !insertPending_ && Count() < SavedSlotCount;
}

int SaveSelectionModel::Insert() {
    if (!CanInsert()) return -1;
    rows_.push_back({std::string(), -1});
    selected_ = Count() - 1;
    insertPending_ = true;
    return selected_;
}

bool SaveSelectionModel::Rename(int row, std::string_view title) {
    if (row < 0 || row >= Count()) return false;
    if (!title.empty() && title[0] == '.') return false;
    rows_[size_t(row)].title = std::string(title.substr(0, SavedNameLength));
    return true;
}

bool SaveSelectionModel::Delete() {
    if (selected_ < 0 || selected_ >= Count()) return false;
    rows_.erase(rows_.begin() + selected_);
    selected_ = None;
    insertPending_ = false;
    return true;
}

void SaveSelectionModel::Select(int row) {
    selected_ = row >= 0 && row < Count() ? row : None;
}

// ---------------------------------------------------------------- save

namespace {

// The shared save flow; `Entry` is one of the two list types, `setItems` stores the current
// items into an entry.
template <class Entry, class Parse, class Write, class SetItems>
SaveOutcome SaveFlow(const std::string& path, bool haveItems, const SaveDialog& dialog, Parse parse,
                     Write write, SetItems setItems) {
    if (!FileExists(path) && !write(path, std::vector<Entry>{})) return SaveOutcome::FileError;
    if (!haveItems) return SaveOutcome::NothingChecked;
    auto entries = parse(path);
    if (!entries) return SaveOutcome::FileError;

    std::vector<std::string> titles;
    for (const auto& e : *entries) titles.push_back(e.name);
    SaveSelectionModel model(std::move(titles));
    if (!dialog || !dialog(model)) return SaveOutcome::Cancelled;

    const int result = model.Ok();
    const int selected =
        result == SaveSelectionModel::None ? -1 : result - SaveSelectionModel::SelectedBase;
    std::vector<Entry> out;
    for (int row = 0; row < model.Count(); ++row) {
        const int origin = model.Origin(row);
        Entry e = origin >= 0 ? (*entries)[size_t(origin)] : Entry{};
        e.name = model.Title(row);
        e.slot = -1;
        if (row == selected) {
            setItems(e);
            if (e.name.empty()) e.name = model.Position(row);
        }
        out.push_back(std::move(e));
    }
    return write(path, out) ? SaveOutcome::Saved : SaveOutcome::FileError;
}

} // namespace

SaveOutcome SaveIndicatorSelection(const std::string& path, const std::vector<int32_t>& codes,
                                   const SaveDialog& dialog) {
    std::vector<int16_t> items;
    for (int32_t c : codes)
        if (c >= INT16_MIN && c <= INT16_MAX && items.size() < size_t(SavedItemLimit))
            items.push_back(int16_t(c));
    return SaveFlow<SavedIndicatorList>(path, !codes.empty(), dialog, ReadIndicatorListFile,
                                        WriteIndicatorListFile,
                                        [&](SavedIndicatorList& e) { e.codes = items; });
}

SaveOutcome SaveRegionSelection(const std::string& path, int setCode,
                                const std::vector<int32_t>& keys, const SaveDialog& dialog) {
    const size_t kept = std::min(keys.size(), size_t(SavedItemLimit));
    std::vector<int32_t> items(keys.begin(), keys.begin() + static_cast<ptrdiff_t>(kept));
    return SaveFlow<SavedRegionList>(path, !keys.empty(), dialog, ReadRegionListFile,
                                     WriteRegionListFile, [&](SavedRegionList& e) {
                                         e.setCode = int16_t(setCode);
                                         e.keys = items;
                                     });
}

} // namespace zor
