#include "grids/CGridView.h"

#include "core/DataStore.h"
#include "core/FileUtil.h"
#include "core/JsonWriter.h"
#include "draw/NullContext.h"
#include "grids/HtmlText.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace zor::grids {

using draw::DeviceContext;
using draw::Rect;

namespace {

constexpr int ProofQuality = 2;
constexpr int VariableSwiss = 18;
constexpr int HeaderInset = 3;       // pixels each side of a header text
constexpr int FitPadding = 8;        // added to a fitted width
constexpr int FitStep = 10;          // pixels (0.1 mm when printing) per widening step
constexpr int ScreenTitleStep = 50;  // pixels the title's wrap width shrinks by
constexpr int PrintTitleStep = 100;  // 0.1 mm
constexpr int SourceLineHeight = 30; // 3 mm

// A device that measures as the screen does (one unit a pixel, y down) with a font selected.
std::unique_ptr<draw::NullContext> ScreenProbe(const draw::TextMeasurer& measurer,
                                               const draw::Font& font) {
    auto dc = std::make_unique<draw::NullContext>(draw::DeviceInfo{}, measurer);
    dc->SetFont(font);
    return dc;
}

bool Meets(const Rect& a, const Rect& b) {
    return !Intersect(a.Normalized(), b.Normalized()).IsEmpty();
}

// The smallest width from `start` in steps at which the text wraps within `height`.
int WrapWidth(const DeviceContext& dc, const std::string& text, int start, int oneLine,
              int height) {
    return GrowUntil(start, FitStep, oneLine + FitStep,
                     [&](int w) { return WrapFits(dc, text, w, height); });
}

// The width a cell text asks for when fitting: from 3/5 of its one-line width up, until it
// wraps within `rowHeight`; its one-line width when even one line is higher than the row.
int FittedCellWidth(const DeviceContext& dc, const std::string& text, int rowHeight,
                    int lineHeight) {
    const draw::Size one = dc.TextExtent(text);
    if (one.cy > rowHeight) return one.cx;
    const int start = one.cx * 3 / 5;
    // A row lower than two lines holds the text only on one line, which needs the whole
    // one-line width: the first step at or beyond it.
    if (rowHeight < 2 * lineHeight) {
        if (start >= one.cx) return start;
        return start + (one.cx - start + FitStep - 1) / FitStep * FitStep;
    }
    return WrapWidth(dc, text, start, one.cx, rowHeight);
}

} // namespace

draw::Font MakeFont(std::string face, int height, int weight, int charset) {
    draw::Font f;
    f.face = std::move(face);
    f.height = height;
    f.weight = weight;
    f.charset = charset;
    f.quality = ProofQuality;
    f.pitchAndFamily = VariableSwiss;
    return f;
}

ExportKind ExportKindOf(const std::string& path) {
    const size_t dot = path.rfind('.');
    const size_t slash = path.find_last_of("/\\");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return ExportKind::None;
    std::string ext = path.substr(dot + 1);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ext == "html") return ExportKind::Html;
    if (ext == "txt") return ExportKind::Text;
    return ExportKind::None;
}

void DrawRaisedFace(DeviceContext& dc, const Rect& rect) {
    const Rect r = rect.Normalized();
    if (r.IsEmpty()) return;
    draw::StateSaver saver(dc);
    FillRect(dc, r, draw::Brush::Solid(FaceColor));
    auto line = [&](draw::Color c, int x0, int y0, int x1, int y1) {
        dc.SetPen(draw::Pen::Solid(0, c));
        dc.MoveTo(x0, y0);
        dc.LineTo(x1, y1);
    };
    // Light top and left edges, dark bottom and right edges (as a push button).
    line(FaceLight, r.left, r.bottom - 1, r.left, r.top);
    line(FaceLight, r.left, r.top, r.right - 1, r.top);
    line(FaceDarkShadow, r.left, r.bottom - 1, r.right - 1, r.bottom - 1);
    line(FaceDarkShadow, r.right - 1, r.bottom - 1, r.right - 1, r.top - 1);
    if (r.Width() > 2 && r.Height() > 2) {
        line(FaceShadow, r.left + 1, r.bottom - 2, r.right - 2, r.bottom - 2);
        line(FaceShadow, r.right - 2, r.bottom - 2, r.right - 2, r.top);
    }
}

void DrawFlatFace(DeviceContext& dc, const Rect& rect) {
    draw::StateSaver saver(dc);
    dc.SetPen(draw::Pen::Solid(0, FaceShadow));
    dc.SetBrush(draw::Brush::Solid(FaceColor));
    dc.Rectangle(rect);
}

CGridView::CGridView(const ViewContext& context)
    : CView(context), decoder_(context.store.Charset()) {
    // Pictures of grids are always coloured.
    SetPictureChoice(false);
}

int CGridView::FontCharset() const {
    return store_.Charset();
}
int CGridView::BodyFontHeight() const {
    return BodyFontFace() == "MS Sans Serif" ? -8 : -11;
}
int CGridView::HeaderFontHeight() const {
    return HeaderFontFace() == "MS Sans Serif" ? -8 : -11;
}

const draw::TextMeasurer& CGridView::ScreenMeasurer() const {
    static const draw::FixedTextMeasurer fixed;
    return Host() ? Host()->Measurer() : fixed;
}

int CGridView::ScreenTextHeight(const draw::Font& font) const {
    return std::max(1, ScreenProbe(ScreenMeasurer(), font)->FontMetrics().height);
}

void CGridView::Changed() {
    if (Host()) Host()->Invalidate(false);
}

void CGridView::OnCreate() {
    bands_ = {TitleBandHeight(), HeaderBandHeight(), RowHeight(), FooterBandHeight()};
    const int charset = FontCharset();

    bodyFont_ = MakeFont(BodyFontFace(), BodyFontHeight(), BodyFontWeight(), charset);
    bodyTextHeight_ = ScreenTextHeight(bodyFont_);
    printScale_ = 30.0f / static_cast<float>(bodyTextHeight_);
    pictureBodyFont_ = MakeFont("Arial", bodyTextHeight_, BodyFontWeight(), charset);

    headerFont_ = MakeFont(HeaderFontFace(), HeaderFontHeight(), HeaderFontWeight(), charset);
    pictureHeaderFont_ =
        MakeFont("Arial", ScreenTextHeight(headerFont_), HeaderFontWeight(), charset);

    fixedCount_ = std::max(0, FixedColumnCount());
    background_ = draw::Brush::Solid(BackgroundColour());
    titleColour_ = TitleColour();

    titleFont_ = MakeFont(TitleFontFace(), TitleFontHeight(), TitleFontWeight(), charset);
    titleTextHeight_ = ScreenTextHeight(titleFont_);
    title_ = InitialTitle();
    gridLines_ = GridLines();
    UpdateWidths();
}

// --- The fill side -----------------------------------------------------------------------------

void CGridView::AddColumn(std::string header, int width, CellAlign alignment, int nominalWidth,
                          bool wrap) {
    GridColumn c;
    if (width < 0)
        width = ScreenProbe(ScreenMeasurer(), headerFont_)->TextExtent(Shown(header)).cx + 6;
    c.width = width;
    c.nominalWidth = nominalWidth;
    c.alignment = alignment;
    c.wrap = wrap;
    c.header = std::move(header);
    columns_.push_back(std::move(c));
    UpdateWidths();
}

void CGridView::AddRow(std::string firstCell) {
    std::vector<std::string> row(columns_.size());
    if (!row.empty()) row[0] = std::move(firstCell);
    rows_.push_back(std::move(row));
}

void CGridView::SetCell(int col, int row, std::string text) {
    if (row < 0 || row >= RowCount() || col < 0 || col >= static_cast<int>(columns_.size())) return;
    std::vector<std::string>& cells = rows_[static_cast<size_t>(row)];
    if (static_cast<size_t>(col) >= cells.size()) cells.resize(columns_.size());
    cells[static_cast<size_t>(col)] = std::move(text);
}

void CGridView::ClearRows() {
    rows_.clear();
    topRow_ = 0;
}

const std::string& CGridView::Cell(int row, int col) const {
    static const std::string empty;
    if (row < 0 || row >= RowCount() || col < 0) return empty;
    const auto& cells = rows_[static_cast<size_t>(row)];
    return static_cast<size_t>(col) < cells.size() ? cells[static_cast<size_t>(col)] : empty;
}

void CGridView::SetTitle(std::string title) {
    title_ = std::move(title);
}

void CGridView::SetNominalWidth(int col, int width) {
    if (col >= 0 && col < static_cast<int>(columns_.size()))
        columns_[static_cast<size_t>(col)].nominalWidth = width;
}

int CGridView::GridColumnsWidth() const {
    int sum = 0;
    for (const GridColumn& c : columns_) sum += c.width;
    return sum;
}

void CGridView::UpdateWidths() {
    fixedWidth_ = 0;
    for (size_t c = 0; c < columns_.size() && static_cast<int>(c) < fixedCount_; ++c)
        fixedWidth_ += columns_[c].width;
    totalWidth_ = GridColumnsWidth();
    ClampScroll();
}

void CGridView::FitColumn(int col, int minWidth) {
    if (col < 0 || col >= static_cast<int>(columns_.size())) return;
    GridColumn& column = columns_[static_cast<size_t>(col)];
    if (column.nominalWidth != FitToContent) return;
    const auto probe = ScreenProbe(ScreenMeasurer(), bodyFont_);
    const DeviceContext& dc = *probe;
    const int lineHeight = dc.FontMetrics().height;
    int width = 0;

    const std::string header = Shown(column.header);
    if (!header.empty()) {
        const int limit = bands_.header - 2;
        const draw::Size one = dc.TextExtent(header);
        width = one.cy > limit ? one.cx : WrapWidth(dc, header, one.cx / 10, one.cx, limit);
    }
    for (size_t r = 0; r < rows_.size(); ++r) {
        const std::string& cell = Cell(static_cast<int>(r), col);
        if (cell.empty()) continue;
        width = std::max(width, FittedCellWidth(dc, Shown(cell), bands_.row, lineHeight));
    }
    if (width == 0) return;
    if (minWidth > width) width = minWidth;
    column.width = width + FitPadding;
    UpdateWidths();
    Changed();
}

// --- The window --------------------------------------------------------------------------------

void CGridView::SetScrollBarSize(int pixels) {
    barSize_ = std::max(0, pixels);
    ClampScroll();
}

void CGridView::SetClientSize(draw::Size client) {
    client_ = {std::max(0, client.cx), std::max(0, client.cy)};
    ClampScroll();
}

GridWindowLayout CGridView::WindowLayout() const {
    return LayoutGridWindow(client_, bands_, totalWidth_, RowCount(), barSize_);
}

void CGridView::ClampScroll() {
    const GridWindowLayout l = WindowLayout();
    scrollX_ = std::clamp(scrollX_, 0, l.maxScrollX);
    topRow_ = std::clamp(topRow_, 0, l.maxTopRow);
}

bool CGridView::ScrollHorizontal(ScrollAction action, int thumb) {
    const int to = HorizontalScroll(scrollX_, action, thumb, WindowLayout());
    if (to == scrollX_) return false;
    scrollX_ = to;
    return true;
}

bool CGridView::ScrollVertical(ScrollAction action, int thumb) {
    const int to = VerticalScroll(topRow_, action, thumb, WindowLayout());
    if (to == topRow_) return false;
    topRow_ = to;
    return true;
}

bool CGridView::KeyDown(GridKey key) {
    switch (key) {
    case GridKey::Up:
        return ScrollVertical(ScrollAction::LineBack);
    case GridKey::Down:
        return ScrollVertical(ScrollAction::LineForward);
    case GridKey::PageUp:
        return ScrollVertical(ScrollAction::PageBack);
    case GridKey::PageDown:
        break;
    }
    return ScrollVertical(ScrollAction::PageForward);
}

bool CGridView::ScrollRows(int rows) {
    return ScrollVertical(ScrollAction::Thumb, topRow_ + rows);
}

bool CGridView::ScrollColumns(int lines) {
    return ScrollHorizontal(ScrollAction::Thumb, scrollX_ + lines * ScrollLinePixels);
}

int CGridView::ColumnLeft(int col) const {
    const std::vector<int> lefts = ColumnLefts(columns_, fixedCount_, scrollX_);
    return col >= 0 && static_cast<size_t>(col) < lefts.size() ? lefts[static_cast<size_t>(col)]
                                                               : 0;
}

bool CGridView::CellAt(draw::Point p, int& row, int& col) const {
    const GridWindowLayout l = WindowLayout();
    if (p.x < l.list.left || p.x >= l.list.right || p.y < l.list.top || p.y >= l.list.bottom)
        return false;
    row = topRow_ + (p.y - l.list.top) / std::max(1, bands_.row);
    if (row >= RowCount()) return false;
    const std::vector<int> lefts = ColumnLefts(columns_, fixedCount_, scrollX_);
    for (size_t c = 0; c < columns_.size(); ++c) {
        const bool fixed = static_cast<int>(c) < fixedCount_;
        if (!fixed && p.x < fixedWidth_) continue;
        if (p.x >= lefts[c] && p.x < lefts[c] + columns_[c].width) {
            col = static_cast<int>(c);
            return true;
        }
    }
    return false;
}

std::string CGridView::TipAt(draw::Point p) const {
    int row = 0, col = 0;
    if (CellAt(p, row, col)) {
        if (std::string tip = CellTip(row, col); !tip.empty()) return tip;
        const std::string text = ShownCell(row, col);
        const GridColumn& c = columns_[static_cast<size_t>(col)];
        const auto probe = ScreenProbe(ScreenMeasurer(), bodyFont_);
        const DeviceContext& dc = *probe;
        const bool fits = c.wrap ? WrapFits(dc, text, c.width - 6, bands_.row)
                                 : dc.TextExtent(text).cx <= c.width - 6;
        return fits ? std::string() : text;
    }
    const GridWindowLayout l = WindowLayout();
    if (p.y < l.header.top || p.y >= l.header.bottom) return {};
    const std::vector<int> lefts = ColumnLefts(columns_, fixedCount_, scrollX_);
    for (size_t c = 0; c < columns_.size(); ++c) {
        if (static_cast<int>(c) >= fixedCount_ && p.x < fixedWidth_) continue;
        if (p.x < lefts[c] || p.x >= lefts[c] + columns_[c].width) continue;
        const std::string header = Shown(columns_[c].header);
        const auto probe = ScreenProbe(ScreenMeasurer(), headerFont_);
        const DeviceContext& dc = *probe;
        const bool fits = WrapFits(dc, header, columns_[c].width - 2 * HeaderInset, bands_.header);
        return fits ? std::string() : header;
    }
    return {};
}

// --- Column resizing ---------------------------------------------------------------------------

int CGridView::HeaderEdgeAt(draw::Point p) const {
    const GridWindowLayout l = WindowLayout();
    if (p.y < l.header.top || p.y >= l.header.bottom) return -1;
    return ColumnEdgeAt(columns_, fixedCount_, scrollX_, p.x);
}

int CGridView::MinimalHeaderWidth(int col) const {
    if (col < 0 || col >= static_cast<int>(columns_.size())) return 0;
    const std::string header = Shown(columns_[static_cast<size_t>(col)].header);
    const auto probe = ScreenProbe(ScreenMeasurer(), headerFont_);
    const DeviceContext& dc = *probe;
    const int one = dc.TextExtent(header).cx;
    return WrapWidth(dc, header, one / 10, one, bands_.header - 2) + FitPadding;
}

int CGridView::BeginColumnDrag(int col) {
    if (col < 0 || col >= static_cast<int>(columns_.size())) return 0;
    const GridColumn& c = columns_[static_cast<size_t>(col)];
    Drag d;
    d.column = col;
    const int left = ColumnLeft(col);
    d.startEdge = d.edge = left + c.width;
    d.minEdge = left + (c.nominalWidth != FitToContent ? c.nominalWidth : MinimalHeaderWidth(col));
    drag_ = d;
    return d.startEdge;
}

int CGridView::DragTo(int x) {
    if (!drag_) return x;
    drag_->edge = std::max(x, drag_->minEdge);
    return drag_->edge;
}

bool CGridView::EndColumnDrag(int x) {
    if (!drag_) return false;
    DragTo(x);
    GridColumn& c = columns_[static_cast<size_t>(drag_->column)];
    c.width += drag_->edge - drag_->startEdge;
    drag_.reset();
    UpdateWidths();
    Changed();
    return true;
}

std::optional<int> CGridView::DragLineX() const {
    if (!drag_) return std::nullopt;
    return drag_->edge;
}

void CGridView::DrawDragLine(DeviceContext& dc) const {
    if (!drag_) return;
    const GridWindowLayout l = WindowLayout();
    draw::StateSaver saver(dc);
    dc.SetRop2(draw::Rop2::XorPen);
    dc.SetPen(draw::Pen::Solid(2, GridLineColor));
    dc.MoveTo(drag_->edge, l.header.top);
    dc.LineTo(drag_->edge, l.list.bottom);
}

// --- Drawing -----------------------------------------------------------------------------------

void CGridView::DrawCellText(DeviceContext& dc, const Rect& cell, const GridColumn& column,
                             const std::string& text, int, int, float scale, bool printing) const {
    DrawOneLine(dc, cell, column, text, scale, printing, draw::Black, ScaleLength(1, scale));
}

void CGridView::DrawCellWrapped(DeviceContext& dc, const Rect& cell, const GridColumn& column,
                                const std::string& text, int, int, float scale, bool) const {
    DrawWrapped(dc, cell, column, text, scale, draw::Black);
}

void CGridView::DrawOneLine(DeviceContext& dc, const Rect& cell, const GridColumn& column,
                            const std::string& text, float scale, bool printing, draw::Color color,
                            int bottomInset) {
    if (text.empty()) return;
    const Rect n = cell.Normalized();
    const int pad = ScaleLength(3, scale);
    const std::string shown = CutToWidth(dc, text, n.Width() - ScaleLength(6, scale));
    if (shown.empty()) return;
    const int y = printing ? cell.bottom + bottomInset : cell.bottom - bottomInset;
    int x = n.left + pad;
    unsigned align = draw::ta::Left;
    if (column.alignment == CellAlign::Right) {
        x = n.right - pad;
        align = draw::ta::Right;
    } else if (column.alignment == CellAlign::Center) {
        x = (n.left + n.right) / 2;
        align = draw::ta::Center;
    }
    draw::StateSaver saver(dc);
    dc.SetTextAlign(align | draw::ta::Bottom);
    dc.SetBkMode(draw::BkMode::Transparent);
    dc.SetTextColor(color);
    dc.Text(x, y, shown);
}

void CGridView::DrawWrapped(DeviceContext& dc, const Rect& cell, const GridColumn& column,
                            const std::string& text, float scale, draw::Color color) {
    if (text.empty()) return;
    const int pad = ScaleLength(3, scale);
    Rect box = cell;
    box.left += pad;
    box.right -= pad;
    const Rect n = box.Normalized();
    const std::string shown = CutToBox(dc, text, n.Width(), n.Height());
    if (shown.empty()) return;
    unsigned format = draw::dt::WordBreak | draw::dt::VCenter;
    if (column.alignment == CellAlign::Right) format |= draw::dt::Right;
    if (column.alignment == CellAlign::Center) format |= draw::dt::Center;
    draw::StateSaver saver(dc);
    dc.SetBkMode(draw::BkMode::Transparent);
    dc.SetTextColor(color);
    dc.TextBox(shown, box, format);
}

void CGridView::DrawFooter(DeviceContext&, const Rect&, float, bool) const {}

void CGridView::DrawCell(DeviceContext& dc, const Rect& cell, int row, int col, float scale,
                         bool printing) const {
    const GridColumn& column = columns_[static_cast<size_t>(col)];
    const std::string text = ShownCell(row, col);
    if (column.wrap)
        DrawCellWrapped(dc, cell, column, text, row, col, scale, printing);
    else
        DrawCellText(dc, cell, column, text, row, col, scale, printing);
}

void CGridView::DrawTitleText(DeviceContext& dc, const Rect& band, int step) const {
    const std::string text = Shown(title_);
    if (text.empty()) return;
    draw::StateSaver saver(dc);
    dc.SetBkMode(draw::BkMode::Transparent);
    dc.SetTextColor(titleColour_);
    const Rect n = band.Normalized();
    const draw::Size one = dc.TextExtent(text);
    if (one.cx <= n.Width()) {
        dc.TextBox(text, band, draw::dt::Center | draw::dt::VCenter | draw::dt::SingleLine);
        return;
    }
    // Narrower and narrower until it takes two lines or its lines fit the band.
    int wrapped = n.Width();
    for (int width = n.Width() - step; width > 0; width -= step) {
        const Rect m = dc.MeasureTextBox(text, {0, 0, width, 0}, draw::dt::WordBreak).Normalized();
        wrapped = m.Width();
        if (m.Height() >= 2 * one.cy || m.Width() <= n.Width()) break;
    }
    const int left = (n.left + n.right - wrapped) / 2;
    dc.IntersectClipRect(band);
    dc.TextBox(text, {left, band.top, left + wrapped, band.bottom},
               draw::dt::WordBreak | draw::dt::VCenter | draw::dt::NoClip);
}

void CGridView::DrawHeaderCells(DeviceContext& dc, const Rect& band, int scrollX,
                                bool raised) const {
    const std::vector<int> lefts = ColumnLefts(columns_, fixedCount_, scrollX);
    auto face = [&](const Rect& r) { raised ? DrawRaisedFace(dc, r) : DrawFlatFace(dc, r); };
    int right = band.left;
    for (size_t c = 0; c < columns_.size(); ++c) {
        const bool fixed = static_cast<int>(c) < fixedCount_;
        const Rect cell{band.left + lefts[c], band.top, band.left + lefts[c] + columns_[c].width,
                        band.bottom};
        right = std::max(right, cell.right);
        if (cell.right <= band.left + (fixed ? 0 : fixedWidth_) || cell.left >= band.right)
            continue;
        draw::StateSaver saver(dc);
        if (!fixed)
            dc.IntersectClipRect({band.left + fixedWidth_, band.top, band.right, band.bottom});
        face(cell);
        dc.SetBkMode(draw::BkMode::Transparent);
        dc.SetTextColor(draw::Black);
        dc.TextBox(Shown(columns_[c].header),
                   {cell.left + HeaderInset, cell.top, cell.right - HeaderInset, cell.bottom},
                   draw::dt::Center | draw::dt::VCenter | draw::dt::WordBreak);
    }
    if (raised && right < band.right) face({right, band.top, band.right, band.bottom});
}

void CGridView::DrawRow(DeviceContext& dc, int row, int top, const std::vector<int>& lefts,
                        int clipLeft, int clipRight) const {
    const int bottom = top + bands_.row;
    for (size_t c = 0; c < columns_.size(); ++c) {
        const bool fixed = static_cast<int>(c) < fixedCount_;
        const Rect cell{clipLeft + lefts[c], top, clipLeft + lefts[c] + columns_[c].width, bottom};
        const int from = clipLeft + (fixed ? 0 : fixedWidth_);
        if (cell.right <= from || cell.left >= clipRight) continue;
        draw::StateSaver saver(dc);
        dc.IntersectClipRect({from, top, clipRight, bottom});
        if (gridLines_) {
            dc.SetPen(draw::Pen::Solid(0, GridLineColor));
            dc.SetBrush(draw::Brush::Hollow());
            dc.Rectangle(cell);
        }
        DrawCell(dc, cell, row, static_cast<int>(c), 1.0f, false);
    }
}

GridPaintStats CGridView::Paint(DeviceContext& dc, const Rect& client, const Rect& dirty) {
    SetClientSize({client.Width(), client.Height()});
    const GridWindowLayout l = WindowLayout();
    GridPaintStats stats;
    draw::StateSaver saver(dc);
    dc.SetWindowOrg(-client.left, -client.top);

    if (!l.title.IsEmpty() && Meets(l.title, dirty)) {
        DrawRaisedFace(dc, l.title);
        dc.SetFont(titleFont_);
        DrawTitleText(dc, l.title, ScreenTitleStep);
        stats.title = true;
    }
    if (!l.header.IsEmpty() && Meets(l.header, dirty)) {
        dc.SetFont(headerFont_);
        DrawHeaderCells(dc, l.header, scrollX_, true);
        stats.header = true;
    }
    if (!l.list.IsEmpty() && Meets(l.list, dirty)) {
        FillRect(dc, Intersect(l.list, dirty.Normalized()), background_);
        draw::StateSaver listSaver(dc);
        dc.IntersectClipRect(l.list);
        dc.SetFont(bodyFont_);
        const std::vector<int> lefts = ColumnLefts(columns_, fixedCount_, scrollX_);
        for (int r = topRow_, y = l.list.top; r < RowCount() && y < l.list.bottom;
             ++r, y += bands_.row) {
            if (!Meets({l.list.left, y, l.list.right, y + bands_.row}, dirty)) continue;
            DrawRow(dc, r, y, lefts, l.list.left, l.list.right);
            ++stats.rows;
        }
    }
    if (l.horizontalBar && l.verticalBar)
        FillRect(dc, {l.list.right, l.list.bottom, l.verticalBarRect.right, l.footer.top},
                 draw::Brush::Solid(FaceColor));
    if (!l.footer.IsEmpty() && Meets(l.footer, dirty)) {
        DrawRaisedFace(dc, l.footer);
        DrawFooter(dc, l.footer, 1.0f, false);
        stats.footer = true;
    }
    return stats;
}

void CGridView::PaintWindow(DeviceContext& dc, const Rect& client) {
    Paint(dc, client, client);
}

// --- The picture -------------------------------------------------------------------------------

charts::MetafileInfo CGridView::GetMetafileInfo() const {
    charts::MetafileInfo info;
    const int height = bands_.title + bands_.header + RowCount() * bands_.row + bands_.footer + 2;
    info.bounds = {0, 0, totalWidth_ + 2, height};
    info.description = "Grid View";
    return info;
}

draw::Size CGridView::PictureFileSize() const {
    const Rect b = GetMetafileInfo().bounds;
    return {b.Width(), b.Height()};
}

void CGridView::DrawPicture(DeviceContext& dc, const Rect& bounds, bool) {
    const int w = bounds.Width(), h = bounds.Height();
    if (w <= 0 || h <= 0) return;
    draw::StateSaver saver(dc);
    // One logical unit a pixel.
    dc.SetMapMode(draw::MapMode::Anisotropic);
    dc.SetWindowExt(w, h);
    dc.SetViewportExt(w, h);
    dc.SetViewportOrg(bounds.left, bounds.top);
    {
        draw::StateSaver frame(dc);
        dc.SetPen(draw::Pen::Solid(0, draw::Black));
        dc.SetBrush(draw::Brush::Hollow());
        dc.Rectangle({0, 0, w, h});
    }
    int y = 1;
    const int right = 1 + totalWidth_;
    if (bands_.title > 0) {
        const Rect band{1, y, w - 1, y + bands_.title};
        DrawFlatFace(dc, band);
        dc.SetFont(titleFont_);
        DrawTitleText(dc, band, ScreenTitleStep);
        y = band.bottom;
    }
    if (bands_.header > 0) {
        dc.SetFont(pictureHeaderFont_);
        DrawHeaderCells(dc, {1, y, right, y + bands_.header}, 0, false);
        y += bands_.header;
    }
    if (RowCount() > 0) {
        const Rect block{1, y, right, y + RowCount() * bands_.row};
        FillRect(dc, block, background_);
        dc.SetFont(pictureBodyFont_);
        for (int r = 0; r < RowCount(); ++r, y += bands_.row) {
            int x = 1;
            for (size_t c = 0; c < columns_.size(); ++c) {
                const Rect cell{x, y, x + columns_[c].width, y + bands_.row};
                x = cell.right;
                draw::StateSaver cellSaver(dc);
                dc.IntersectClipRect(cell);
                if (gridLines_) {
                    dc.SetPen(draw::Pen::Solid(0, GridLineColor));
                    dc.SetBrush(draw::Brush::Hollow());
                    dc.Rectangle(cell);
                }
                DrawCell(dc, cell, r, static_cast<int>(c), 1.0f, false);
            }
        }
        draw::StateSaver outline(dc);
        dc.SetPen(draw::Pen::Solid(0, draw::Black));
        dc.SetBrush(draw::Brush::Hollow());
        dc.Rectangle(block);
    }
    if (bands_.footer > 0) {
        const Rect band{1, y, right, y + bands_.footer};
        DrawFlatFace(dc, band);
        DrawFooter(dc, band, 1.0f, false);
    }
}

// --- Printing ----------------------------------------------------------------------------------

void CGridView::PreparePrint(const DeviceContext& printer, const Rect& page) {
    const float s = printScale_;
    const int charset = FontCharset();
    printBodyFont_ = MakeFont("Arial", ScaleLength(bodyTextHeight_, s), BodyFontWeight(), charset);
    printTitleFont_ =
        MakeFont("Arial", ScaleLength(titleTextHeight_, s), TitleFontWeight(), charset);
    printHeaderFont_ =
        MakeFont("Arial", ScaleLength(bodyTextHeight_, s), HeaderFontWeight(), charset);
    paper_ = PaperOf(printer.Device(), page);

    const std::unique_ptr<draw::NullContext> dc = draw::ProbeOf(printer);
    dc->SetMapMode(draw::MapMode::LoMetric);
    dc->SetFont(printBodyFont_);
    const int printRow = ScaleLength(bands_.row, s);
    const int headerLimit = ScaleLength(bands_.header - 2, s);
    const int padding = ScaleLength(6, s);

    printWidths_.assign(columns_.size(), 0);
    for (size_t c = 0; c < columns_.size(); ++c) {
        const GridColumn& column = columns_[c];
        if (column.nominalWidth != FitToContent) {
            printWidths_[c] = ScaleLength(column.nominalWidth, s);
            continue;
        }
        const std::string header = Shown(column.header);
        const int one = dc->TextExtent(header).cx;
        const int tenth = one / 10;
        const int tenthHeight =
            dc->MeasureTextBox(header, {0, 0, tenth, 0}, draw::dt::WordBreak).Normalized().Height();
        int width =
            tenthHeight < printRow ? tenth : WrapWidth(*dc, header, tenth, one, headerLimit);
        width += padding;
        for (size_t r = 0; r < rows_.size(); ++r) {
            const std::string& bytes = Cell(static_cast<int>(r), static_cast<int>(c));
            if (bytes.empty()) continue;
            const std::string text = Shown(bytes);
            const int oneLine = dc->TextExtent(text).cx;
            const int need =
                column.wrap ? WrapWidth(*dc, text, oneLine * 3 / 5, oneLine, printRow) : oneLine;
            width = std::max(width, need + padding);
        }
        printWidths_[c] = width;
    }
    plan_ = PlanPages(printWidths_, fixedCount_, RowCount(), ScaleBands(bands_, s), paper_);
}

int CGridView::CountPages(DeviceContext& dc, const Rect& page) {
    PreparePrint(dc, page);
    return plan_.Pages();
}

void CGridView::PrintPage(DeviceContext& dc, const Rect& page, int pageIndex, bool) {
    const Paper paper = PaperOf(dc.Device(), page);
    if (printWidths_.size() != columns_.size() || paper.width != paper_.width ||
        paper.height != paper_.height || plan_.rows != RowCount())
        PreparePrint(dc, page);
    draw::StateSaver saver(dc);
    dc.SetMapMode(draw::MapMode::LoMetric);
    dc.SetViewportOrg(page.left, page.bottom);
    dc.SetWindowOrg(-PrintMarginX, -PrintMarginY);
    const GridBands bands = ScaleBands(bands_, printScale_);
    PageLayout layout = LayoutPage(plan_, printWidths_, bands, paper_, pageIndex);

    // A title higher than its band when wrapped at the block's width widens the block.
    const std::string title = Shown(title_);
    if (!title.empty() && bands.title > 0) {
        dc.SetFont(printTitleFont_);
        auto height = [&](int width) {
            return dc.MeasureTextBox(title, {0, 0, width, 0}, draw::dt::WordBreak)
                .Normalized()
                .Height();
        };
        int width = layout.Used();
        if (height(width) > bands.title) {
            while (width < layout.rightLimit && height(width) > bands.title) width += 100;
            CentreBlock(layout, std::min(width, layout.rightLimit));
        }
    }
    PrintOnePage(dc, layout, pageIndex + 1, bands);
}

void CGridView::PrintOnePage(DeviceContext& dc, const PageLayout& p, int pageNumber,
                             const GridBands& bands) {
    const float s = printScale_;
    // "Page n" 5 mm above the block, at the right limit.
    {
        draw::StateSaver saver(dc);
        dc.SetFont(printBodyFont_);
        dc.SetTextAlign(draw::ta::Right | draw::ta::Top);
        dc.SetBkMode(draw::BkMode::Transparent);
        dc.Text(p.rightLimit, p.pageNumberTop,
                Fill(Text(TextPageNumber), {std::to_string(pageNumber)}));
    }
    if (bands.title > 0) {
        const Rect band{p.left, p.top, p.right, p.titleBottom};
        DrawFlatFace(dc, band);
        dc.SetFont(printTitleFont_);
        DrawTitleText(dc, band, PrintTitleStep);
    }
    const int inset = ScaleLength(HeaderInset, s), one = ScaleLength(1, s);
    if (bands.header > 0) {
        dc.SetFont(printHeaderFont_);
        int x = p.left;
        for (size_t k = 0; k < p.columns.size(); ++k) {
            const Rect cell{x, p.titleBottom, x + p.widths[k], p.headerBottom};
            x = cell.right;
            DrawFlatFace(dc, cell);
            draw::StateSaver saver(dc);
            dc.SetBkMode(draw::BkMode::Transparent);
            dc.SetTextColor(draw::Black);
            dc.TextBox(Shown(columns_[static_cast<size_t>(p.columns[k])].header),
                       {cell.left + inset, cell.top - one, cell.right - inset, cell.bottom + one},
                       draw::dt::Center | draw::dt::VCenter | draw::dt::WordBreak);
        }
    }
    const int used = p.Used();
    if (p.endRow > p.firstRow) {
        const Rect block{p.left, p.headerBottom, p.left + used, p.rowsBottom};
        FillRect(dc, block, background_);
        dc.SetFont(printBodyFont_);
        int y = p.headerBottom;
        for (int r = p.firstRow; r < p.endRow; ++r, y -= bands.row) {
            int x = p.left;
            for (size_t k = 0; k < p.columns.size(); ++k) {
                const Rect cell{x, y, x + p.widths[k], y - bands.row};
                x = cell.right;
                draw::StateSaver saver(dc);
                dc.IntersectClipRect(cell);
                if (gridLines_) {
                    dc.SetPen(draw::Pen::Solid(0, GridLineColor));
                    dc.SetBrush(draw::Brush::Hollow());
                    dc.Rectangle(cell);
                }
                DrawCell(dc, cell, r, p.columns[k], s, true);
            }
        }
        draw::StateSaver saver(dc);
        dc.SetPen(draw::Pen::Solid(0, draw::Black));
        dc.SetBrush(draw::Brush::Hollow());
        dc.Rectangle(block);
    }
    if (bands.footer > 0) DrawFooter(dc, {p.left, p.rowsBottom, p.right, p.footerBottom}, s, true);

    const std::string source = Text(TextSourceLine);
    if (!source.empty()) {
        draw::StateSaver saver(dc);
        dc.SetFont(MakeFont("Arial", SourceLineHeight, 700, store_.Charset()));
        dc.SetTextAlign(draw::ta::Left | draw::ta::Top);
        dc.SetBkMode(draw::BkMode::Transparent);
        dc.Text(p.left, p.footerBottom - SourceLineHeight, source);
    }
}

// --- Exports -----------------------------------------------------------------------------------

bool CGridView::ExportToFile(const std::string& path, ExportKind kind) {
    if (kind == ExportKind::None) return WriteFileAtomic(path, "");
    const auto text =
        ExportText(kind == ExportKind::Html ? charts::TextExport::Html : charts::TextExport::Text);
    return text && WriteFileAtomic(path, *text);
}

std::optional<CGridView::ExportFileChoice> CGridView::AskExportFile() const {
    if (!Host()) return std::nullopt;
    const auto file = Host()->AskSaveFileName({{"HTML file", "html"}, {"Text file", "txt"}});
    if (!file) return std::nullopt;
    ExportKind kind = ExportKindOf(file->path);
    // A name with another extension is written as the file type chosen in the dialog.
    if (kind == ExportKind::None) kind = file->type == 1 ? ExportKind::Text : ExportKind::Html;
    return ExportFileChoice{file->path, kind};
}

void CGridView::ReportNotWritten(const std::string& path) const {
    if (Host())
        Host()->ShowMessage("The table could not be written to " + path + ".",
                            charts::MessageIcon::Stop);
}

void CGridView::ExportFile() {
    if (!HasExports()) return;
    const auto file = AskExportFile();
    if (file && !ExportToFile(file->path, file->kind)) ReportNotWritten(file->path);
}

bool CGridView::WriteData(JsonWriter& j) {
    j.BeginObject();
    j.Key("title").String(Shown(title_));
    j.Key("headers").BeginArray();
    for (const GridColumn& c : columns_) j.String(Shown(c.header));
    j.EndArray();
    j.Key("rows").BeginArray();
    for (int r = 0; r < RowCount(); ++r) {
        j.BeginArray();
        for (size_t c = 0; c < columns_.size(); ++c) j.String(ShownCell(r, static_cast<int>(c)));
        j.EndArray();
    }
    j.EndArray();
    j.EndObject();
    return true;
}

} // namespace zor::grids
