// The rules of the dialogs the charts share, apart from their widgets: which controls the
// Export and "Change scale" dialogs enable, when the scale dialogs accept what was typed, the
// check states of the "Available regions" list and the editing position of the editable value
// list.
#pragma once

#include "charts/ViewHost.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zor::charts {

// --- Export dialog (20006)
struct ExportDialogState {
    bool clipboardChecked = true; // "Clipboard" is always checked at first
    bool blackAndWhiteChecked = true;
    bool pictureGroupEnabled = true; // "Picture", "Black && White" and "Colored"
};
// With the view's picture choice: 1 offers "Black && White" (checked), 0 shows "Colored"
// checked and disabled.
ExportDialogState InitialExportState(bool pictureChoice);

// --- Change scale, one axis (20008)
struct ScaleValues {
    float min = 0, max = 0, section = 0;
    bool operator==(const ScaleValues&) const = default;
};
struct ScaleDialogInput {
    std::optional<ScaleValues> current;  // range and section to edit; no range: none
    std::optional<ScaleValues> defaults; // default range and section
    bool logOffered = false;
    bool logChosen = false;
};
struct ScaleDialogControls {
    bool minMaxEnabled = true; // the Min and Max labels and edits
    bool sectionEnabled = true;
    bool defaultEnabled = true;
    bool okEnabled = true;
    bool logVisible = true;
    bool logChecked = false;
};
ScaleDialogControls ScaleInitialControls(const ScaleDialogInput& in);
// After the check box was toggled to `checked`.
ScaleDialogControls ScaleToggledControls(const ScaleDialogInput& in, bool checked);

struct ScaleResult {
    bool accepted = false;
    ScaleValues values;
    bool logarithmic = false;
};
// OK with what the edits hold (none where the text is not a number: the value shown at opening
// is kept for the checks). Logarithmic resets to the defaults. Otherwise the range must be
// untouched defaults or have max > min, and the section must be positive (no ticks could be
// drawn for another).
ScaleResult ScaleAccept(const ScaleDialogInput& in, std::optional<float> min,
                        std::optional<float> max, std::optional<float> section, bool boxChecked);

// --- Change scale, two axes (20010)
struct XYScaleInput {
    ScaleValues x, y, xDefault, yDefault;
    bool logOffered = false;
    bool logChosen = false;
};
struct XYScaleResult {
    bool accepted = false;
    ScaleValues x, y;
    bool logarithmic = false;
};
// Edits and Default are enabled exactly when the box is not checked; the box only when offered.
bool XYEditsEnabled(const XYScaleInput& in, bool boxChecked);
// Accepted when for both axes max > min, max - min >= section and the section is positive;
// logarithmic resets both axes to their defaults first.
XYScaleResult XYScaleAccept(const XYScaleInput& in, ScaleValues x, ScaleValues y, bool boxChecked);

// The models a view hands its host to open these dialogs (ViewHost::RunDialog).
struct ScaleDialogModel : DialogModel {
    ScaleDialogInput input;
    ScaleResult result; // once accepted
};
struct XYScaleDialogModel : DialogModel {
    XYScaleInput input;
    XYScaleResult result; // once accepted
};

// --- Available regions (20007)
class RegionChecklist {
public:
    // n flags (1 = shown) and n names; nothing can be chosen when they are missing or n is 0.
    RegionChecklist(int n, const int* flags, const std::vector<std::string>* names);
    bool Usable() const { return usable_; } // OK, "Select all", "Unselect all" enabled
    int Count() const { return int(checked_.size()); }
    const std::string& Name(int i) const { return names_[size_t(i)]; }
    bool Checked(int i) const { return checked_[size_t(i)]; }
    void Toggle(int i);
    void SetAll(bool checked);
    // OK: flag i = 1 for every checked item, 0 for the others.
    void WriteBack(int* flags) const;

private:
    bool usable_ = false;
    std::vector<std::string> names_;
    std::vector<bool> checked_;
};

// The model of the "Available regions" dialog: one flag (1 = shown) and one UTF-8 name per
// region; OK writes the flags back.
struct RegionListModel : DialogModel {
    std::vector<int> flags;
    std::vector<std::string> names;
};

// --- Editable value list: two columns, the value cells edited in place one at a time.
class EditableValues {
public:
    void SetRows(std::vector<std::pair<std::string, std::string>> rows);
    int RowCount() const { return int(rows_.size()); }
    const std::string& Label(int row) const { return rows_[size_t(row)].first; }
    const std::string& Value(int row) const { return rows_[size_t(row)].second; }
    // (row, column) edited; (-1, -1) for none.
    int EditRow() const { return row_; }
    int EditColumn() const { return column_; }

    // Starts editing row 0's value (when there are rows and nothing is edited yet).
    bool Begin();
    // Up (-1) or Down (+1): writes `editText` into the current cell and moves; false at the ends.
    bool Move(int delta, const std::string& editText);
    // A click on another row's value cell: the same as moving there.
    bool MoveTo(int row, const std::string& editText);
    void Commit(const std::string& editText);
    // The current cell's text, to put back into the edit box.
    std::string Reload() const;
    void Clear();

private:
    std::vector<std::pair<std::string, std::string>> rows_;
    int row_ = -1, column_ = -1;
};

} // namespace zor::charts
