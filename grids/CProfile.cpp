#include "grids/CProfile.h"

#include "charts/ViewRegistry.h"
#include "core/DataStore.h"
#include "core/JsonWriter.h"
#include "core/MenuCaptions.h"
#include "core/Numeric.h"
#include "core/Selection.h"
#include "grids/HtmlText.h"
#include "grids/IndicatorLists.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace zor::grids {

using charts::MenuCommand;
using charts::MenuItem;
using draw::DeviceContext;
using draw::Rect;

namespace {

constexpr int FirstColumnWidth = 100; // column 0 before fitting
constexpr int PeriodColumnWidth = 120;
constexpr int TextFieldWidth = 20; // "%20s" of the text export
constexpr std::string_view SubIndent = "    ";

std::string Share(float belowShare) {
    char text[32];
    std::snprintf(text, sizeof text, "%2.0f%%", static_cast<double>(belowShare) * 100.0);
    return text;
}

// printf's "%-*s" and "%*s": blanks up to `width`, never cut.
std::string PadRight(std::string_view s, size_t width) {
    std::string out(s);
    if (out.size() < width) out.append(width - out.size(), ' ');
    return out;
}
std::string PadLeft(std::string_view s, size_t width) {
    return s.size() < width ? std::string(width - s.size(), ' ') + std::string(s) : std::string(s);
}

std::string ColourText(draw::Color c) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", draw::RedOf(c), draw::GreenOf(c),
                  draw::BlueOf(c));
    return text;
}

} // namespace

ProfileCell ProfileOf(std::span<const float> values, int regionRow) {
    ProfileCell cell;
    if (regionRow < 0 || static_cast<size_t>(regionRow) >= values.size()) return cell;
    const float v = values[static_cast<size_t>(regionRow)];
    if (IsMissing(v) || std::isnan(v)) return cell;
    std::vector<float> sorted(values.begin(), values.end());
    SortDescending(sorted);
    const auto q = static_cast<size_t>(std::ranges::find(sorted, v) - sorted.begin());
    const size_t n = sorted.size();
    cell.profileValue = v;
    cell.belowShare = static_cast<float>(n - (q + 1)) / static_cast<float>(n);
    return cell;
}

draw::Color ProfileColour(const ProfileCell& cell, float fraction) {
    // A cell without a value is black whatever share it would have.
    if (!cell.HasValue()) return ProfileNoValue;
    const float d = (1.0f - fraction) / 2.0f;
    const float e = (1.0f + fraction) / 2.0f;
    const float b = cell.belowShare;
    if (d <= b && b <= e) return ProfileGreen;
    if ((d / 2.0f <= b && b <= d) || (e <= b && b <= e + d / 2.0f)) return ProfileYellow;
    return ProfileRed;
}

std::string ProfileText(const ProfileCell& cell) {
    if (!cell.HasValue()) return FormatValue(MissingValue);
    return FormatValue(cell.profileValue) + " - " + Share(cell.belowShare);
}

// --- The view ----------------------------------------------------------------------------------

CProfile::CProfile(const ViewContext& context)
    : CGridView(context), setCode_(context.selection.SetCode()),
      selectionIndicators_(context.selection.Indicators()), regions_(context.selection.Regions()),
      periods_(context.selection.Periods()),
      groupFlags_(GroupAvailability(context.store, context.selection.SetCode())),
      decimal_(context.store.DecimalSymbol()) {
    // The current selection's indicators, else the first group with data, else no rows.
    group_ = 0;
    if (selectionIndicators_.empty()) {
        const auto first = std::ranges::find(groupFlags_, true);
        group_ =
            first == groupFlags_.end() ? -1 : static_cast<int>(first - groupFlags_.begin()) + 1;
    }
    LoadGroup(group_, context.progress);
}

const std::vector<MenuItem>& CProfile::FrameMenu() {
    static const std::vector<MenuItem> menu = [] {
        std::vector<MenuItem> scale;
        for (int id = CmdFirstScale; id <= CmdLastScale; ++id) scale.push_back(MenuCommand(id));
        return std::vector<MenuItem>{charts::MenuPopup("Scale", std::move(scale)),
                                     MenuCommand(CmdCopy), MenuCommand(CmdPrint),
                                     MenuCommand(CmdQuit)};
    }();
    return menu;
}

void CProfile::LoadGroup(int group, LoadProgress* progress) {
    std::vector<ListItem> indicators;
    if (group == 0)
        indicators = selectionIndicators_;
    else if (group > 0)
        indicators = GroupIndicatorList(store_, group - 1);
    table_ = std::make_unique<DataTable>(store_, setCode_, std::move(indicators), regions_,
                                         periods_, RowsAll, false);
    loadResult_ = table_->Load(progress);
}

void CProfile::OnCreate() {
    CGridView::OnCreate();
    AddColumn(store_.LoadTextOr(TextIndicatorsPopup, "Indicators"), FirstColumnWidth,
              CellAlign::Left, FitToContent);
    for (const ListItem& p : periods_)
        AddColumn(p.name, PeriodColumnWidth, CellAlign::Right, PeriodColumnWidth);

    std::vector<std::pair<int, std::string>> items;
    if (!selectionIndicators_.empty()) {
        items.emplace_back(CmdCurrentSelection,
                           store_.UiText(CmdCurrentSelection, CommandCaption(CmdCurrentSelection)));
        items.emplace_back(0, std::string());
    }
    for (size_t g = 0; g < groupFlags_.size(); ++g)
        if (groupFlags_[g])
            items.emplace_back(CmdFirstGroup + static_cast<int>(g),
                               Decode(store_.Groups()[g].name));
    int checked = -1;
    for (size_t k = 0; k < items.size(); ++k)
        if (items[k].first != 0 && items[k].first == CmdCurrentSelection + group_)
            checked = static_cast<int>(k);
    groupPopup_ = AddCommandMenu(Text(TextGroupPopup), items, checked, 0);
    AddRegionMenu(regions_, RegionIndex(), 2);
}

void CProfile::OnInitialUpdate() {
    CGridView::OnInitialUpdate();
    Rebuild();
}

void CProfile::Rebuild() {
    ClearRows();
    for (const ListItem& i : table_->Indicators()) {
        std::string label = IndicatorLabel(i);
        if (IsSubIndicator(i.code)) label.insert(0, SubIndent);
        AddRow(std::move(label));
    }
    FitColumn(0, -1);
    OnRegionChanged(RegionIndex());
}

void CProfile::OnRegionChanged(int) {
    SetTitle(RegionName());
    ComputeProfile();
    Changed();
}

int32_t CProfile::RegionKey() const {
    const auto index = static_cast<size_t>(RegionIndex());
    return index < regions_.size() ? regions_[index].code : 0;
}

std::string CProfile::RegionName() const {
    const auto index = static_cast<size_t>(RegionIndex());
    return index < regions_.size() ? regions_[index].name : std::string();
}

int CProfile::RegionRow() const {
    return static_cast<size_t>(RegionIndex()) < regions_.size() ? table_->RowIndexByKey(RegionKey())
                                                                : -1;
}

const ProfileCell& CProfile::Record(int row, int period) const {
    return cells_.at(static_cast<size_t>(row) * periods_.size() + static_cast<size_t>(period));
}

void CProfile::ComputeProfile() {
    const int region = RegionRow();
    const int rows = static_cast<int>(table_->Indicators().size());
    const int periods = static_cast<int>(periods_.size());
    cells_.assign(static_cast<size_t>(rows) * periods_.size(), {});
    for (int i = 0; i < rows; ++i)
        for (int p = 0; p < periods; ++p) {
            const float* values = table_->RowValues(p, i);
            const std::span<const float> all =
                values ? std::span<const float>(values, static_cast<size_t>(table_->RowCount()))
                       : std::span<const float>();
            ProfileCell& cell =
                cells_[static_cast<size_t>(i) * periods_.size() + static_cast<size_t>(p)];
            cell = ProfileOf(all, region);
            SetCell(p + 1, i, ProfileText(cell));
        }
}

void CProfile::DrawCellText(DeviceContext& dc, const Rect& cell, const GridColumn& column,
                            const std::string& text, int row, int col, float scale,
                            bool printing) const {
    const int period = col - 1;
    if (col == 0 || row < 0 || static_cast<size_t>(row) >= table_->Indicators().size() ||
        period < 0 || static_cast<size_t>(period) >= periods_.size()) {
        CGridView::DrawCellText(dc, cell, column, text, row, col, scale, printing);
        return;
    }
    // The value and share with its bottom on the cell's bottom edge, coloured by the band.
    DrawOneLine(dc, cell, column, text, scale, printing,
                ProfileColour(Record(row, period), fraction_), 0);
}

bool CProfile::OnCommand(int id) {
    if (id >= CmdFirstScale && id <= CmdLastScale) {
        const int step = id - CmdScaleBase;
        if (step != step_) {
            step_ = step;
            fraction_ = BoxFraction(step);
            Changed();
            if (Host()) Host()->Invalidate(true);
        }
        return true;
    }
    if (id == CmdCopy) {
        if (Host()) Host()->PutHtmlOnClipboard(Shown(CopyFragment()), Shown(TextLines()));
        return true;
    }
    const int group = id - CmdCurrentSelection;
    const bool offered = (group == 0 && !selectionIndicators_.empty()) ||
                         (group >= 1 && static_cast<size_t>(group) <= groupFlags_.size() &&
                          groupFlags_[static_cast<size_t>(group - 1)]);
    if (!offered) return CGridView::OnCommand(id);
    if (group == group_) return true;
    const auto& popup = Popups()[static_cast<size_t>(groupPopup_)];
    const auto item = std::ranges::find(popup.itemIds, id) - popup.itemIds.begin();
    CheckPopupItem(groupPopup_, static_cast<int>(item));
    group_ = group;
    LoadGroup(group_);
    Rebuild();
    if (Host()) Host()->Invalidate(true);
    return true;
}

charts::CommandState CProfile::QueryCommand(int id) const {
    if (id >= CmdFirstScale && id <= CmdLastScale) return {true, id - CmdScaleBase == step_};
    return CGridView::QueryCommand(id);
}

// --- Exports -----------------------------------------------------------------------------------

std::string CProfile::TextLines() const {
    size_t width = 0;
    for (int r = 0; r < RowCount(); ++r) width = std::max(width, CGridView::Cell(r, 0).size());
    std::string out = RegionName() + "\n";
    out += PadRight(" ", width);
    for (const ListItem& p : periods_) out += "\t" + PadLeft(p.name, TextFieldWidth);
    out += "\n";
    for (int r = 0; r < RowCount(); ++r) {
        out += PadRight(CGridView::Cell(r, 0), width);
        for (size_t p = 0; p < periods_.size(); ++p)
            out += "\t" + PadLeft(ProfileText(Record(r, static_cast<int>(p))), TextFieldWidth);
        out += "\n";
    }
    return out;
}

std::string CProfile::Html() const {
    std::string out;
    auto line = [&out](std::string_view text) {
        out += text;
        out += '\n';
    };
    line(Fill(HtmlHead, {std::to_string(WindowsCodePage(store_.Charset())),
                         EscapeHtml(store_.LoadTextOr(MenuRegionProfile, "Region profile"))}));
    line(Template(HtmlStyle));
    line(Template(HtmlBody));
    line(std::string(Template(HtmlRowCentre)) +
         Fill(HtmlSpanCell, {std::to_string(periods_.size() + 1), EscapeHtml(RegionName())}));
    std::string header(Template(HtmlRowCentre));
    header += Fill(HtmlCell, {EscapeHtml(store_.LoadTextOr(TextIndicatorsPopup, "Indicators"))});
    for (const ListItem& p : periods_) header += Fill(HtmlCell, {EscapeHtml(p.name)});
    header += Template(HtmlRowEnd);
    line(header);
    for (int r = 0; r < RowCount(); ++r) {
        std::string row(Template(HtmlRowRight));
        row += Fill(HtmlLeftCell, {EscapeHtml(CGridView::Cell(r, 0))});
        for (size_t p = 0; p < periods_.size(); ++p) {
            const ProfileCell& cell = Record(r, static_cast<int>(p));
            // A missing value is a blank cell of its own, as in the tables.
            row += Fill(HtmlCell,
                        {cell.HasValue() ? ProfileText(cell) : std::string(Template(HtmlBlank))});
        }
        row += Template(HtmlRowEnd);
        line(row);
    }
    line(Template(HtmlEnd));
    return WithCrLf(out);
}

std::string CProfile::CopyFragment() const {
    std::string out = "<b>" + EscapeHtml(RegionName()) + "</b><TABLE><TR><TD>" +
                      EscapeHtml(store_.LoadTextOr(TextIndicatorsPopup, "Indicators")) + "</TD>";
    for (const ListItem& p : periods_)
        out += "<TD COLSPAN=\"2\" ALIGN=\"CENTER\">" + EscapeHtml(p.name) + "</TD>";
    out += "</TR>";
    for (int r = 0; r < RowCount(); ++r) {
        out += "<TR><TD>" + EscapeHtml(CGridView::Cell(r, 0)) + "</TD>";
        for (size_t p = 0; p < periods_.size(); ++p) {
            const ProfileCell& cell = Record(r, static_cast<int>(p));
            out += "<TD>";
            if (cell.HasValue()) {
                std::string value = FormatValue(cell.profileValue);
                if (decimal_ != '.') std::ranges::replace(value, '.', decimal_);
                out += value + "</TD><TD> " + Share(cell.belowShare);
            } else {
                out += "&nbsp;</TD><TD>&nbsp;";
            }
            out += "</TD>";
        }
        out += "</TR>";
    }
    out += "</TABLE>";
    return out;
}

std::optional<std::string> CProfile::ExportText(charts::TextExport kind) {
    switch (kind) {
    case charts::TextExport::Html:
        return Html();
    case charts::TextExport::Text:
        return WithCrLf(TextLines());
    case charts::TextExport::ClipboardHtml:
        break;
    }
    return ClipboardHtmlFormat(Shown(CopyFragment()));
}

bool CProfile::WriteData(JsonWriter& j) {
    j.BeginObject();
    j.Key("region").BeginObject();
    j.Key("key").Int(RegionKey());
    j.Key("name").String(Shown(RegionName()));
    j.EndObject();
    j.Key("periods").BeginArray();
    for (const ListItem& p : periods_) j.Int(p.code);
    j.EndArray();
    j.Key("rows").BeginArray();
    const auto& indicators = table_->Indicators();
    for (size_t i = 0; i < indicators.size(); ++i) {
        j.BeginObject();
        j.Key("indicator").Int(indicators[i].code);
        j.Key("cells").BeginArray();
        for (size_t p = 0; p < periods_.size(); ++p) {
            const ProfileCell& cell = Record(static_cast<int>(i), static_cast<int>(p));
            j.BeginObject();
            j.Key("profileValue");
            cell.HasValue() ? j.Float(cell.profileValue) : j.Null();
            j.Key("belowShare");
            cell.HasValue() ? j.Float(cell.belowShare) : j.Null();
            j.Key("text").String(ProfileText(cell));
            j.Key("colour").String(ColourText(ProfileColour(cell, fraction_)));
            j.EndObject();
        }
        j.EndArray();
        j.EndObject();
    }
    j.EndArray();
    j.EndObject();
    return true;
}

} // namespace zor::grids
