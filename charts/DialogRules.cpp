#include "charts/DialogRules.h"

namespace zor::charts {

ExportDialogState InitialExportState(bool pictureChoice) {
    ExportDialogState s;
    s.blackAndWhiteChecked = pictureChoice;
    s.pictureGroupEnabled = pictureChoice;
    return s;
}

ScaleDialogControls ScaleInitialControls(const ScaleDialogInput& in) {
    ScaleDialogControls c;
    const bool ranges = in.current && in.defaults;
    c.minMaxEnabled = c.okEnabled = c.defaultEnabled = ranges;
    c.logVisible = in.logOffered;
    if (in.logOffered && in.logChosen) {
        c.logChecked = true;
        c.minMaxEnabled = c.sectionEnabled = c.defaultEnabled = false;
    }
    return c;
}

ScaleDialogControls ScaleToggledControls(const ScaleDialogInput& in, bool checked) {
    ScaleDialogControls c = ScaleInitialControls(in);
    const bool ranges = in.current && in.defaults;
    c.logChecked = checked;
    c.minMaxEnabled = c.defaultEnabled = !checked && ranges;
    c.sectionEnabled = !checked;
    return c;
}

ScaleResult ScaleAccept(const ScaleDialogInput& in, std::optional<float> min,
                        std::optional<float> max, std::optional<float> section, bool boxChecked) {
    ScaleResult r;
    if (!in.current || !in.defaults) return r;
    r.logarithmic = boxChecked && in.logOffered;
    const ScaleValues& opening = *in.current;
    const ScaleValues& def = *in.defaults;
    if (r.logarithmic) {
        r.values = def;
        r.accepted = true;
        return r;
    }
    r.values = {min.value_or(opening.min), max.value_or(opening.max),
                section.value_or(opening.section)};
    const bool untouched =
        r.values.min == def.min && r.values.max == def.max && opening.section == def.section;
    r.accepted = (untouched || r.values.max > r.values.min) && r.values.section > 0;
    return r;
}

bool XYEditsEnabled(const XYScaleInput& in, bool boxChecked) {
    return !(in.logOffered && boxChecked);
}

XYScaleResult XYScaleAccept(const XYScaleInput& in, ScaleValues x, ScaleValues y, bool boxChecked) {
    XYScaleResult r;
    r.logarithmic = boxChecked && in.logOffered;
    if (r.logarithmic) x = in.xDefault, y = in.yDefault;
    auto good = [](const ScaleValues& v) {
        return v.max > v.min && v.max - v.min >= v.section && v.section > 0;
    };
    r.x = x, r.y = y;
    r.accepted = good(x) && good(y);
    return r;
}

RegionChecklist::RegionChecklist(int n, const int* flags, const std::vector<std::string>* names) {
    usable_ = n > 0 && flags && names && int(names->size()) >= n;
    if (!usable_) return;
    for (int i = 0; i < n; ++i) {
        names_.push_back((*names)[size_t(i)]);
        checked_.push_back(flags[i] != 0);
    }
}

void RegionChecklist::Toggle(int i) {
    if (i >= 0 && i < Count()) checked_[size_t(i)] = !checked_[size_t(i)];
}

void RegionChecklist::SetAll(bool checked) {
    checked_.assign(checked_.size(), checked);
}

void RegionChecklist::WriteBack(int* flags) const {
    if (!usable_) return;
    for (int i = 0; i < Count(); ++i) flags[i] = checked_[size_t(i)] ? 1 : 0;
}

void EditableValues::SetRows(std::vector<std::pair<std::string, std::string>> rows) {
    rows_ = std::move(rows);
    row_ = column_ = -1;
}

bool EditableValues::Begin() {
    if (rows_.empty() || row_ >= 0) return false;
    row_ = 0, column_ = 1;
    return true;
}

bool EditableValues::MoveTo(int row, const std::string& editText) {
    if (row_ < 0 || row < 0 || row >= RowCount() || row == row_) return false;
    Commit(editText);
    row_ = row;
    return true;
}

bool EditableValues::Move(int delta, const std::string& editText) {
    return MoveTo(row_ + delta, editText);
}

void EditableValues::Commit(const std::string& editText) {
    if (row_ >= 0 && row_ < RowCount()) rows_[size_t(row_)].second = editText;
}

std::string EditableValues::Reload() const {
    return row_ >= 0 && row_ < RowCount() ? rows_[size_t(row_)].second : std::string();
}

void EditableValues::Clear() {
    rows_.clear();
    row_ = column_ = -1;
}

} // namespace zor::charts
