#include "grids/CBoxplots.h"

#include "charts/ViewRegistry.h"
#include "core/DataStore.h"
#include "core/JsonWriter.h"
#include "core/Numeric.h"
#include "core/Selection.h"
#include "core/TextFormat.h"
#include "grids/IndicatorLists.h"

#include <cmath>
#include <cstdlib>

namespace zor::grids {

using charts::MenuCommand;
using charts::MenuItem;
using draw::DeviceContext;
using draw::Rect;

namespace {

constexpr int FirstColumnWidth = 100; // column 0 before fitting
constexpr int BarWidth = 120;         // screen pixels, scaled on paper
constexpr int BarHeight = 25;
constexpr int MarkLineUp = 10; // the mark line above the bar's bottom
constexpr int LabelGap = 3;
constexpr int MarkHalfWidth = 5; // the caret's half width and height
constexpr int BlockHalfWidth = 2;
constexpr int RegionValueGap = 2; // the region's value above the bar (by value)
constexpr int LabelWeight = 400;

void PutMissingOr(JsonWriter& j, const char* key, float v) {
    j.Key(key);
    charts::FloatOrNull(j, v);
}

} // namespace

int BoxBar::Scaled(int length) const {
    return ScaleLength(length, scale);
}

BoxBar LayoutBoxBar(const Rect& cell, float scale, bool printing) {
    BoxBar b;
    b.scale = scale;
    b.down = printing ? -1 : 1;
    const int margin = (cell.Width() - b.Scaled(BarWidth)) / 2;
    // The cell's height is negative on paper (y up), where the margin moves the edges down and
    // up as it moves them inwards on the screen.
    const int height = cell.Height();
    const int vertical =
        printing ? (height + b.Scaled(BarHeight)) / 2 : (height - b.Scaled(BarHeight)) / 2;
    b.bar = {cell.left + margin, cell.top + vertical, cell.right - margin, cell.bottom - vertical};
    b.markY = b.bar.bottom - b.down * b.Scaled(MarkLineUp);
    return b;
}

// --- CBoxplotView ------------------------------------------------------------------------------

CBoxplotView::CBoxplotView(const ViewContext& context, int periodColumnWidth)
    : CGridView(context),
      table_(context.store, context.selection.SetCode(), context.selection.Indicators(),
             context.selection.Regions(), context.selection.Periods(), RowsAll, false),
      periodColumnWidth_(periodColumnWidth) {
    loadResult_ = table_.Load(context.progress);
}

void CBoxplotView::OnCreate() {
    CGridView::OnCreate();
    AddColumn(store_.LoadTextOr(TextIndicatorsPopup, "Indicators"), FirstColumnWidth,
              CellAlign::Left, FitToContent, true);
    for (const ListItem& p : table_.Periods())
        AddColumn(p.name, periodColumnWidth_, CellAlign::Center, periodColumnWidth_);
    AddRegionMenu(table_.Regions(), RegionIndex(), 0);

    const int charset = FontCharset();
    labelFont_ = MakeFont(BodyFontFace(), BodyFontHeight(), LabelWeight, charset);
    pictureLabelFont_ = MakeFont("Arial", ScreenTextHeight(labelFont_), LabelWeight, charset);
    printLabelFont_ =
        MakeFont("Arial", ScaleLength(BodyTextHeight(), PrintScale()), LabelWeight, charset);
}

void CBoxplotView::OnInitialUpdate() {
    CGridView::OnInitialUpdate();
    ClearRows();
    for (const ListItem& i : table_.Indicators()) AddRow(IndicatorLabel(i));
    FitColumn(0);
    OnRegionChanged(RegionIndex());
}

void CBoxplotView::OnRegionChanged(int) {
    const auto& regions = table_.Regions();
    const auto index = static_cast<size_t>(RegionIndex());
    SetTitle(index < regions.size() ? regions[index].name : std::string());
    ComputeStatistics();
    Changed();
}

int CBoxplotView::RegionRow() const {
    const auto& regions = table_.Regions();
    const auto index = static_cast<size_t>(RegionIndex());
    return index < regions.size() ? table_.RowIndexByKey(regions[index].code) : -1;
}

size_t CBoxplotView::RecordIndex(int indicator, int period) const {
    return static_cast<size_t>(indicator) * table_.Periods().size() + static_cast<size_t>(period);
}

std::span<const float> CBoxplotView::Values(int indicator, int period) const {
    const float* values = table_.RowValues(period, indicator);
    if (!values) return {};
    return {values, static_cast<size_t>(table_.RowCount())};
}

const draw::Font& CBoxplotView::LabelFont(const DeviceContext& dc, bool printing) const {
    if (dc.IsMetafile()) return pictureLabelFont_;
    return printing ? printLabelFont_ : labelFont_;
}

std::string CBoxplotView::Labelled(int labelId, float value) const {
    return Text(labelId) + ":" + FormatValue(value);
}

std::string CBoxplotView::TotalText(float value) const {
    const int total = table_.TotalRow();
    const std::string name =
        total >= 0 ? Shown(table_.RowLabels()[static_cast<size_t>(total)]) : std::string();
    return name + "=" + FormatValue(value);
}

void CBoxplotView::PutText(DeviceContext& dc, int x, int y, unsigned align, const std::string& text,
                           draw::Color color) {
    dc.SetTextAlign(align);
    dc.SetTextColor(color);
    dc.Text(x, y, text);
}

void CBoxplotView::DrawTotalMark(DeviceContext& dc, const BoxBar& b, int x) {
    const int half = b.Scaled(BlockHalfWidth);
    draw::FillRect(dc, {x - half, b.markY, x + half, b.markY + b.down * b.Scaled(MarkHalfWidth)},
                   draw::Brush::Solid(draw::Black));
}

void CBoxplotView::DrawRegionMark(DeviceContext& dc, const BoxBar& b, int x) {
    draw::StateSaver saver(dc);
    const int half = b.Scaled(MarkHalfWidth);
    const int low = b.markY + b.down * half;
    dc.SetPen(draw::Pen::Solid(2, MarkColor));
    const draw::Point caret[] = {{x - half, low}, {x, b.markY}, {x + half, low}};
    dc.Polyline(caret);
}

void CBoxplotView::DrawCellWrapped(DeviceContext& dc, const Rect& cell, const GridColumn& column,
                                   const std::string& text, int, int, float scale, bool) const {
    DrawWrapped(dc, cell, column, text, scale, NameColor);
}

void CBoxplotView::DrawCellText(DeviceContext& dc, const Rect& cell, const GridColumn& column,
                                const std::string& text, int row, int col, float scale,
                                bool printing) const {
    if (col == 0) {
        CGridView::DrawCellText(dc, cell, column, text, row, col, scale, printing);
        return;
    }
    const int period = col - 1;
    if (row < 0 || row >= static_cast<int>(table_.Indicators().size()) || period < 0 ||
        period >= static_cast<int>(table_.Periods().size()) || RecordEmpty(row, period))
        return;
    const BoxBar b = LayoutBoxBar(cell, scale, printing);
    draw::StateSaver saver(dc);
    dc.SetPen(draw::Pen::Solid(0, draw::Black));
    dc.SetBrush(draw::Brush::Solid(draw::White));
    dc.Rectangle(b.bar);
    dc.SetFont(LabelFont(dc, printing));
    dc.SetBkMode(draw::BkMode::Transparent);
    DrawRecord(dc, b, row, period);
}

std::vector<std::string> CBoxplotView::FooterTexts() const {
    return {Text(TextRegionValue), Text(TextAverageValue)};
}

void CBoxplotView::DrawFooter(DeviceContext& dc, const Rect& rect, float scale,
                              bool printing) const {
    draw::StateSaver saver(dc);
    dc.SetFont(LabelFont(dc, printing));
    dc.SetBkMode(draw::BkMode::Transparent);
    const int down = printing ? -1 : 1;
    auto S = [scale](int length) { return ScaleLength(length, scale); };
    auto y = [&](int length) { return rect.top + down * S(length); };
    const int left = rect.left;
    DrawFirstLegendLine(dc, left, rect.top, down, scale);

    // A caret and "region value", a block and "average value".
    const int caret = left + S(10);
    {
        draw::StateSaver pen(dc);
        dc.SetPen(draw::Pen::Solid(2, MarkColor));
        const draw::Point sample[] = {
            {caret - S(MarkHalfWidth), y(29)}, {caret, y(24)}, {caret + S(MarkHalfWidth), y(29)}};
        dc.Polyline(sample);
    }
    const std::string region = Text(TextRegionValue), average = Text(TextAverageValue);
    const int regionX = caret + S(MarkHalfWidth) + S(9);
    PutText(dc, regionX, y(32), draw::ta::Left | draw::ta::Baseline, region, draw::Black);
    const int block = regionX + dc.TextExtent(region).cx + S(10);
    draw::FillRect(dc, {block, y(26), block + S(4), y(31)}, draw::Brush::Solid(draw::Black));
    PutText(dc, block + S(4) + S(7), y(32), draw::ta::Left | draw::ta::Baseline, average,
            draw::Black);
}

bool CBoxplotView::WriteData(JsonWriter& j) {
    j.BeginObject();
    j.Key("fraction");
    if (const auto f = Fraction())
        j.Float(*f);
    else
        j.Null();
    j.Key("records").BeginArray();
    const auto& indicators = table_.Indicators();
    const auto& periods = table_.Periods();
    for (size_t i = 0; i < indicators.size(); ++i)
        for (size_t p = 0; p < periods.size(); ++p) {
            j.BeginObject();
            j.Key("indicator").Int(indicators[i].code);
            j.Key("period").Int(periods[p].code);
            WriteRecord(j, static_cast<int>(i), static_cast<int>(p));
            j.EndObject();
        }
    j.EndArray();
    std::string footer;
    for (const std::string& line : FooterTexts()) {
        if (!footer.empty()) footer += '\n';
        footer += line;
    }
    j.Key("footer").String(footer);
    j.EndObject();
    return true;
}

// --- CBoxplotR ---------------------------------------------------------------------------------

CBoxplotR::CBoxplotR(const ViewContext& context) : CBoxplotView(context, 340) {}

const std::vector<MenuItem>& CBoxplotR::FrameMenu() {
    static const std::vector<MenuItem> menu = [] {
        std::vector<MenuItem> scale;
        for (int id = CmdFirstScale; id <= CmdLastScale; ++id) scale.push_back(MenuCommand(id));
        return std::vector<MenuItem>{charts::MenuPopup("Scale", std::move(scale)),
                                     MenuCommand(CmdPrint), MenuCommand(CmdSpecial),
                                     MenuCommand(CmdQuit)};
    }();
    return menu;
}

const BoxStats& CBoxplotR::Record(int indicator, int period) const {
    return records_.at(RecordIndex(indicator, period));
}

void CBoxplotR::ComputeStatistics() {
    ComputeRecords(records_, [this](std::span<const float> values, int region, int total) {
        return ComputeBoxStats(values, region, total, fraction_);
    });
}

bool CBoxplotR::RecordEmpty(int indicator, int period) const {
    return RecordIndex(indicator, period) >= records_.size() || Record(indicator, period).Empty();
}

int CBoxplotR::ValueX(const BoxBar& b, const BoxStats& s, float v) {
    const Rect& bar = b.bar;
    if (!(s.maxValue > s.minValue)) return (bar.left + bar.right) / 2;
    const double share = (static_cast<double>(v) - static_cast<double>(s.minValue)) /
                         (static_cast<double>(s.maxValue) - static_cast<double>(s.minValue));
    return bar.left + TruncToInt(static_cast<double>(bar.Width()) * share);
}

void CBoxplotR::DrawRecord(DeviceContext& dc, const BoxBar& b, int indicator, int period) const {
    const BoxStats& s = Record(indicator, period);
    const Rect& bar = b.bar;
    const int gap = b.Scaled(LabelGap), middle = (bar.left + bar.right) / 2;
    using namespace draw::ta;
    PutText(dc, bar.left - gap, bar.top, Right | Top, Labelled(TextMinLabel, s.minValue),
            draw::Black);
    PutText(dc, bar.left - gap, bar.bottom, Right | Baseline, Labelled(TextBoxMin, s.boxLow),
            draw::Black);
    PutText(dc, bar.right + gap, bar.top, Left | Top, Labelled(TextMaxLabel, s.maxValue),
            draw::Black);
    PutText(dc, bar.right + gap, bar.bottom, Left | Baseline, Labelled(TextBoxMax, s.boxHigh),
            draw::Black);
    if (!IsMissing(s.regionValue))
        PutText(dc, middle, bar.top - b.down * b.Scaled(RegionValueGap), Center | Baseline,
                FormatValue(s.regionValue), MarkColor);
    if (!IsMissing(s.totalValue))
        PutText(dc, middle, bar.bottom, Center | Top, TotalText(s.totalValue), draw::Black);

    draw::FillRect(dc, {ValueX(b, s, s.boxLow), bar.top, ValueX(b, s, s.boxHigh), bar.bottom},
                   draw::Brush::Solid(BoxColor));
    {
        draw::StateSaver outline(dc);
        dc.SetPen(draw::Pen::Solid(0, draw::Black));
        dc.SetBrush(draw::Brush::Hollow());
        dc.Rectangle(bar);
    }
    if (!IsMissing(s.totalValue)) DrawTotalMark(dc, b, ValueX(b, s, s.totalValue));
    if (!IsMissing(s.regionValue)) DrawRegionMark(dc, b, ValueX(b, s, s.regionValue));
}

std::string CBoxplotR::MiddleValuesText() const {
    return FormatNumbers(Text(TextMiddleValues), {static_cast<double>(fraction_) * 100.0});
}

std::vector<std::string> CBoxplotR::FooterTexts() const {
    std::vector<std::string> texts{MiddleValuesText(), Text(TextBoxLegend)};
    for (std::string& t : CBoxplotView::FooterTexts()) texts.push_back(std::move(t));
    return texts;
}

void CBoxplotR::DrawFirstLegendLine(DeviceContext& dc, int left, int top, int down,
                                    float scale) const {
    auto S = [scale](int length) { return ScaleLength(length, scale); };
    const std::string text = MiddleValuesText();
    const int x = left + S(5), baseline = top + down * S(15);
    PutText(dc, x, baseline, draw::ta::Left | draw::ta::Baseline, text, draw::Black);
    const int end = x + dc.TextExtent(text).cx;
    draw::FillRect(dc, {end + S(5), top + down * S(4), end + S(25), top + down * S(20)},
                   draw::Brush::Solid(BoxColor));
    PutText(dc, end + S(27), baseline, draw::ta::Left | draw::ta::Baseline, Text(TextBoxLegend),
            draw::Black);
}

void CBoxplotR::WriteRecord(JsonWriter& j, int indicator, int period) const {
    const BoxStats& s = Record(indicator, period);
    j.Key("valueCount").Int(s.valueCount);
    PutMissingOr(j, "maxValue", s.maxValue);
    PutMissingOr(j, "minValue", s.minValue);
    j.Key("boxTopIndex").Int(s.boxTopIndex);
    j.Key("boxBottomIndex").Int(s.boxBottomIndex);
    PutMissingOr(j, "boxHigh", s.boxHigh);
    PutMissingOr(j, "boxLow", s.boxLow);
    PutMissingOr(j, "regionValue", s.regionValue);
    PutMissingOr(j, "totalValue", s.totalValue);
}

std::string CBoxplotR::CellTip(int row, int col) const {
    if (col < 1 || row < 0 || row >= static_cast<int>(table_.Indicators().size()) ||
        col > static_cast<int>(table_.Periods().size()) || RecordEmpty(row, col - 1))
        return {};
    const BoxStats& s = Record(row, col - 1);
    std::string tip = Labelled(TextMaxLabel, s.maxValue) + "\n" + Labelled(TextBoxMax, s.boxHigh) +
                      "\n" + Labelled(TextBoxMin, s.boxLow) + "\n" +
                      Labelled(TextMinLabel, s.minValue);
    if (!IsMissing(s.regionValue)) tip += "\n" + Shown(Title()) + ": " + FormatValue(s.regionValue);
    if (!IsMissing(s.totalValue)) tip += "\n" + TotalText(s.totalValue);
    return tip;
}

void CBoxplotR::SetFraction(int step, float fraction) {
    step_ = step;
    fraction_ = fraction;
    ComputeStatistics();
    Changed();
}

bool CBoxplotR::OnCommand(int id) {
    if (id < CmdFirstScale || id > CmdLastScale) return CBoxplotView::OnCommand(id);
    const int step = id - CmdScaleBase;
    if (step != step_) {
        SetFraction(step, BoxFraction(step));
        if (Host()) Host()->Invalidate(true);
    }
    return true;
}

charts::CommandState CBoxplotR::QueryCommand(int id) const {
    if (id < CmdFirstScale || id > CmdLastScale) return CBoxplotView::QueryCommand(id);
    return {true, id - CmdScaleBase == step_};
}

std::string CBoxplotR::ApplyRenderOption(const std::string& name, const std::string& value) {
    if (name != "--fraction") return CBoxplotView::ApplyRenderOption(name, value);
    char* end = nullptr;
    const float f = std::strtof(value.c_str(), &end);
    if (value.empty() || *end != '\0' || !std::isfinite(f) || f <= 0.0f || f > 1.0f)
        return "bad --fraction " + value + " (a number above 0 and at most 1)";
    int step = 0;
    for (int s = FirstScaleStep; s <= LastScaleStep; ++s)
        if (BoxFraction(s) == f) step = s;
    SetFraction(step, f);
    return {};
}

// --- CBoxplotV ---------------------------------------------------------------------------------

CBoxplotV::CBoxplotV(const ViewContext& context) : CBoxplotView(context, 300) {}

const std::vector<MenuItem>& CBoxplotV::FrameMenu() {
    static const std::vector<MenuItem> menu = {MenuCommand(CmdPrint), MenuCommand(CmdSpecial),
                                               MenuCommand(CmdQuit)};
    return menu;
}

const RankStats& CBoxplotV::Record(int indicator, int period) const {
    return records_.at(RecordIndex(indicator, period));
}

void CBoxplotV::ComputeStatistics() {
    ComputeRecords(records_, ComputeRankStats);
}

bool CBoxplotV::RecordEmpty(int indicator, int period) const {
    return RecordIndex(indicator, period) >= records_.size() || Record(indicator, period).Empty();
}

int CBoxplotV::RankX(const BoxBar& b, int rank, int k) {
    if (k <= 0) return b.bar.left;
    return b.bar.left + b.bar.Width() * rank / k;
}

void CBoxplotV::DrawRecord(DeviceContext& dc, const BoxBar& b, int indicator, int period) const {
    const RankStats& s = Record(indicator, period);
    const Rect& bar = b.bar;
    const int gap = b.Scaled(LabelGap), middle = (bar.left + bar.right) / 2;
    using namespace draw::ta;
    // The percent scale along the top.
    PutText(dc, bar.left - gap, bar.top, Right | Top, "0", NameColor);
    for (int fifth = 1; fifth <= 4; ++fifth)
        PutText(dc, bar.left + bar.Width() * fifth / 5, bar.top, Center | Top,
                std::to_string(20 * fifth), NameColor);
    PutText(dc, bar.right + b.Scaled(2), bar.top, Left | Top, "100", NameColor);
    PutText(dc, bar.left - gap, bar.bottom, Right | Baseline, Labelled(TextMinLabel, s.minValue),
            draw::Black);
    PutText(dc, bar.right + gap, bar.bottom, Left | Baseline, Labelled(TextMaxLabel, s.maxValue),
            draw::Black);
    if (!IsMissing(s.regionValue))
        PutText(dc, middle, bar.top, Center | Bottom, FormatValue(s.regionValue), MarkColor);
    if (!IsMissing(s.totalValue)) {
        PutText(dc, middle, bar.bottom, Center | Top, TotalText(s.totalValue), draw::Black);
        DrawTotalMark(dc, b, RankX(b, s.totalRank, s.valueCount));
    }
    if (!IsMissing(s.regionValue)) DrawRegionMark(dc, b, RankX(b, s.regionRank, s.valueCount));
}

void CBoxplotV::WriteRecord(JsonWriter& j, int indicator, int period) const {
    const RankStats& s = Record(indicator, period);
    j.Key("valueCount").Int(s.valueCount);
    PutMissingOr(j, "maxValue", s.maxValue);
    PutMissingOr(j, "minValue", s.minValue);
    PutMissingOr(j, "regionValue", s.regionValue);
    PutMissingOr(j, "totalValue", s.totalValue);
    j.Key("regionRank").Int(s.regionRank);
    j.Key("totalRank").Int(s.totalRank);
}

std::string CBoxplotV::CellTip(int row, int col) const {
    if (col < 1 || row < 0 || row >= static_cast<int>(table_.Indicators().size()) ||
        col > static_cast<int>(table_.Periods().size()) || RecordEmpty(row, col - 1))
        return {};
    const RankStats& s = Record(row, col - 1);
    const std::string of = " of " + std::to_string(s.valueCount);
    std::string tip =
        Labelled(TextMaxLabel, s.maxValue) + "\n" + Labelled(TextMinLabel, s.minValue);
    if (!IsMissing(s.regionValue))
        tip += "\n" + Shown(Title()) + ": " + FormatValue(s.regionValue) + ", rank " +
               std::to_string(s.regionRank) + of;
    if (!IsMissing(s.totalValue))
        tip += "\n" + TotalText(s.totalValue) + ", rank " + std::to_string(s.totalRank) + of;
    return tip;
}

} // namespace zor::grids
