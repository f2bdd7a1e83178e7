// The map view: one indicator for one time period as a choropleth map of the top-level regions
// of a region set, every region's polygons filled with the colour of its value's class, with a
// legend, the indicator's name as title, the time period's name and the name and value of the
// set's total. A click on a region of the overall map (set 10000) opens the map of its
// sub-regions in a new window; "Slide view" animates the map over the periods.
//
// The map's drawing space is the W x H of its map file, y downward, mapped isotropically and
// centred onto the window. The polygons keep their device form between paints of one size (the
// device context's polygon sets); slide frames recolour a picture of region keys made once per
// size and draw the legend and labels over it.
#pragma once

#include "charts/CGraphView.h"
#include "core/DataTable.h"
#include "maps/MapClasses.h"
#include "maps/MapGeometry.h"
#include "maps/MapScaleRules.h"
#include "maps/SlideShow.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zor::charts {
struct MenuItem;
}

namespace zor::maps {

// The legend box and its rows in map units (y downward), from the map's header and the number
// of classes n = m + 1.
struct MapLegendLayout {
    draw::Rect box; // the rounded rectangle
    int cornerWidth = 0, cornerHeight = 0;
    std::vector<draw::Rect> keys;    // one box per class
    std::vector<draw::Point> labels; // baseline start of each class label
    draw::Point minLine;             // baseline start of "Min = ..."
};
MapLegendLayout LayoutMapLegend(const MapHeader& header, int classes);

// The drawing space of a map without a (usable) map file: 640 x 480 with its labels at the left.
MapHeader FallbackMapHeader();

// One picture of the map: the period whose name it shows and the value of every row.
struct MapFrame {
    int period = 0;
    std::vector<float> values; // by row; missing past the end
    bool blackAndWhite = false;
};

class CMapView : public charts::CGraphView {
public:
    // Builds the value table of the selection's set (top-level rows, no forced zero), loads it,
    // computes the class limits and reads the set's map file.
    explicit CMapView(const charts::ViewContext& context);
    ~CMapView() override;

    static const std::vector<charts::MenuItem>& FrameMenu();

    // --- The graph view's operations
    draw::Point GetOrigin() const override; // 0, 0
    draw::Size GetExtent() const override;  // W, H
    void DrawChart(draw::DeviceContext& dc, bool blackAndWhite) const override;
    // Isotropic: (0..W, 0..H) onto the client keeping its shape, centred.
    void PrepareScreenMapping(draw::DeviceContext& dc, const draw::Rect& client) const override;
    void PreparePrintMapping(draw::DeviceContext& dc, const draw::Rect& page) const override;
    std::string GetTipText() override;
    int HitTest(draw::Point logical) override; // draw-list position, -1 for none
    charts::MetafileInfo GetMetafileInfo() const override;
    charts::ViewCursor Cursor() const override { return charts::ViewCursor::Cross; }
    bool OnCommand(int id) override;
    charts::CommandState QueryCommand(int id) const override;
    void PaintWindow(draw::DeviceContext& dc, const draw::Rect& client) override;
    void DrawPicture(draw::DeviceContext& dc, const draw::Rect& bounds,
                     bool blackAndWhite) override;
    bool Loaded() const override { return loadResult_ == 0; }
    bool WriteData(JsonWriter& json) override;
    std::string ApplyRenderOption(const std::string& name, const std::string& value) override;

    // --- Classification
    const MapClassState& ClassState() const { return state_; }
    int Sections() const { return state_.Sections(); }
    ClassMode Mode() const { return state_.Mode(); }
    // The limits in use: the current indicator's, of the current m and mode.
    std::span<const float> CurrentLimits() const;
    const ClassBreaks& Breaks() const { return breaks_; }
    std::span<const draw::Color> Colors(bool blackAndWhite) const;
    // The class of every row for the current period and indicator.
    std::vector<int> RowClasses() const;
    std::vector<int> ClassesOf(const std::vector<float>& values) const;
    // Sets the number of sections (3..7) and the mode, as the menu and the scale dialog do.
    void SetSections(int m);
    void ToggleMode();
    // What OK of the scale dialog stores.
    void ApplyScale(const MapScaleResult& result);
    // The scale dialog's input for the current indicator.
    MapScaleInput ScaleInput() const;

    // --- Slide show
    // The picture of the slide show frame `frame` of `frameCount` at a client size: the values
    // of a period or interpolated between two (see PlanSlideFrame), labelled with the period.
    MapFrame SlideFrame(int frameCount, int frame) const;
    // The picture of the map view with other values, drawn onto a new bitmap of `size` pixels
    // filled with `background` first, always coloured; none without a host that paints bitmaps
    // or for a size above 2^26 pixels.
    std::unique_ptr<draw::Raster> RenderMapFrame(draw::Size size, const MapFrame& frame,
                                                 draw::Color background);
    // The slide window's request (message 1027): the frame's bitmap, owned by the caller.
    std::unique_ptr<draw::Raster> RenderSlideFrame(const SlideFrameRequest& request);
    // The frames of a slide show with `between` frames between periods, for zorexport.
    void SetSlideFramesBetween(int between) { slideBetween_ = ClampFramesBetween(between); }
    int SlideFramesBetween() const { return slideBetween_; }

    // --- Drill-down
    // The set of the map that a click on draw-list position `pos` opens: 10100 + 100 × row,
    // when this is the overall map (10000) and the sub-level map, region and indicator files
    // all exist in the definitions directory; else 0.
    int DrillDownSet(int pos) const;
    // Opens the sub-level map of draw-list position `pos` (nothing when DrillDownSet is 0).
    bool DrillDown(int pos);

    // --- Parts, for tests and zorexport
    const DataTable& Table() const { return *table_; }
    int LoadResult() const { return loadResult_; }
    const MapGeometry& Geometry() const { return geometry_; }
    const MapHeader& Header() const { return header_; }
    bool HasMapFile() const { return !geometry_.Empty(); }
    const MapTexts& Texts() const { return texts_; }
    // The picture of the current period and indicator.
    MapFrame CurrentFrame(bool blackAndWhite) const;
    // Draws a picture of the map: the regions, then the legend, title, time and total labels.
    void DrawMap(draw::DeviceContext& dc, const MapFrame& frame) const;
    // The pieces of DrawMap.
    void DrawRegions(draw::DeviceContext& dc, const MapFrame& frame) const;
    void DrawDecorations(draw::DeviceContext& dc, const MapFrame& frame) const;
    // The title's box in map units: one line, or two lines in the narrowest multiple of 100 units
    // when the name is wider than W, centred over the window's width.
    draw::Rect TitleBox(const draw::DeviceContext& dc, const std::string& name) const;

protected:
    void OnCreate() override;
    void OnMouseButton(charts::MouseButton button, charts::MouseAction action,
                       draw::Point logical) override;

private:
    void Build(int setCode, std::vector<ListItem> indicators, std::vector<ListItem> regions,
               std::vector<ListItem> periods);
    void RunScaleDialog();
    void StartSlideShow();
    std::string RegionName(int row) const;
    std::string PeriodName(int period) const;
    std::string IndicatorName() const;
    void DrawTimeLabel(draw::DeviceContext& dc, int period) const;
    void DrawTotalLabel(draw::DeviceContext& dc, const MapFrame& frame) const;
    // The region keys of the picture at a size (draw-list position + 2 per pixel, 1 for
    // outlines, 0 for the background), made once per size.
    bool EnsureKeys(draw::Size size);

    LoadProgress* progress_;
    std::unique_ptr<DataTable> table_;
    int loadResult_ = 0;
    ClassBreaks breaks_;
    MapGeometry geometry_;
    MapHeader header_;
    MapClassState state_;
    MapColorTables colors_;
    MapTexts texts_;
    draw::Font smallFont_, largeFont_;
    int slideBetween_ = 0;
    bool mono_ = false; // zorexport --mono
    // Render options that outlive a change of the map (--map): limits given with --limits.
    std::optional<std::vector<float>> optionLimits_;
    std::optional<int> optionSections_;

    // The slide window's renderer reaches the view through this while it lives.
    std::shared_ptr<CMapView*> self_;
    // Region keys per pixel for slide frames.
    struct Keys {
        draw::Size size;
        std::vector<uint16_t> index;
    } keys_;
};

} // namespace zor::maps
