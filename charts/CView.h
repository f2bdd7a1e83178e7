// The base of every view a frame shows: the charts and the map (CGraphView) and the grids
// (CGridView). It holds what they all share: the host window, the current period, indicator and
// region with the popup lists that switch them, the routing of menu commands, printing in pages,
// the export of the picture as an enhanced metafile, and what zorexport asks of a view (its data
// as JSON, its text exports, its own render options).
//
// A view's life, the same in a frame, in zorexport and in the tests: construction (the view
// copies what it needs of the selection and loads its value table), Create (the host attaches
// itself; views add their popups in OnCreate), InitialUpdate (first showing: views lay out in
// OnInitialUpdate), then painting, commands and popup choices on demand.
#pragma once

#include "charts/ChartResources.h"
#include "charts/ViewHost.h"
#include "core/Catalogue.h"
#include "core/Ids.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zor {
struct AxisRange;
class DataStore;
class JsonWriter;
class LoadProgress;
class Selection;
} // namespace zor

namespace zor::charts {

// What a view is made from: the data store, the drawing resources (both outlive the view), the
// selection to copy and the progress indicator of table loads (may be null).
struct ViewContext {
    DataStore& store;
    const ChartResources& resources;
    const Selection& selection;
    LoadProgress* progress = nullptr;
};

// Commands: a popup of the view's own commands (a choice such as the grids' "Group" or
// "Zones"), which the view handles in OnCommand.
enum class PopupKind { Periods, Indicators, Regions, Commands };

// A popup list menu of the frame's menu bar: one item per entry of a selection list.
struct PopupMenu {
    PopupKind kind = PopupKind::Periods;
    std::string title;              // UTF-8: "Time periods", "Indicators" or "Regions"
    std::vector<std::string> items; // UTF-8 names
    int firstId = CmdFirstPeriod;   // command id of item 0
    int checked = 0;
    int position = 0; // in the menu bar
    // Commands popups: the command of each item, 0 for a separator (the lists number their
    // items from firstId instead).
    std::vector<int> itemIds;
    int ItemId(int item) const {
        return itemIds.empty() ? firstId + item : itemIds[static_cast<size_t>(item)];
    }
};

// The margins every printout starts with, on each side of the paper (millimetres); the print
// dialog may change them.
inline constexpr double DefaultPrintMarginMm = 15;

// The frame and description of an exported picture.
struct MetafileInfo {
    draw::Rect bounds{0, 0, 800, 600};
    std::string description = "Graph";
};

// The state of a command of the frame's menu as the view sees it now.
struct CommandState {
    bool enabled = true;
    std::optional<bool> checked; // a check item: whether it carries its check mark
    bool operator==(const CommandState&) const = default;
};

// The text exports of views that have them.
enum class TextExport {
    Html,          // the HTML file of "Export"
    Text,          // the tab-separated text file of "Export"
    ClipboardHtml, // the "HTML Format" clipboard string
};

// A value of a view's data as JSON: null when it is missing.
void FloatOrNull(JsonWriter& json, float v);
// The "min" and "max" (null when missing) and the "step" of an axis range in a view's JSON.
void WriteRange(JsonWriter& json, const AxisRange& range);
// A whole number given to a render option; none when the text is not one.
std::optional<int> WholeNumber(std::string_view text);

class CView {
public:
    explicit CView(const ViewContext& context);
    virtual ~CView() = default;
    CView(const CView&) = delete;
    CView& operator=(const CView&) = delete;

    // --- Life (see above)
    void Create(ViewHost* host);
    void InitialUpdate() { OnInitialUpdate(); }
    // The host goes away (the view may outlive its window briefly while it closes).
    void Detach() { host_ = nullptr; }

    // A menu command of the frame. Returns whether the view handled it. The base handles
    // "Special" (the picture export) and the items of its popup lists.
    virtual bool OnCommand(int id);
    // The state of one of the view's menu commands (the frame asks before it shows its menus
    // and after every command). The base: enabled, not a check item.
    virtual CommandState QueryCommand(int id) const;

    // Switches the current entry as a popup item does; false when it was current already (and
    // for Commands popups, whose choices the view keeps itself).
    bool Select(PopupKind kind, int index);
    int PeriodIndex() const { return period_; }
    int IndicatorIndex() const { return indicator_; }
    int RegionIndex() const { return region_; }
    const std::vector<PopupMenu>& Popups() const { return popups_; }

    // What the view shows now, for its window title (UTF-8); empty when the view's kind says it
    // all. Popups and the view's own commands may change it. The base names the current entries
    // of the view's list popups and choices, the indicator first, then the region and the time
    // period ("Life expectancy at birth (years), 2010").
    virtual std::string Subject() const;

    // --- Printing: the page count for a page of `page` device pixels (measured on `dc`, which
    // draws nothing), then each chosen page. The page is the printable area inside the page
    // margins; it need not start at the device's origin. The base prints one page.
    virtual int CountPages(draw::DeviceContext& dc, const draw::Rect& page);
    virtual void PrintPage(draw::DeviceContext& dc, const draw::Rect& page, int pageIndex,
                           bool colorPrinter) = 0;

    // --- Pictures
    // The picture's frame (device units of the metafile; its size is the picture's) and the
    // metafile's description.
    virtual MetafileInfo GetMetafileInfo() const;
    // The exported picture drawn onto a device context whose client area is `bounds`.
    virtual void DrawPicture(draw::DeviceContext& dc, const draw::Rect& bounds,
                             bool blackAndWhite) = 0;
    // What the window shows at a client size (the picture unless the view draws its window
    // otherwise).
    virtual void PaintWindow(draw::DeviceContext& dc, const draw::Rect& client);
    // The enhanced metafile of the picture (GetMetafileInfo's bounds and description).
    std::string MakeMetafile(const draw::TextMeasurer& measurer, bool blackAndWhite);
    // The file types of "Special", in this order (the metafile is the default).
    enum PictureFileType { FileEmf, FilePng, FileSvg, FilePdf };
    static const std::vector<FileType>& PictureFileTypes();
    // The size of the PNG, SVG and PDF pictures "Special" writes (device-independent pixels):
    // the window's client area, else the metafile's picture size.
    virtual draw::Size PictureFileSize() const;
    // Whether the Export dialog offers "Black && White".
    bool PictureChoice() const { return pictureChoice_; }
    // The Export command ("Special"): the Export dialog, then the clipboard or a file of the
    // type chosen in the save-file dialog.
    virtual void ExportPicture();

    // --- File exports of tables (HTML, text): the print dialog offers them when the view has
    // them, and the export request opens the view's export file dialog.
    virtual bool OffersFileExport() const { return false; }
    virtual void ExportFile() {}

    // --- Views shown as a sequence of pictures (the slide show): how many there are (0: the
    // view is one picture), and picture `index` at a pixel size, drawn through the host (none
    // when the host cannot paint bitmaps or the index is out of range).
    virtual int FrameCount() const { return 0; }
    virtual std::unique_ptr<draw::Raster> RenderFrame(int index, draw::Size size);

    // --- What zorexport asks
    // Whether the view could read its data (a view whose value table failed to load shows
    // nothing).
    virtual bool Loaded() const { return true; }
    // The data behind the view; false when the view has no data form.
    virtual bool WriteData(JsonWriter& json);
    // A text export; none when the view has no such export.
    virtual std::optional<std::string> ExportText(TextExport kind);
    // A render option of the view's own (its registry entry lists them; `value` is empty for a
    // flag), applied after the initial update as the user would through the view's dialogs.
    // Returns an error text, empty when it was applied.
    virtual std::string ApplyRenderOption(const std::string& name, const std::string& value);

    DataStore& Store() const { return store_; }
    const ChartResources& Resources() const { return res_; }

protected:
    // Popups of the window-creation step: the list's names, the current entry, the position.
    void AddTimePeriodMenu(const std::vector<ListItem>& list, int current, int position);
    void AddIndicatorMenu(const std::vector<ListItem>& list, int current, int position);
    void AddRegionMenu(const std::vector<ListItem>& list, int current, int position);
    // The dimension the view holds fixed: a popup when the list has more than one entry; the
    // window title names the current entry either way.
    void AddTimePeriodChoice(const std::vector<ListItem>& list, int current, int position);
    void AddIndicatorChoice(const std::vector<ListItem>& list, int current, int position);
    void AddRegionChoice(const std::vector<ListItem>& list, int current, int position);
    void SetPictureChoice(bool offer) { pictureChoice_ = offer; }
    // Makes an entry current without the steps of a popup choice (a view's own dialog chose
    // it): only the check mark of the kind's popup, if any, moves.
    void SetCurrent(PopupKind kind, int index);
    // A popup of the view's own commands: {command, UTF-8 caption} items (command 0: a
    // separator), item `checked` checked (-1: none), at `position` in the menu bar. Returns its
    // index in Popups().
    int AddCommandMenu(std::string title, const std::vector<std::pair<int, std::string>>& items,
                       int checked, int position);
    // Moves the check mark of popup `popup` to item `item` (-1: none) and tells the host.
    void CheckPopupItem(int popup, int item);

    // Window creation: views add their popups here.
    virtual void OnCreate() {}
    // First showing: repaint and the no-data report (views compute their layout after it).
    virtual void OnInitialUpdate();
    virtual void OnPeriodChanged(int oldIndex);
    virtual void OnIndicatorChanged(int oldIndex);
    virtual void OnRegionChanged(int oldIndex);
    virtual bool CanReportNoData() const;
    virtual bool IsDataMissing() const;

    // A user-interface text of the string table through the titles table, as UTF-8.
    std::string Text(int id) const;
    // Names of the data (single-byte text of the charset) as UTF-8.
    std::string Decode(std::string_view bytes) const;
    // "Sorry, no data!" with the given icon.
    void ReportNoData(MessageIcon icon);

    ViewHost* Host() const { return host_; }

    DataStore& store_;
    const ChartResources& res_;

private:
    void AddMenu(PopupKind kind, int titleId, int firstId, const std::vector<ListItem>& list,
                 int current, int position);
    void AddChoice(PopupKind kind, const std::vector<ListItem>& list, int current, int position);
    int& IndexOf(PopupKind kind);
    int CurrentIndexOf(PopupKind kind) const;

    ViewHost* host_ = nullptr;
    int period_ = 0;
    int indicator_ = 0;
    int region_ = 0;
    bool pictureChoice_ = true;
    std::vector<PopupMenu> popups_;
    // The names (UTF-8) of the lists whose current entry the subject names, by kind.
    std::vector<std::pair<PopupKind, std::vector<std::string>>> choices_;
};

} // namespace zor::charts
