// The boxplots: for every selected indicator (a row) and period (a column), a horizontal bar that
// sums up how the indicator's values spread over all regions of the set, with a caret at the
// chosen region's place and a block at the total row's.
//
//   CBoxplotR (by value): the bar runs from the smallest to the largest value; a green box holds
//     the middle values (the box fraction, 80 % at first, chosen in the "Scale" popup).
//   CBoxplotV (by rank): the bar is the 0 ... 100 % rank scale; a value's place is the share of
//     the present values not above it.
//
// The chosen region comes from the "Regions" popup; the footer explains the marks.
#pragma once

#include "core/DataTable.h"
#include "grids/BoxplotStats.h"
#include "grids/CGridView.h"

#include <string>
#include <vector>

namespace zor::charts {
struct MenuItem;
}

namespace zor::grids {

// Colours of the boxplots (0x00BBGGRR).
inline constexpr draw::Color BoxplotBackground = draw::Rgb(255, 255, 223); // 0xDFFFFF
inline constexpr draw::Color BoxColor = draw::Rgb(0, 0xC0, 0);             // 0x00C000
inline constexpr draw::Color MarkColor = draw::Rgb(0xC0, 0, 0);            // 0x0000C0
inline constexpr draw::Color NameColor = draw::Rgb(0, 0, 0x80);            // 0x800000

// Where a bar lies in its cell (logical units of the device: y down on screen, up on paper).
struct BoxBar {
    draw::Rect bar;               // top is the edge away from the marks
    int markY = 0;                // the line the carets and blocks hang from
    int down = 1;                 // the sign of "towards the bottom of the cell"
    float scale = 1;              // 1 on screen, the print scale on paper
    int Scaled(int length) const; // trunc(length × scale)
};
// The bar of a cell: about 120 × 25 screen pixels (scaled), centred; the mark line 10 up from
// its bottom.
BoxBar LayoutBoxBar(const draw::Rect& cell, float scale, bool printing);

// What both boxplots share: the value table, the columns and rows, the "Regions" popup, the
// label fonts, the bar, the footer legend and the JSON.
class CBoxplotView : public CGridView {
public:
    bool Loaded() const override { return loadResult_ == 0; }
    const DataTable& Table() const { return table_; }
    // The chosen region's row in the value table, -1 when it has none.
    int RegionRow() const;

    int FooterBandHeight() const override { return 40; }
    int RowHeight() const override { return 60; }
    int BodyFontWeight() const override { return 700; }
    int HeaderFontWeight() const override { return 400; }
    draw::Color BackgroundColour() const override { return BoxplotBackground; }
    bool GridLines() const override { return true; }

    void DrawCellText(draw::DeviceContext& dc, const draw::Rect& cell, const GridColumn& column,
                      const std::string& text, int row, int col, float scale,
                      bool printing) const override;
    void DrawCellWrapped(draw::DeviceContext& dc, const draw::Rect& cell, const GridColumn& column,
                         const std::string& text, int row, int col, float scale,
                         bool printing) const override;
    void DrawFooter(draw::DeviceContext& dc, const draw::Rect& rect, float scale,
                    bool printing) const override;

    // {"fraction", "records": [{"indicator", "period", the record's fields}], "footer"}.
    bool WriteData(JsonWriter& json) override;
    // The legend's texts in drawing order (UTF-8).
    virtual std::vector<std::string> FooterTexts() const;

    // The label fonts: on the screen, in pictures (metafiles) and on paper.
    const draw::Font& ScreenLabelFont() const { return labelFont_; }
    const draw::Font& PictureLabelFont() const { return pictureLabelFont_; }
    const draw::Font& PrintLabelFont() const { return printLabelFont_; }

protected:
    CBoxplotView(const ViewContext& context, int periodColumnWidth);

    void OnCreate() override;
    void OnInitialUpdate() override;
    void OnRegionChanged(int oldIndex) override;

    // Recomputes every record.
    virtual void ComputeStatistics() = 0;
    virtual bool RecordEmpty(int indicator, int period) const = 0;
    // Steps 3 to 8 of a cell: the labels, the values and the marks over the drawn bar.
    virtual void DrawRecord(draw::DeviceContext& dc, const BoxBar& bar, int indicator,
                            int period) const = 0;
    virtual void WriteRecord(JsonWriter& json, int indicator, int period) const = 0;
    // The box fraction for the JSON (none: null).
    virtual std::optional<float> Fraction() const { return std::nullopt; }
    // The first line of the legend (the boxplot by value's box), drawn from (left, top).
    virtual void DrawFirstLegendLine(draw::DeviceContext&, int, int, int, float) const {}

    // The records of every indicator and period: index indicator × periods + period.
    size_t RecordIndex(int indicator, int period) const;
    // The values of every row of one (indicator, period).
    std::span<const float> Values(int indicator, int period) const;
    // One record per indicator and period: compute(values, region row, total row).
    template <class Record, class Compute>
    void ComputeRecords(std::vector<Record>& records, Compute compute) const {
        const int region = RegionRow(), total = table_.TotalRow();
        const int indicators = static_cast<int>(table_.Indicators().size());
        const int periods = static_cast<int>(table_.Periods().size());
        records.assign(static_cast<size_t>(indicators) * static_cast<size_t>(periods), {});
        for (int i = 0; i < indicators; ++i)
            for (int p = 0; p < periods; ++p)
                records[RecordIndex(i, p)] = compute(Values(i, p), region, total);
    }
    // The label font of a device.
    const draw::Font& LabelFont(const draw::DeviceContext& dc, bool printing) const;
    // "%s:%s" of a label and a value, "%s=%s" of the total row's name and its value (UTF-8).
    std::string Labelled(int labelId, float value) const;
    std::string TotalText(float value) const;
    // The text of a value in the given colour, placed by `align` at (x, y).
    static void PutText(draw::DeviceContext& dc, int x, int y, unsigned align,
                        const std::string& text, draw::Color color);
    // The total's block and the region's caret on the mark line at x.
    static void DrawTotalMark(draw::DeviceContext& dc, const BoxBar& bar, int x);
    static void DrawRegionMark(draw::DeviceContext& dc, const BoxBar& bar, int x);

    DataTable table_;
    int loadResult_ = 0;

private:
    int periodColumnWidth_;
    draw::Font labelFont_, pictureLabelFont_, printLabelFont_;
};

class CBoxplotR : public CBoxplotView {
public:
    explicit CBoxplotR(const ViewContext& context);
    static const std::vector<charts::MenuItem>& FrameMenu();

    bool OnCommand(int id) override;
    charts::CommandState QueryCommand(int id) const override;
    // --fraction F: the box fraction (0 < F <= 1).
    std::string ApplyRenderOption(const std::string& name, const std::string& value) override;

    const BoxStats& Record(int indicator, int period) const;
    int ScaleStep() const { return step_; }
    float BoxFractionValue() const { return fraction_; }
    // The bar's x of a value: from minValue at the left to maxValue at the right (the middle
    // when every value is the same).
    static int ValueX(const BoxBar& bar, const BoxStats& s, float v);
    std::vector<std::string> FooterTexts() const override;
    std::string CellTip(int row, int col) const override;

protected:
    void ComputeStatistics() override;
    bool RecordEmpty(int indicator, int period) const override;
    void DrawRecord(draw::DeviceContext& dc, const BoxBar& bar, int indicator,
                    int period) const override;
    void WriteRecord(JsonWriter& json, int indicator, int period) const override;
    std::optional<float> Fraction() const override { return fraction_; }
    void DrawFirstLegendLine(draw::DeviceContext& dc, int left, int top, int down,
                             float scale) const override;

private:
    std::string MiddleValuesText() const;
    void SetFraction(int step, float fraction);

    std::vector<BoxStats> records_;
    int step_ = DefaultScaleStep; // 0: a fraction of no step (zorexport's --fraction)
    float fraction_ = BoxFraction(DefaultScaleStep);
};

class CBoxplotV : public CBoxplotView {
public:
    explicit CBoxplotV(const ViewContext& context);
    static const std::vector<charts::MenuItem>& FrameMenu();

    const RankStats& Record(int indicator, int period) const;
    // The bar's x of a rank of k values: rank k at the right end, 0 at the left.
    static int RankX(const BoxBar& bar, int rank, int k);
    std::string CellTip(int row, int col) const override;

protected:
    void ComputeStatistics() override;
    bool RecordEmpty(int indicator, int period) const override;
    void DrawRecord(draw::DeviceContext& dc, const BoxBar& bar, int indicator,
                    int period) const override;
    void WriteRecord(JsonWriter& json, int indicator, int period) const override;

private:
    std::vector<RankStats> records_;
};

} // namespace zor::grids
