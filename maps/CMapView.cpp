#include "maps/CMapView.h"

#include "charts/ViewRegistry.h"
#include "core/DataStore.h"
#include "core/FileUtil.h"
#include "core/JsonWriter.h"
#include "core/Numeric.h"
#include "core/Selection.h"
#include "core/Settings.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace zor::maps {

using draw::DeviceContext;
using draw::Rect;

namespace {

// Region keys of slide-frame pictures: the background, outlines, then draw-list positions.
constexpr uint16_t KeyBackground = 0;
constexpr uint16_t KeyOutline = 1;
constexpr int KeyFirstRegion = 2;
// Colours that carry the keys while the key picture is drawn (never a region key: those stay
// below 2^16).
constexpr draw::Color OutlineKeyColor = 0xFFFFFF;
// Slide frames larger than this are refused (a frame holds its pixels, the keys and, while they
// are made, a second picture).
constexpr int64_t MaxFramePixels = int64_t(1) << 26;

draw::Color KeyColor(size_t position) {
    return static_cast<draw::Color>(position + KeyFirstRegion);
}

std::string ColorText(draw::Color c) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", draw::RedOf(c), draw::GreenOf(c),
                  draw::BlueOf(c));
    return text;
}

// The value of a row in a picture; missing past its values.
float RowValue(const MapFrame& frame, int row) {
    return row >= 0 && static_cast<size_t>(row) < frame.values.size()
               ? frame.values[static_cast<size_t>(row)]
               : MissingValue;
}

// The classes' palette, where the device uses one: into metafiles, and on displays of 2 to 8
// bits per pixel.
void SelectPaletteFor(DeviceContext& dc, std::span<const draw::Color> colors) {
    const int bpp = dc.Device().bitsPerPixel;
    if (dc.IsMetafile() ||
        (dc.GetTechnology() == draw::Technology::Display && bpp >= 2 && bpp <= 8))
        dc.SelectPalette(colors);
}

// The map's scale factors: W / 640 and H / 480.
struct Scale {
    double sx, sy;
    explicit Scale(const MapHeader& h) : sx(h.width / 640.0), sy(h.height / 480.0) {}
};

} // namespace

MapHeader FallbackMapHeader() {
    MapHeader h;
    h.width = 640;
    h.height = 480;
    h.timeLabel = {20, 60};
    h.legend = {20, 120};
    h.totalLabel = {20, 440};
    return h;
}

MapLegendLayout LayoutMapLegend(const MapHeader& header, int classes) {
    const Scale s(header);
    const int gap = TruncToInt(7 * s.sy), rowH = TruncToInt(13 * s.sy), top = TruncToInt(11 * s.sy);
    const int n = classes, pitch = gap + rowH;
    const int lx = header.legend.x;
    int ly = header.legend.y;
    if (header.height < pitch * (n + 1) + ly + 5 * s.sy)
        ly = TruncToInt(header.height - pitch * (n + 1) - 10 * s.sy) - 5;
    MapLegendLayout l;
    l.box = {lx, ly, TruncToInt(lx + 145 * s.sx), TruncToInt(pitch * (n + 1) + ly + 5 * s.sy)};
    l.cornerWidth = TruncToInt(15 * s.sx);
    l.cornerHeight = TruncToInt(15 * s.sy);
    for (int r = 0; r < n; ++r) {
        const int y = ly + top + r * pitch;
        l.keys.push_back({TruncToInt(lx + 10 * s.sx), y, TruncToInt(lx + 50 * s.sx), y + rowH});
        l.labels.push_back(
            {lx + TruncToInt(55 * s.sx), TruncToInt(top + r * pitch + 0.8 * rowH) + ly});
    }
    l.minLine = {lx + TruncToInt(20 * s.sx), TruncToInt(top + n * pitch + 0.6 * rowH) + ly};
    return l;
}

// --- Construction -----------------------------------------------------------------------------

const std::vector<charts::MenuItem>& CMapView::FrameMenu() {
    using charts::MenuCommand;
    static const std::vector<charts::MenuItem> menu = {
        MenuCommand(CmdScale),
        charts::MenuPopup("Type of Maps", {MenuCommand(CmdParts), MenuCommand(CmdQuintiles)}),
        MenuCommand(CmdSlideView),
        MenuCommand(CmdPrint),
        MenuCommand(CmdSpecial),
        MenuCommand(CmdQuit)};
    return menu;
}

CMapView::CMapView(const charts::ViewContext& context)
    : CGraphView(context), progress_(context.progress),
      colors_(MakeMapColorTables(context.store.Settings().mapColors)),
      self_(std::make_shared<CMapView*>(this)) {
    for (size_t i = 0; i < texts_.ranks.size(); ++i)
        texts_.ranks[i] = Text(TextRankFirst + static_cast<int>(i));
    for (size_t i = 0; i < texts_.scaleRows.size(); ++i)
        texts_.scaleRows[i] = Text(TextScaleRowFirst + static_cast<int>(i));
    texts_.noData = Text(TextMapNoData);
    texts_.min = Text(TextMin);
    texts_.max = Text(TextMax);
    const Selection& s = context.selection;
    Build(s.SetCode(), s.Indicators(), s.Regions(), s.Periods());
}

CMapView::~CMapView() {
    // A slide window that outlives the view gets no more frames.
    self_.reset();
}

void CMapView::Build(int setCode, std::vector<ListItem> indicators, std::vector<ListItem> regions,
                     std::vector<ListItem> periods) {
    table_ = std::make_unique<DataTable>(store_, setCode, std::move(indicators), std::move(regions),
                                         std::move(periods), RowsTopLevel, false);
    loadResult_ = table_->Load(progress_);
    breaks_ = ComputeClassBreaks(*table_);
    geometry_ = MapGeometry::Read(table_->DataSource(), table_->SetCode()).value_or(MapGeometry());
    header_ = geometry_.Header();
    // A map without its file (or with an empty drawing space) still shows its legend and labels.
    if (header_.width <= 0 || header_.height <= 0) header_ = FallbackMapHeader();
    const int charset = store_.Charset();
    smallFont_ = charts::ChartFont(TruncToInt(header_.height * 13 / 480.0), 400, 0, charset);
    largeFont_ = charts::ChartFont(header_.height * 20 / 480, 400, 0, charset);
    keys_ = {};
}

void CMapView::OnCreate() {
    AddIndicatorChoice(table_->Indicators(), IndicatorIndex(), 0);
    AddTimePeriodChoice(table_->Periods(), PeriodIndex(), 1);
}

// --- Mapping and the graph view's operations -------------------------------------------------

draw::Point CMapView::GetOrigin() const {
    return {0, 0};
}

draw::Size CMapView::GetExtent() const {
    return {header_.width, header_.height};
}

void CMapView::PrepareScreenMapping(DeviceContext& dc, const Rect& client) const {
    dc.SetMapMode(draw::MapMode::Isotropic);
    dc.SetWindowExt(header_.width, header_.height);
    dc.SetViewportExt(std::max(1, client.Width()), std::max(1, client.Height()));
    dc.SetWindowOrg(0, 0);
    const draw::Size used = dc.ViewportExt();
    dc.SetViewportOrg(client.left + (client.Width() - used.cx) / 2,
                      client.top + (client.Height() - used.cy) / 2);
}

void CMapView::PreparePrintMapping(DeviceContext& dc, const Rect& page) const {
    PrepareScreenMapping(dc, page);
}

charts::MetafileInfo CMapView::GetMetafileInfo() const {
    return {{0, 0, header_.width, header_.height}, "Map"};
}

int CMapView::HitTest(draw::Point logical) {
    return geometry_.HitTest({logical.x, logical.y});
}

std::string CMapView::GetTipText() {
    const int pos = HoveredItem();
    const auto& list = geometry_.DrawList();
    if (pos < 0 || static_cast<size_t>(pos) >= list.size()) return {};
    const int row = list[static_cast<size_t>(pos)].row;
    if (row >= table_->RowCount()) return {};
    const float v = table_->Value(PeriodIndex(), IndicatorIndex(), row);
    return RegionName(row) + ": " + (IsMissing(v) ? texts_.noData : FormatValue(v));
}

void CMapView::PaintWindow(DeviceContext& dc, const Rect& client) {
    PrepareScreenMapping(dc, client);
    DrawChart(dc, mono_);
    DrawOverlay(dc);
}

void CMapView::DrawPicture(DeviceContext& dc, const Rect& bounds, bool blackAndWhite) {
    CGraphView::DrawPicture(dc, bounds, blackAndWhite || mono_);
}

// --- Texts ----------------------------------------------------------------------------------

std::string CMapView::RegionName(int row) const {
    const auto& labels = table_->RowLabels();
    return row >= 0 && static_cast<size_t>(row) < labels.size()
               ? Decode(labels[static_cast<size_t>(row)])
               : std::string();
}

std::string CMapView::PeriodName(int period) const {
    const auto& periods = table_->Periods();
    return period >= 0 && static_cast<size_t>(period) < periods.size()
               ? Decode(periods[static_cast<size_t>(period)].name)
               : std::string();
}

std::string CMapView::IndicatorName() const {
    const auto& list = table_->Indicators();
    const auto i = static_cast<size_t>(IndicatorIndex());
    return i < list.size() ? Decode(list[i].name) : std::string();
}

// --- Classification -------------------------------------------------------------------------

std::span<const float> CMapView::CurrentLimits() const {
    return breaks_.Limits(IndicatorIndex(), state_.Sections(), state_.Mode());
}

std::span<const draw::Color> CMapView::Colors(bool blackAndWhite) const {
    return colors_.Colors(state_.Sections(), blackAndWhite);
}

std::vector<int> CMapView::ClassesOf(const std::vector<float>& values) const {
    const std::span<const float> limits = CurrentLimits();
    std::vector<int> classes;
    classes.reserve(values.size());
    for (float v : values) classes.push_back(ClassOf(v, limits));
    return classes;
}

std::vector<int> CMapView::RowClasses() const {
    return ClassesOf(CurrentFrame(false).values);
}

void CMapView::SetSections(int m) {
    state_.SetSections(m);
}

void CMapView::ToggleMode() {
    state_.ToggleMode();
}

MapScaleInput CMapView::ScaleInput() const {
    MapScaleInput in;
    in.sections = state_.Sections();
    in.mode = state_.Mode();
    in.texts = texts_;
    for (int m = MinSections; m <= MaxSections; ++m) {
        const auto slot = static_cast<size_t>(m - MinSections);
        const std::span<const float> equal = breaks_.Limits(IndicatorIndex(), m, ClassMode::Parts);
        const std::span<const float> defaults = breaks_.Defaults(IndicatorIndex(), m);
        in.equal[slot].assign(equal.begin(), equal.end());
        in.defaults[slot].assign(defaults.begin(), defaults.end());
    }
    return in;
}

void CMapView::ApplyScale(const MapScaleResult& result) {
    if (result.limits) breaks_.SetEqual(IndicatorIndex(), result.sections, *result.limits);
    state_.SetSections(result.sections);
}

// --- Commands -------------------------------------------------------------------------------

bool CMapView::OnCommand(int id) {
    switch (id) {
    case CmdParts:
    case CmdQuintiles:
        // Both items toggle, whichever was chosen.
        ToggleMode();
        if (Host()) Host()->Invalidate(true);
        return true;
    case CmdScale:
        RunScaleDialog();
        return true;
    case CmdSlideView:
        if (table_->Periods().size() > 1) StartSlideShow();
        return true;
    default:
        return CGraphView::OnCommand(id);
    }
}

charts::CommandState CMapView::QueryCommand(int id) const {
    switch (id) {
    case CmdParts:
        return {true, state_.Mode() == ClassMode::Parts};
    case CmdQuintiles:
        return {true, state_.Mode() == ClassMode::Quintiles};
    case CmdSlideView:
        return {table_->Periods().size() > 1, std::nullopt};
    default:
        return CGraphView::QueryCommand(id);
    }
}

void CMapView::RunScaleDialog() {
    if (!Host()) return;
    MapScaleModel model;
    model.input = ScaleInput();
    if (!Host()->RunDialog(model)) return;
    ApplyScale(model.result);
    Host()->Invalidate(true);
}

void CMapView::StartSlideShow() {
    if (!Host()) return;
    SlideParamsModel params;
    if (!Host()->RunDialog(params)) return;
    SlideShowModel show;
    show.frameCount = SlideFrameCount(static_cast<int>(table_->Periods().size()),
                                      ClampFramesBetween(params.between));
    show.loop = params.loop;
    std::weak_ptr<CMapView*> self = self_;
    show.render = [self](const SlideFrameRequest& request) -> std::unique_ptr<draw::Raster> {
        const std::shared_ptr<CMapView*> view = self.lock();
        return view ? (*view)->RenderSlideFrame(request) : nullptr;
    };
    Host()->RunDialog(show);
}

// --- Drill-down -----------------------------------------------------------------------------

int CMapView::DrillDownSet(int pos) const {
    const auto& list = geometry_.DrawList();
    if (table_->SetCode() != TopLevelSetId || pos < 0 || static_cast<size_t>(pos) >= list.size())
        return 0;
    const int code = 10100 + 100 * list[static_cast<size_t>(pos)].row;
    const std::string& dir = DefinitionsDirectory(store_.Settings());
    for (const char* suffix : {".map", ".par", ".ind"})
        if (!FileExists(ResolvePath(JoinPath(dir, std::to_string(code) + suffix)))) return 0;
    return code;
}

bool CMapView::DrillDown(int pos) {
    const int code = DrillDownSet(pos);
    if (code == 0 || !Host()) return false;
    // The sub-level map of this view's own lists, at its period and indicator.
    Selection sub;
    sub.Confirm(code, table_->Indicators(), table_->Regions(), table_->Periods());
    auto view = std::make_unique<CMapView>(charts::ViewContext{store_, res_, sub, progress_});
    view->Select(charts::PopupKind::Periods, PeriodIndex());
    view->Select(charts::PopupKind::Indicators, IndicatorIndex());
    return Host()->OpenView(std::move(view));
}

void CMapView::OnMouseButton(charts::MouseButton button, charts::MouseAction action,
                             draw::Point logical) {
    if (button != charts::MouseButton::Left || action != charts::MouseAction::Down) return;
    // The region under the pointer (the hovered one; a click without a move before it too).
    DrillDown(HitTest(logical));
}

// --- Drawing --------------------------------------------------------------------------------

MapFrame CMapView::CurrentFrame(bool blackAndWhite) const {
    MapFrame f;
    f.period = PeriodIndex();
    f.blackAndWhite = blackAndWhite;
    const int rows = table_->RowCount();
    if (const float* v = table_->RowValues(PeriodIndex(), IndicatorIndex()))
        f.values.assign(v, v + rows);
    else
        f.values.assign(static_cast<size_t>(rows), MissingValue);
    return f;
}

void CMapView::DrawChart(DeviceContext& dc, bool blackAndWhite) const {
    DrawMap(dc, CurrentFrame(blackAndWhite));
}

void CMapView::DrawMap(DeviceContext& dc, const MapFrame& frame) const {
    draw::StateSaver saver(dc);
    SelectPaletteFor(dc, Colors(frame.blackAndWhite));
    DrawRegions(dc, frame);
    DrawDecorations(dc, frame);
}

void CMapView::DrawRegions(DeviceContext& dc, const MapFrame& frame) const {
    const auto& list = geometry_.DrawList();
    if (list.empty()) return;
    const std::span<const float> limits = CurrentLimits();
    const std::span<const draw::Color> colors = Colors(frame.blackAndWhite);
    std::vector<draw::PolygonFill> fills;
    fills.reserve(list.size());
    for (const MapDrawEntry& e : list) {
        const auto cls = static_cast<size_t>(ClassOf(RowValue(frame, e.row), limits));
        const draw::Color c = cls < colors.size() ? colors[cls] : draw::White;
        fills.push_back({static_cast<size_t>(e.polygon), draw::Brush::Solid(c)});
    }
    dc.SetPen(draw::Pen::Solid(0, draw::Black));
    dc.Polygons(geometry_.Shapes(), fills);
}

draw::Rect CMapView::TitleBox(const DeviceContext& dc, const std::string& name) const {
    const Rect one = dc.MeasureTextBox(name, {0, 0, 10, 0}, draw::dt::Left);
    int width = one.right - one.left;
    int height = std::abs(one.bottom - one.top);
    if (width > header_.width) {
        const int twoLines = 2 * height;
        for (int w = 100; w < width + 100; w += 100) {
            const Rect r = dc.MeasureTextBox(name, {0, 0, w, 0}, draw::dt::WordBreak);
            if (std::abs(r.bottom - r.top) <= twoLines) {
                width = w;
                height = std::abs(r.bottom - r.top);
                break;
            }
        }
    }
    const int wx = dc.WindowExt().cx;
    return {(wx - width) / 2, 0, (wx + width) / 2, height};
}

void CMapView::DrawTimeLabel(DeviceContext& dc, int period) const {
    const auto& periods = table_->Periods();
    if (period < 0 || static_cast<size_t>(period) >= periods.size()) return;
    const std::string name = PeriodName(period);
    const MapPoint at = header_.timeLabel;
    dc.SetTextAlign(draw::ta::Left | draw::ta::Top);
    if (periods[static_cast<size_t>(period)].code >= 0) {
        dc.Text(at.x, at.y, name);
        return;
    }
    // "First Available" and "Last Available" are wrapped word by word.
    const int cy = dc.TextExtent(name).cy;
    int widest = 0;
    std::istringstream words(name);
    for (std::string word; words >> word;) widest = std::max(widest, dc.TextExtent(word).cx);
    Rect r{at.x, at.y - cy, at.x + widest, at.y + cy};
    if (r.left < 0) r.right -= r.left, r.left = 0;
    if (r.top < 0) r.bottom -= r.top, r.top = 0;
    if (header_.height < r.bottom + 2 * cy) {
        r.top -= r.bottom + 2 * cy - header_.height;
        r.bottom = header_.height;
    }
    dc.TextBox(name, r, draw::dt::Center | draw::dt::VCenter | draw::dt::WordBreak);
}

void CMapView::DrawTotalLabel(DeviceContext& dc, const MapFrame& frame) const {
    const int row = table_->TotalRow();
    if (row < 0) return;
    const Scale s(header_);
    const MapPoint at = header_.totalLabel;
    dc.SetTextAlign(draw::ta::Left | draw::ta::Baseline);
    dc.Text(at.x, at.y, RegionName(row));
    const float v = RowValue(frame, row);
    dc.SetTextAlign(draw::ta::Center | draw::ta::Baseline);
    dc.Text(at.x + TruncToInt(20 * s.sx), at.y + TruncToInt(14 * s.sy),
            IsMissing(v) ? texts_.noData : FormatValue(v));
}

void CMapView::DrawDecorations(DeviceContext& dc, const MapFrame& frame) const {
    const std::span<const float> limits = CurrentLimits();
    const std::span<const draw::Color> colors = Colors(frame.blackAndWhite);
    const int n = static_cast<int>(colors.size());
    const MapLegendLayout legend = LayoutMapLegend(header_, n);
    dc.SetPen(draw::Pen::Solid(0, draw::Black));
    dc.SetBrush(draw::Brush::Hollow());
    dc.RoundRect(legend.box, legend.cornerWidth, legend.cornerHeight);

    dc.SetFont(smallFont_);
    dc.SetBkMode(draw::BkMode::Transparent);
    dc.SetTextColor(draw::Black);
    dc.SetTextAlign(draw::ta::Left | draw::ta::Baseline);
    const std::vector<std::string> labels = LegendLabels(state_.Mode(), limits, texts_);
    for (size_t r = 0; r < static_cast<size_t>(n); ++r) {
        // Outlined, so that the white no-data key shows on white paper.
        dc.SetBrush(draw::Brush::Solid(colors[r]));
        dc.Rectangle(legend.keys[r]);
        if (r < labels.size() && !labels[r].empty())
            dc.Text(legend.labels[r].x, legend.labels[r].y, labels[r]);
    }
    if (const std::optional<std::string> min = MinLine(limits, texts_))
        dc.Text(legend.minLine.x, legend.minLine.y, *min);

    dc.SetFont(largeFont_);
    const std::string title = IndicatorName();
    if (!title.empty()) {
        dc.SetTextAlign(draw::ta::Left | draw::ta::Top);
        dc.TextBox(title, TitleBox(dc, title), draw::dt::WordBreak | draw::dt::NoClip);
    }
    DrawTimeLabel(dc, frame.period);

    dc.SetFont(smallFont_);
    DrawTotalLabel(dc, frame);
}

// --- Slide frames ---------------------------------------------------------------------------

MapFrame CMapView::SlideFrame(int frameCount, int frame) const {
    const int periods = static_cast<int>(table_->Periods().size());
    const SlideFramePlan plan = PlanSlideFrame(frameCount, periods, frame);
    MapFrame f;
    f.period = std::clamp(plan.period, 0, std::max(0, periods - 1));
    const int rows = table_->RowCount();
    const float* a = table_->RowValues(f.period, IndicatorIndex());
    if (plan.fraction > 0) {
        f.values = InterpolateValues(a, table_->RowValues(f.period + 1, IndicatorIndex()), rows,
                                     plan.fraction);
    } else if (a) {
        f.values.assign(a, a + rows);
    } else {
        f.values.assign(static_cast<size_t>(rows), MissingValue);
    }
    return f;
}

bool CMapView::EnsureKeys(draw::Size size) {
    if (keys_.size == size && !keys_.index.empty()) return true;
    draw::Raster keys(size.cx, size.cy, draw::Black);
    const auto& list = geometry_.DrawList();
    const bool painted = Host()->PaintBitmap(keys, [&](DeviceContext& dc, draw::Size s) {
        PrepareScreenMapping(dc, {0, 0, s.cx, s.cy});
        std::vector<draw::PolygonFill> fills;
        fills.reserve(list.size());
        for (size_t pos = 0; pos < list.size(); ++pos)
            fills.push_back(
                {static_cast<size_t>(list[pos].polygon), draw::Brush::Solid(KeyColor(pos))});
        dc.SetPen(draw::Pen::Solid(0, OutlineKeyColor));
        dc.Polygons(geometry_.Shapes(), fills);
    });
    if (!painted) return false;
    keys_.size = size;
    keys_.index.resize(keys.pixels.size());
    for (size_t i = 0; i < keys.pixels.size(); ++i) {
        const draw::Color key = draw::ColorOfPixel(keys.pixels[i]);
        keys_.index[i] = key == OutlineKeyColor ? KeyOutline : static_cast<uint16_t>(key);
    }
    return true;
}

std::unique_ptr<draw::Raster> CMapView::RenderMapFrame(draw::Size size, const MapFrame& frame,
                                                       draw::Color background) {
    if (!Host() || size.cx < 1 || size.cy < 1 || int64_t(size.cx) * size.cy > MaxFramePixels)
        return nullptr;
    MapFrame coloured = frame;
    coloured.blackAndWhite = false;
    auto raster = std::make_unique<draw::Raster>(size.cx, size.cy, background);
    if (!geometry_.DrawList().empty()) {
        if (!EnsureKeys(size)) return nullptr;
        // The colour of every key: background, outline, then each draw-list position's class.
        const auto& list = geometry_.DrawList();
        const std::span<const float> limits = CurrentLimits();
        const std::span<const draw::Color> colors = Colors(false);
        std::vector<uint32_t> lut(list.size() + KeyFirstRegion);
        lut[KeyBackground] = draw::PixelOf(background);
        lut[KeyOutline] = draw::PixelOf(draw::Black);
        for (size_t pos = 0; pos < list.size(); ++pos) {
            const auto cls =
                static_cast<size_t>(ClassOf(RowValue(coloured, list[pos].row), limits));
            lut[pos + KeyFirstRegion] =
                draw::PixelOf(cls < colors.size() ? colors[cls] : draw::White);
        }
        uint32_t* out = raster->pixels.data();
        const uint16_t* in = keys_.index.data();
        const size_t count = keys_.index.size(), lutSize = lut.size();
        for (size_t i = 0; i < count; ++i) {
            const size_t k = in[i];
            out[i] = lut[k < lutSize ? k : KeyBackground];
        }
    }
    const bool painted = Host()->PaintBitmap(*raster, [&](DeviceContext& dc, draw::Size s) {
        PrepareScreenMapping(dc, {0, 0, s.cx, s.cy});
        draw::StateSaver saver(dc);
        SelectPaletteFor(dc, Colors(false));
        DrawDecorations(dc, coloured);
    });
    return painted ? std::move(raster) : nullptr;
}

std::unique_ptr<draw::Raster> CMapView::RenderSlideFrame(const SlideFrameRequest& request) {
    return RenderMapFrame(request.client, SlideFrame(request.frameCount, request.frame),
                          request.background);
}

// --- zorexport --------------------------------------------------------------------------------

bool CMapView::WriteData(JsonWriter& j) {
    const std::span<const float> limits = CurrentLimits();
    const MapFrame frame = CurrentFrame(mono_);
    const auto& indicators = table_->Indicators();
    const auto& periods = table_->Periods();
    j.BeginObject();
    j.Key("map").Int(table_->SetCode());
    j.Key("indicator");
    if (static_cast<size_t>(IndicatorIndex()) < indicators.size())
        j.Int(indicators[static_cast<size_t>(IndicatorIndex())].code);
    else
        j.Null();
    j.Key("period");
    if (static_cast<size_t>(PeriodIndex()) < periods.size())
        j.Int(periods[static_cast<size_t>(PeriodIndex())].code);
    else
        j.Null();
    j.Key("mode").String(state_.Mode() == ClassMode::Parts ? "parts" : "quintiles");
    j.Key("sections").Int(state_.Sections());
    j.Key("limits").BeginArray();
    for (float v : limits) IsMissing(v) ? j.Null() : j.Float(v);
    j.EndArray();
    j.Key("legend").BeginArray();
    for (const std::string& label : LegendLabels(state_.Mode(), limits, texts_)) j.String(label);
    j.EndArray();
    j.Key("minLine");
    if (const auto min = MinLine(limits, texts_))
        j.String(*min);
    else
        j.Null();
    j.Key("colors").BeginArray();
    for (draw::Color c : Colors(mono_)) j.String(ColorText(c));
    j.EndArray();
    j.Key("total");
    if (const int total = table_->TotalRow(); total >= 0) {
        const float v = RowValue(frame, total);
        j.BeginObject().Key("name").String(RegionName(total)).Key("value");
        IsMissing(v) ? j.Null() : j.Float(v);
        j.EndObject();
    } else {
        j.Null();
    }
    j.Key("regions").BeginArray();
    for (int r = 0; r < table_->RowCount(); ++r) {
        const float v = RowValue(frame, r);
        j.BeginObject();
        j.Key("row").Int(r);
        j.Key("key").Int(table_->RowKeys()[static_cast<size_t>(r)]);
        j.Key("name").String(RegionName(r));
        j.Key("value");
        IsMissing(v) ? j.Null() : j.Float(v);
        j.Key("class").Int(ClassOf(v, limits));
        j.EndObject();
    }
    j.EndArray();
    j.EndObject();
    return true;
}

namespace {

std::optional<int> ParseNumber(const std::string& text) {
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || end != text.c_str() + text.size() || v < -100000 || v > 100000)
        return std::nullopt;
    return static_cast<int>(v);
}

} // namespace

std::string CMapView::ApplyRenderOption(const std::string& name, const std::string& value) {
    if (name == "--mono") {
        mono_ = true;
        return {};
    }
    if (name == "--map") {
        const std::optional<int> set = ParseNumber(value);
        if (!set || store_.FindRegionSet(*set) < 0) return "--map: no region set " + value;
        Build(*set, table_->Indicators(), table_->Regions(), table_->Periods());
        if (loadResult_ != 0) return "--map: the values of set " + value + " cannot be read";
        // Limits given before stay with the new map's indicator.
        if (optionLimits_)
            breaks_.SetEqual(IndicatorIndex(), static_cast<int>(optionLimits_->size()) - 1,
                             *optionLimits_);
        return {};
    }
    if (name == "--sections") {
        const std::optional<int> m = ParseNumber(value);
        if (!m || *m < MinSections || *m > MaxSections)
            return "--sections must be 3 to 7, not " + value;
        if (optionLimits_ && static_cast<int>(optionLimits_->size()) != *m + 1)
            return "--sections " + value + " does not match the " +
                   std::to_string(optionLimits_->size()) + " values of --limits";
        optionSections_ = *m;
        state_.SetSections(*m);
        return {};
    }
    if (name == "--mode") {
        if (value != "parts" && value != "quintiles") return "--mode must be parts or quintiles";
        const ClassMode mode = value == "parts" ? ClassMode::Parts : ClassMode::Quintiles;
        if (optionLimits_ && mode == ClassMode::Quintiles)
            return "--limits are the limits of parts mode";
        if (state_.Mode() != mode) state_.ToggleMode();
        return {};
    }
    if (name == "--limits") {
        if (state_.Mode() != ClassMode::Parts) return "--limits are the limits of parts mode";
        std::vector<float> limits;
        std::stringstream in(value);
        for (std::string item; std::getline(in, item, ',');) {
            const std::optional<float> v = ParseLimit(item);
            if (!v) return "--limits: not a number: " + item;
            limits.push_back(*v);
        }
        const int m = static_cast<int>(limits.size()) - 1;
        if (m < MinSections || m > MaxSections)
            return "--limits needs 4 to 8 values (sections + 1), highest first";
        if (optionSections_ && *optionSections_ != m)
            return "--limits has " + std::to_string(limits.size()) + " values for --sections " +
                   std::to_string(*optionSections_);
        optionLimits_ = limits;
        ApplyScale({m, limits});
        return {};
    }
    return CGraphView::ApplyRenderOption(name, value);
}

} // namespace zor::maps
