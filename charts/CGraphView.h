// The base of every chart view and of the map view: the logical drawing space with its screen
// and printer mappings, the current period, indicator and region, the popup menus that switch
// them, hover tooltips through HitTest and GetTipText, the "Sorry, no data!" report, printing
// with the source line and the export of the picture as an enhanced metafile.
//
// A concrete view plugs in through the overridable operations below (in their slot order). It
// draws through a device context in logical units with y up; the logical window runs from
// (-originX, -originY) to (extentX - originX, extentY - originY). The platform is reached only
// through the ViewHost of the window that shows the view.
#pragma once

#include "charts/ChartResources.h"
#include "charts/ViewHost.h"
#include "core/Catalogue.h"
#include "draw/DeviceContext.h"

#include <string>
#include <vector>

namespace zor {
class DataStore;
}

namespace zor::charts {

// Command ids every chart frame routes to its view.
inline constexpr int CmdPrint = 1098;
inline constexpr int CmdSpecial = 1099;
inline constexpr int CmdQuit = 6000;
inline constexpr int FirstPeriodCommand = 1101;
inline constexpr int FirstIndicatorCommand = 1201;
inline constexpr int FirstRegionCommand = 1301;
// Positions beyond this in a popup are listed but cannot be chosen (ids up to 1151, ...).
inline constexpr int MaxPopupChoices = 51;

enum class PopupKind { Periods, Indicators, Regions };

// A popup list menu of the frame's menu bar: one item per entry of a selection list.
struct PopupMenu {
    PopupKind kind = PopupKind::Periods;
    std::string title;                // UTF-8: "Time periods", "Indicators" or "Regions"
    std::vector<std::string> items;   // UTF-8 names
    int firstId = FirstPeriodCommand; // command id of item 0
    int checked = 0;
    int position = 0; // in the menu bar
};

// What the tooltip has to do after a mouse move.
enum class TipAction { None, Hide, Show, Refresh };

class CGraphView {
public:
    // The store and resources must outlive the view.
    CGraphView(DataStore& store, const ChartResources& resources);
    virtual ~CGraphView() = default;
    CGraphView(const CGraphView&) = delete;
    CGraphView& operator=(const CGraphView&) = delete;

    // --- Overridable operations, in slot order
    virtual void GetOrigin(int& x, int& y) const;   // 750, 400
    virtual void GetExtent(int& cx, int& cy) const; // 8000, 6000
    virtual void DrawChart(draw::DeviceContext& dc, bool blackAndWhite);
    virtual void PrepareScreenMapping(draw::DeviceContext& dc, const draw::Rect& client);
    virtual void PreparePrintMapping(draw::DeviceContext& dc, const draw::Rect& page);
    virtual void GetTipText(std::string& text); // UTF-8; the base leaves it empty
    virtual int HitTest(draw::Point logical);   // -1: nothing
    virtual void GetMetafileInfo(draw::Rect& bounds, std::string& description);
    virtual void OnPeriodChanged(int oldIndex);
    virtual void OnIndicatorChanged(int oldIndex);
    virtual void OnRegionChanged(int oldIndex);
    virtual bool CanReportNoData() const;
    virtual bool IsDataMissing() const;
    virtual void ExportPicture();

    // --- Steps of the window's life, called by the host
    // Window creation: the host has attached itself; views add their popups here.
    virtual void OnCreate() {}
    // First showing: repaint and the no-data report (views compute their layout after it).
    virtual void OnInitialUpdate();
    void Attach(ViewHost* host) { host_ = host; }

    // Painting on screen: the screen mapping onto `client` (device pixels), then DrawChart.
    void Paint(draw::DeviceContext& dc, const draw::Rect& client);
    // One printed page: printer mapping onto `page`, DrawChart, then the source line. A
    // monochrome printer gets the black-and-white drawing.
    void PrintPage(draw::DeviceContext& dc, const draw::Rect& page, bool colorPrinter);
    // The exported picture: screen mapping onto `bounds`, a white frame around the whole
    // logical space (which fixes the picture's bounds), then DrawChart.
    void DrawPicture(draw::DeviceContext& dc, const draw::Rect& bounds, bool blackAndWhite);
    // The enhanced metafile of the picture (GetMetafileInfo's bounds and description).
    std::string MakeMetafile(const draw::TextMeasurer& measurer, bool blackAndWhite);

    // A command of the frame's menu: "Special" and the popup items. False when not routed here.
    bool OnCommand(int id);
    // Mouse move at a device point of a client area of `client`.
    TipAction MouseMove(draw::Point device, const draw::Rect& client);
    int HoveredItem() const { return hovered_; }
    // The tooltip's text, asked for on demand.
    std::string TipText();

    // Switches the current entry as a popup item does; false when it was current already.
    bool Select(PopupKind kind, int index);

    int PeriodIndex() const { return period_; }
    int IndicatorIndex() const { return indicator_; }
    int RegionIndex() const { return region_; }
    // Whether the Export dialog offers "Black && White".
    bool PictureChoice() const { return pictureChoice_; }
    const std::vector<PopupMenu>& Popups() const { return popups_; }

    // The logical point under a device point with the screen mapping onto `client`.
    draw::Point ToLogical(draw::Point device, const draw::Rect& client);

    // Source line of printed pages: string 7000 at the bottom-left corner of the window.
    void DrawSourceLine(draw::DeviceContext& dc);

protected:
    // Popups of the window-creation step: the list's names, the current entry, the position.
    void AddTimePeriodMenu(const std::vector<ListItem>& list, int current, int position);
    void AddIndicatorMenu(const std::vector<ListItem>& list, int current, int position);
    void AddRegionMenu(const std::vector<ListItem>& list, int current, int position);
    void SetPictureChoice(bool offer) { pictureChoice_ = offer; }

    // A user-interface text through the titles table, as UTF-8.
    std::string Text(int id, std::string_view fallback) const;
    // Names of the data (single-byte text of the charset) as UTF-8.
    std::string Decode(std::string_view bytes) const;

    DataStore& store_;
    const ChartResources& res_;
    ViewHost* host_ = nullptr;

private:
    void AddMenu(PopupKind kind, int titleId, std::string_view title, int firstId,
                 const std::vector<ListItem>& list, int current, int position);
    int& IndexOf(PopupKind kind);

    int period_ = 0;
    int indicator_ = 0;
    int region_ = 0;
    bool pictureChoice_ = true;
    int hovered_ = -1;
    std::vector<PopupMenu> popups_;
};

} // namespace zor::charts
