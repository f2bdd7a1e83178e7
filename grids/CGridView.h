// The base of every tabular view (the tables, boxplots, region profile, data availability): a
// window of four bands stacked from the top (title, column header, scrolling rows, footer) with
// fixed leading columns, horizontal and vertical scrolling, column resizing by dragging a header
// edge, fitting a column to its content, tooltips of cut texts, printing paginated in 0.1 mm,
// the picture of the whole grid, the JSON of its cells and the export file dialog.
//
// A derived view declares its columns, fills rows of text cells and answers the small virtual
// questions below (band heights, fonts, colours, in their slot order). Cell, header and title
// texts are single-byte text of the configured charset, as the data's names are; they are
// decoded only for display. Window geometry is in screen pixels with y down; printing scales it
// by PrintScale() onto 0.1 mm pages (GridPrint.h).
#pragma once

#include "charts/CView.h"
#include "grids/GridLayout.h"
#include "grids/GridPrint.h"
#include "grids/GridText.h"

#include <optional>
#include <string>
#include <vector>

namespace zor::grids {

using charts::ViewContext;

// What the export file dialog writes: chosen by the file's extension.
enum class ExportKind { None = 0, Text = 1, Html = 2 };
// "html" gives HTML, "txt" text (case-insensitively), anything else none.
ExportKind ExportKindOf(const std::string& path);

// The keys of the row list.
enum class GridKey { Up, Down, PageUp, PageDown };

// What one paint drew (the window repaints only what changed).
struct GridPaintStats {
    bool title = false, header = false, footer = false;
    int rows = 0; // rows drawn
};

// The colours of band faces (0x00BBGGRR).
inline constexpr draw::Color FaceColor = draw::Rgb(240, 240, 240);
inline constexpr draw::Color FaceLight = draw::White;
inline constexpr draw::Color FaceShadow = draw::Rgb(160, 160, 160);
inline constexpr draw::Color FaceDarkShadow = draw::Rgb(105, 105, 105);
inline constexpr draw::Color GridLineColor = draw::Rgb(128, 128, 128); // 0x808080

// A font of the grids: proof quality, variable pitch, swiss family.
draw::Font MakeFont(std::string face, int height, int weight, int charset);

// A raised push-button face (window bands) and a flat one (pictures and printouts).
void DrawRaisedFace(draw::DeviceContext& dc, const draw::Rect& rect);
void DrawFlatFace(draw::DeviceContext& dc, const draw::Rect& rect);

class CGridView : public charts::CView {
public:
    explicit CGridView(const ViewContext& context);

    // --- The fill side (for derived views; public for the tests)
    // Appends a column. Width -1: the header's one-line width in the header font, plus 6.
    void AddColumn(std::string header, int width, CellAlign alignment, int nominalWidth,
                   bool wrap = false);
    // Appends a row with every cell empty; a non-empty text becomes cell 0.
    void AddRow(std::string firstCell);
    // Replaces a cell's text; out-of-range indices are ignored.
    void SetCell(int col, int row, std::string text);
    // Removes every row (the columns stay).
    void ClearRows();
    // Fits a fit-to-content column (others are left alone) to its header and cells, measured in
    // the body font: the widest, raised to `minWidth` (-1: no lower limit), plus 8.
    void FitColumn(int col, int minWidth = -1);
    void SetTitle(std::string title);
    // Makes a column keep `width` in print and as its drag minimum (no longer fitted).
    void SetNominalWidth(int col, int width);
    int GridColumnsWidth() const;

    const std::vector<GridColumn>& Columns() const { return columns_; }
    int RowCount() const { return static_cast<int>(rows_.size()); }
    // A cell's text ("" when empty or out of range), and decoded for display.
    const std::string& Cell(int row, int col) const;
    std::string ShownCell(int row, int col) const { return Shown(Cell(row, col)); }
    const std::string& Title() const { return title_; }
    int FixedCount() const { return fixedCount_; }
    int FixedWidth() const { return fixedWidth_; }
    const GridBands& Bands() const { return bands_; }
    int BodyTextHeight() const { return bodyTextHeight_; }
    int TitleTextHeight() const { return titleTextHeight_; }
    // 30 / body text height: printed body text is 3 mm high.
    float PrintScale() const { return printScale_; }
    const draw::Font& BodyFont() const { return bodyFont_; }
    const draw::Font& HeaderFont() const { return headerFont_; }
    const draw::Font& TitleFont() const { return titleFont_; }

    // --- The window (pixels, y down)
    // The thickness of the window's scroll bars (0 without a window).
    void SetScrollBarSize(int pixels);
    // The client area's size; the scroll positions are kept within its ranges.
    void SetClientSize(draw::Size client);
    draw::Size ClientSize() const { return client_; }
    GridWindowLayout WindowLayout() const;
    int ScrollX() const { return scrollX_; }
    int TopRow() const { return topRow_; }
    // Scroll bar actions; true when the position changed.
    bool ScrollHorizontal(ScrollAction action, int thumb = 0);
    bool ScrollVertical(ScrollAction action, int thumb = 0);
    bool KeyDown(GridKey key);
    // Wheel steps: rows down (positive) or up, and lines of 8 pixels right or left.
    bool ScrollRows(int rows);
    bool ScrollColumns(int lines);

    // Draws the parts of the window of size `client` that meet `dirty` at the current scroll
    // positions (and makes `client` the client size).
    GridPaintStats Paint(draw::DeviceContext& dc, const draw::Rect& client,
                         const draw::Rect& dirty);
    void PaintWindow(draw::DeviceContext& dc, const draw::Rect& client) override;
    // The row and column of the cell under a point of the row list; false when none.
    bool CellAt(draw::Point p, int& row, int& col) const;
    // The tooltip at a point: the view's CellTip, else the whole text of a cell or header that
    // is shown cut, else "". UTF-8.
    std::string TipAt(draw::Point p) const;

    // --- Column resizing in the header band
    // The column whose right edge is under the point (within 3 pixels), -1 for none.
    int HeaderEdgeAt(draw::Point p) const;
    // Starts dragging the right edge of `col`; returns the edge's x (where the pointer goes).
    int BeginColumnDrag(int col);
    // The pointer moved: the edge follows it, not left of the column's minimum. Returns the
    // edge.
    int DragTo(int x);
    // The button was released at x: the column takes the new width. False when nothing was
    // dragged.
    bool EndColumnDrag(int x);
    void CancelColumnDrag() { drag_.reset(); }
    bool Dragging() const { return drag_.has_value(); }
    std::optional<int> DragLineX() const;
    // The drag line (XOR: drawing it twice erases it) from the header's top to the list's
    // bottom.
    void DrawDragLine(draw::DeviceContext& dc) const;
    // The narrowest width of a column that still shows its header word-wrapped in the header
    // band: the drag minimum of a fit-to-content column.
    int MinimalHeaderWidth(int col) const;

    // --- Printing, the picture and the exports
    int CountPages(draw::DeviceContext& dc, const draw::Rect& page) override;
    void PrintPage(draw::DeviceContext& dc, const draw::Rect& page, int pageIndex,
                   bool colorPrinter) override;
    // The print widths (0.1 mm) and page plan of the last page count.
    const std::vector<int>& PrintWidths() const { return printWidths_; }
    const PagePlan& Plan() const { return plan_; }
    // Measures the print widths and plans the pages for a printer (a device context of it
    // that draws nothing and the page's device pixels).
    void PreparePrint(const draw::DeviceContext& printer, const draw::Rect& page);

    charts::MetafileInfo GetMetafileInfo() const override;
    // The PNG, SVG and PDF files of "Special" hold the whole table, as the metafile does, not
    // the part the window shows.
    draw::Size PictureFileSize() const override;
    void DrawPicture(draw::DeviceContext& dc, const draw::Rect& bounds,
                     bool blackAndWhite) override;

    // The export request: the export file dialog (HTML or text), then ExportToFile.
    bool OffersFileExport() const override { return HasExports(); }
    void ExportFile() override;
    // {"title", "headers", "rows"}: the texts as the grid shows them, UTF-8.
    bool WriteData(JsonWriter& json) override;

    // --- Overridable operations, in slot order
    // One-line cell text: cut to the column width less 6 × scale, aligned with 3 × scale
    // padding, its bottom 1 × scale inside the cell's bottom.
    virtual void DrawCellText(draw::DeviceContext& dc, const draw::Rect& cell,
                              const GridColumn& column, const std::string& text, int row, int col,
                              float scale, bool printing) const;
    // Word-wrapped cell text: cut to the cell less 3 × scale each side, centred vertically.
    virtual void DrawCellWrapped(draw::DeviceContext& dc, const draw::Rect& cell,
                                 const GridColumn& column, const std::string& text, int row,
                                 int col, float scale, bool printing) const;
    // Writes the file of the export file dialog; the base writes ExportText of the kind (an
    // empty file for None). False when the file could not be written.
    virtual bool ExportToFile(const std::string& path, ExportKind kind);
    virtual void DrawFooter(draw::DeviceContext& dc, const draw::Rect& rect, float scale,
                            bool printing) const;
    virtual int TitleBandHeight() const { return 30; }
    virtual int HeaderBandHeight() const { return 20; }
    virtual int FooterBandHeight() const { return 20; }
    virtual int FixedColumnCount() const { return 1; }
    virtual int RowHeight() const { return 14; }
    virtual int FontCharset() const;
    virtual std::string BodyFontFace() const { return "Tahoma"; }
    virtual int BodyFontHeight() const;
    virtual int BodyFontWeight() const { return 400; }
    virtual std::string HeaderFontFace() const { return "Tahoma"; }
    virtual int HeaderFontHeight() const;
    virtual int HeaderFontWeight() const { return 700; }
    virtual std::string TitleFontFace() const { return "Arial"; }
    virtual int TitleFontHeight() const { return 20; }
    virtual int TitleFontWeight() const { return 700; }
    virtual draw::Color TitleColour() const { return draw::Black; }
    virtual draw::Color BackgroundColour() const { return draw::White; }
    virtual std::string InitialTitle() const { return {}; }
    virtual bool GridLines() const { return false; }
    // Whether the view has the HTML and text exports (the export file dialog).
    virtual bool HasExports() const { return false; }
    // The tooltip of a cell that the view draws itself (UTF-8); "" for the base's tooltip of a
    // cut text.
    virtual std::string CellTip(int /*row*/, int /*col*/) const { return {}; }

protected:
    // Window creation: the band heights, fonts and colours from the operations above. Derived
    // views call it first from their own OnCreate.
    void OnCreate() override;
    bool CanReportNoData() const override { return false; }

    // The export file dialog: the file and what to write into it (by the name's extension, else
    // the file type chosen); none when it was cancelled.
    struct ExportFileChoice {
        std::string path;
        ExportKind kind = ExportKind::None;
    };
    std::optional<ExportFileChoice> AskExportFile() const;
    // "The table could not be written to <path>."
    void ReportNotWritten(const std::string& path) const;

    // The cell texts of DrawCellText and DrawCellWrapped (UTF-8) in a colour: one line with its
    // bottom `bottomInset` inside the cell's bottom edge, or word-wrapped and centred vertically.
    static void DrawOneLine(draw::DeviceContext& dc, const draw::Rect& cell,
                            const GridColumn& column, const std::string& text, float scale,
                            bool printing, draw::Color color, int bottomInset);
    static void DrawWrapped(draw::DeviceContext& dc, const draw::Rect& cell,
                            const GridColumn& column, const std::string& text, float scale,
                            draw::Color color);
    // Decodes single-byte text for display.
    std::string Shown(std::string_view bytes) const { return decoder_(bytes); }
    // The measurer of the screen (fixed metrics without a host).
    const draw::TextMeasurer& ScreenMeasurer() const;
    // The text-metric height of a font on the screen (at least 1).
    int ScreenTextHeight(const draw::Font& font) const;
    // Repaints the window later (after a change of the grid's contents or widths).
    void Changed();

private:
    struct Drag {
        int column = 0;
        int startEdge = 0; // screen x of the edge at the start
        int minEdge = 0;
        int edge = 0;
    };

    void UpdateWidths();
    void ClampScroll();
    int ColumnLeft(int col) const; // screen x at the current scroll position
    // Draws one band or row block onto `dc` (screen or picture), see the .cpp.
    void DrawTitleText(draw::DeviceContext& dc, const draw::Rect& band, int step) const;
    void DrawHeaderCells(draw::DeviceContext& dc, const draw::Rect& band, int scrollX,
                         bool raised) const;
    // `lefts`: the columns' left edges (ColumnLefts), taken once per paint.
    void DrawRow(draw::DeviceContext& dc, int row, int top, const std::vector<int>& lefts,
                 int clipLeft, int clipRight) const;
    void DrawCell(draw::DeviceContext& dc, const draw::Rect& cell, int row, int col, float scale,
                  bool printing) const;
    void PrintOnePage(draw::DeviceContext& dc, const PageLayout& p, int pageNumber,
                      const GridBands& bands);

    std::vector<GridColumn> columns_;
    std::vector<std::vector<std::string>> rows_;
    std::string title_;
    TextDecoder decoder_;
    int fixedCount_ = 1;
    int fixedWidth_ = 0;
    int totalWidth_ = 0;
    GridBands bands_;
    draw::Font bodyFont_, headerFont_, titleFont_, pictureBodyFont_, pictureHeaderFont_;
    int bodyTextHeight_ = 13;
    int titleTextHeight_ = 20;
    float printScale_ = 30.0f / 13.0f;
    draw::Brush background_ = draw::Brush::Solid(draw::White);
    draw::Color titleColour_ = draw::Black;
    bool gridLines_ = false;

    int barSize_ = 0;
    draw::Size client_{800, 600};
    int scrollX_ = 0;
    int topRow_ = 0;
    std::optional<Drag> drag_;

    draw::Font printBodyFont_, printTitleFont_, printHeaderFont_;
    std::vector<int> printWidths_;
    PagePlan plan_;
    Paper paper_;
};

} // namespace zor::grids
