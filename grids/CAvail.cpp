#include "grids/CAvail.h"

#include "charts/ViewRegistry.h"
#include "core/DataStore.h"
#include "core/JsonWriter.h"
#include "core/Numeric.h"
#include "core/Selection.h"
#include "grids/IndicatorLists.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace zor::grids {

using charts::MenuCommand;
using charts::MenuItem;
using draw::DeviceContext;
using draw::Rect;

namespace {

constexpr int FirstColumnWidth = 100; // column 0 before fitting
constexpr int PeriodColumnWidth = 100;
constexpr int BarWidth = 80; // screen pixels, scaled on paper
constexpr int BarHeight = 20;

} // namespace

std::string AvailabilityText(int present, int rows) {
    const double share = rows > 0 ? present * 100.0 / rows : 0.0;
    char text[32];
    std::snprintf(text, sizeof text, "%.4g%%", share);
    return text;
}

double AvailabilityFraction(const std::string& text) {
    const double p = std::strtod(text.c_str(), nullptr);
    return std::isfinite(p) ? std::clamp(p / 100.0, 0.0, 1.0) : 0.0;
}

AvailBar LayoutAvailBar(const Rect& cell, double fraction, float scale, bool printing) {
    const int width = ScaleLength(BarWidth, scale), height = ScaleLength(BarHeight, scale);
    const int margin = (cell.Width() - width) / 2;
    // The cell's height is negative on paper (y up).
    const int vertical = printing ? (cell.Height() + height) / 2 : (cell.Height() - height) / 2;
    AvailBar b;
    b.bar = {cell.left + margin, cell.top + vertical, cell.right - margin, cell.bottom - vertical};
    b.filledRight = b.bar.left + TruncToInt(static_cast<double>(b.bar.Width()) * fraction);
    return b;
}

// --- The view ----------------------------------------------------------------------------------

CAvail::CAvail(const ViewContext& context)
    : CGridView(context), regions_(context.selection.Regions()),
      periods_(context.store.PeriodList()),
      groupFlags_(GroupAvailability(context.store, context.selection.SetCode())),
      zone_(std::max(0, context.store.FindRegionSet(context.selection.SetCode()))) {
    LoadTable(context.progress);
}

const std::vector<MenuItem>& CAvail::FrameMenu() {
    static const std::vector<MenuItem> menu = {MenuCommand(CmdPrint), MenuCommand(CmdSpecial),
                                               MenuCommand(CmdQuit)};
    return menu;
}

void CAvail::LoadTable(LoadProgress* progress) {
    const auto& sets = store_.RegionSets();
    const int setId = static_cast<size_t>(zone_) < sets.size() ? sets[static_cast<size_t>(zone_)].id
                                                               : TopLevelSetId;
    table_ = std::make_unique<DataTable>(store_, setId, GroupIndicatorList(store_, group_),
                                         regions_, periods_, RowsAll, false);
    loadResult_ = table_->Load(progress);
}

void CAvail::OnCreate() {
    CGridView::OnCreate();
    AddColumn(store_.LoadTextOr(TextIndicatorsPopup, "Indicators"), FirstColumnWidth,
              CellAlign::Left, FitToContent, true);
    for (const ListItem& p : periods_)
        AddColumn(p.name, PeriodColumnWidth, CellAlign::Right, PeriodColumnWidth);

    std::vector<std::pair<int, std::string>> groups;
    int checked = -1;
    for (size_t g = 0; g < groupFlags_.size(); ++g) {
        if (!groupFlags_[g]) continue;
        if (static_cast<int>(g) == group_) checked = static_cast<int>(groups.size());
        groups.emplace_back(CmdFirstGroup + static_cast<int>(g), Decode(store_.Groups()[g].name));
    }
    groupPopup_ = AddCommandMenu(Text(TextGroupPopup), groups, checked, 0);
    // The zones go before the groups.
    const auto& sets = store_.RegionSets();
    if (!sets.empty()) {
        std::vector<std::pair<int, std::string>> zones;
        for (size_t z = 0; z < sets.size(); ++z)
            zones.emplace_back(CmdFirstZone + static_cast<int>(z), Decode(sets[z].name));
        zonePopup_ = AddCommandMenu(Text(TextZonesPopup), zones, zone_, 0);
    }
}

void CAvail::OnInitialUpdate() {
    CGridView::OnInitialUpdate();
    Rebuild();
}

void CAvail::Rebuild() {
    ClearRows();
    const auto& indicators = table_->Indicators();
    for (const ListItem& i : indicators) AddRow(IndicatorLabel(i));
    const int rows = table_->RowCount();
    present_.assign(indicators.size() * periods_.size(), 0);
    for (size_t i = 0; i < indicators.size(); ++i)
        for (size_t p = 0; p < periods_.size(); ++p) {
            const float* values = table_->RowValues(static_cast<int>(p), static_cast<int>(i));
            const int c =
                values ? static_cast<int>(std::count_if(values, values + rows,
                                                        [](float v) { return !IsMissing(v); }))
                       : 0;
            present_[i * periods_.size() + p] = c;
            SetCell(static_cast<int>(p) + 1, static_cast<int>(i), AvailabilityText(c, rows));
        }
    FitColumn(0);
    const auto& sets = store_.RegionSets();
    SetTitle(static_cast<size_t>(zone_) < sets.size() ? sets[static_cast<size_t>(zone_)].name
                                                      : std::string());
    Changed();
}

int CAvail::PresentCount(int row, int period) const {
    const size_t at = static_cast<size_t>(row) * periods_.size() + static_cast<size_t>(period);
    return row >= 0 && period >= 0 && at < present_.size() ? present_[at] : 0;
}

void CAvail::DrawCellText(DeviceContext& dc, const Rect& cell, const GridColumn& column,
                          const std::string& text, int row, int col, float scale,
                          bool printing) const {
    if (col == 0) {
        CGridView::DrawCellText(dc, cell, column, text, row, col, scale, printing);
        return;
    }
    const double fraction = AvailabilityFraction(text);
    const AvailBar b = LayoutAvailBar(cell, fraction, scale, printing);
    draw::StateSaver saver(dc);
    draw::FillRect(dc, b.bar, draw::Brush::Solid(draw::White));
    if (b.filledRight != b.bar.left)
        draw::FillRect(dc, {b.bar.left, b.bar.top, b.filledRight, b.bar.bottom},
                       draw::Brush::Solid(AvailFill));
    dc.SetPen(draw::Pen::Solid(0, draw::Black));
    dc.SetBrush(draw::Brush::Hollow());
    dc.Rectangle(b.bar);
    if (fraction == 0.0) return;
    char label[16];
    std::snprintf(label, sizeof label, "%2.0f%%", fraction * 100.0);
    // Centred in the bar: the text's bottom above the bar's bottom by half the room the bar
    // leaves around the text.
    const int down = printing ? -1 : 1;
    const int room = ScaleLength(BarHeight, scale) - dc.FontMetrics().height;
    dc.SetTextAlign(draw::ta::Center | draw::ta::Bottom);
    dc.SetBkMode(draw::BkMode::Transparent);
    dc.SetTextColor(draw::Black);
    dc.Text((b.bar.left + b.bar.right) / 2, b.bar.bottom - down * (room / 2), label);
}

std::string CAvail::CellTip(int row, int col) const {
    if (col < 1 || row < 0 || row >= RowCount()) return {};
    return std::to_string(PresentCount(row, col - 1)) + " of " +
           std::to_string(table_->RowCount()) + " regions have a value (" +
           CGridView::Cell(row, col) + ")";
}

std::string CAvail::Subject() const {
    const auto& groups = store_.Groups();
    return static_cast<size_t>(group_) < groups.size()
               ? Decode(groups[static_cast<size_t>(group_)].name)
               : std::string();
}

void CAvail::ChooseGroup(int group) {
    if (group == group_) return;
    if (groupPopup_ >= 0) {
        const auto& ids = Popups()[static_cast<size_t>(groupPopup_)].itemIds;
        const auto item = std::ranges::find(ids, CmdFirstGroup + group) - ids.begin();
        CheckPopupItem(groupPopup_, item < static_cast<std::ptrdiff_t>(ids.size())
                                        ? static_cast<int>(item)
                                        : -1);
    }
    group_ = group;
    LoadTable();
    Rebuild();
    if (Host()) Host()->Invalidate(true);
}

void CAvail::ChooseZone(int zone) {
    if (zone == zone_) return;
    CheckPopupItem(zonePopup_, zone);
    zone_ = zone;
    LoadTable();
    Rebuild();
    if (Host()) Host()->Invalidate(true);
}

bool CAvail::OnCommand(int id) {
    const int group = id - CmdFirstGroup;
    if (group >= 0 && static_cast<size_t>(group) < groupFlags_.size() &&
        groupFlags_[static_cast<size_t>(group)]) {
        ChooseGroup(group);
        return true;
    }
    const int zone = id - CmdFirstZone;
    if (zone >= 0 && static_cast<size_t>(zone) < store_.RegionSets().size()) {
        ChooseZone(zone);
        return true;
    }
    return CGridView::OnCommand(id);
}

std::string CAvail::ApplyRenderOption(const std::string& name, const std::string& value) {
    const auto number = charts::WholeNumber(value);
    if (name == "--group") {
        if (!number || *number < 0 || static_cast<size_t>(*number) >= store_.Groups().size())
            return "bad --group " + value + " (a position in the catalogue's group list)";
        ChooseGroup(*number);
        return {};
    }
    if (name == "--zone") {
        const int zone = number ? store_.FindRegionSet(*number) : -1;
        if (zone < 0) return "bad --zone " + value + " (the id of a region set)";
        ChooseZone(zone);
        return {};
    }
    return CGridView::ApplyRenderOption(name, value);
}

bool CAvail::WriteData(JsonWriter& j) {
    const auto& sets = store_.RegionSets();
    j.BeginObject();
    j.Key("group").Int(group_);
    j.Key("zone").Int(static_cast<size_t>(zone_) < sets.size() ? sets[static_cast<size_t>(zone_)].id
                                                               : table_->SetCode());
    j.Key("periods").BeginArray();
    for (const ListItem& p : periods_) j.Int(p.code);
    j.EndArray();
    j.Key("rows").BeginArray();
    const auto& indicators = table_->Indicators();
    for (size_t i = 0; i < indicators.size(); ++i) {
        j.BeginObject();
        j.Key("indicator").Int(indicators[i].code);
        j.Key("cells").BeginArray();
        for (size_t p = 0; p < periods_.size(); ++p)
            j.String(CGridView::Cell(static_cast<int>(i), static_cast<int>(p) + 1));
        j.EndArray();
        j.EndObject();
    }
    j.EndArray();
    j.EndObject();
    return true;
}

} // namespace zor::grids
