// Named indicator and region lists saved in the data directory: ind.sav and reg.sav, 50 slots
// each, no header. A slot whose name is empty or begins with "." is free.
//
//   ind.sav slot (134 bytes): name[32], count int16, 50 indicator codes int16
//   reg.sav slot (236 bytes): name[32], set code int16, count int16, 50 region keys int32
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zor {

inline constexpr int SavedSlotCount = 50;
inline constexpr int SavedNameLength = 32;
inline constexpr int SavedItemLimit = 50;
inline constexpr size_t IndicatorSlotSize = 134;
inline constexpr size_t RegionSlotSize = 236;

struct SavedIndicatorList {
    std::string name;
    std::vector<int16_t> codes; // at most 50
    int slot = -1;              // slot it was read from; -1 when not read from a file
};

struct SavedRegionList {
    std::string name;
    int16_t setCode = 0;       // region mode in force when saved: 10000, 19900 or a set id
    std::vector<int32_t> keys; // RegionKeys, at most 50
    int slot = -1;
};

// The used slots in slot order. A count beyond 50 is cut to 50, a negative one is 0; a short
// file yields the slots it holds whole.
std::vector<SavedIndicatorList> ParseIndicatorLists(std::string_view bytes);
std::vector<SavedRegionList> ParseRegionLists(std::string_view bytes);

// A whole file: the entries in list order from slot 0 (at most 50; names cut to 32 bytes,
// items to 50), then free slots ("." and zeros) up to 50. An entry whose name is empty or
// begins with "." reads back as a free slot. No entries gives a new, all-free file.
std::string WriteIndicatorLists(const std::vector<SavedIndicatorList>& entries);
std::string WriteRegionLists(const std::vector<SavedRegionList>& entries);

// File access: nullopt when the file cannot be opened. Writes replace the file atomically.
std::optional<std::vector<SavedIndicatorList>> ReadIndicatorListFile(const std::string& path);
std::optional<std::vector<SavedRegionList>> ReadRegionListFile(const std::string& path);
bool WriteIndicatorListFile(const std::string& path,
                            const std::vector<SavedIndicatorList>& entries);
bool WriteRegionListFile(const std::string& path, const std::vector<SavedRegionList>& entries);

// What the "Save selection" dialog edits: rows {position, title}, one selected row or none.
class SaveSelectionModel {
public:
    static constexpr int None = -1;
    // Result of OK: 10 + the index of the selected row, or None.
    static constexpr int SelectedBase = 10;

    explicit SaveSelectionModel(std::vector<std::string> titles);

    int Count() const { return int(rows_.size()); }
    // The position column: "1", "2", ...
    static std::string Position(int row);
    const std::string& Title(int row) const;
    // Index of the entry the row was listed from, -1 for a row inserted in the dialog.
    int Origin(int row) const;

    // Insert is disabled with 50 rows, and after an insert until the next delete.
    bool CanInsert() const;
    // Appends a row with an empty title and selects it; returns its index, -1 when disabled.
    int Insert();
    // Sets a title, cut to 32 bytes. Refused (false) for a title beginning with ".", which
    // would mark the slot free, and for a row that does not exist.
    bool Rename(int row, std::string_view title);
    // Removes the selected row (positions renumber from 1) and enables Insert; false when no
    // row is selected. Afterwards no row is selected.
    bool Delete();
    // Selects a row, or none with None or an index outside the list.
    void Select(int row);
    int Selected() const { return selected_; }
    // OK: SelectedBase + the selected row, or None.
    int Ok() const { return selected_ >= 0 ? SelectedBase + selected_ : None; }

private:
    struct Row {
        std::string title;
        int origin;
    };
    std::vector<Row> rows_;
    int selected_ = None;
    bool insertPending_ = false;
};

// Saving the checked items under a name chosen in the dialog.
enum class SaveOutcome { Saved, NothingChecked, Cancelled, FileError };
// Runs the dialog on the model; false = Cancel.
using SaveDialog = std::function<bool(SaveSelectionModel&)>;

// Creates the file with 50 free slots when it is missing; with no items stops there.
// Otherwise lists the used slots in the dialog; on OK the selected entry (if any) takes the
// items (the first 50), rows inserted without being selected keep count 0, and the whole file
// is rewritten in the dialog's order. A selected row left without a title is named by its
// position, so the items are not lost in a slot that would read as free.
SaveOutcome SaveIndicatorSelection(const std::string& path, const std::vector<int32_t>& codes,
                                   const SaveDialog& dialog);
SaveOutcome SaveRegionSelection(const std::string& path, int setCode,
                                const std::vector<int32_t>& keys, const SaveDialog& dialog);

} // namespace zor
