// Line chart A: one indicator at a time over all years of the catalogue, a line per selected
// region, with regions highlighting (chosen regions in colour, the others grey).
#pragma once

#include "charts/CYearLineChart.h"

#include <vector>

namespace zor::charts {

struct MenuItem;

class CLineChart : public CYearLineChart {
public:
    explicit CLineChart(const ViewContext& context);

    static const std::vector<MenuItem>& FrameMenu();

    bool OnCommand(int id) override;

    bool Highlighting() const { return highlighting_; }
    // The highlighted region positions, in selection order.
    const std::vector<int>& Highlighted() const { return highlighted_; }
    // What the dialog's OK does: the highlighting flag and the checked regions.
    void SetHighlighting(bool on, std::vector<int> positions);
    Legend LegendLayout() const { return LayoutPageLegend(); }

protected:
    void OnCreate() override;
    void OnIndicatorChanged(int oldIndex) override;
    std::vector<SeriesPaint> PaintOrder() const override;
    Legend LayoutPageLegend() const override;
    void DrawPageTitle(draw::DeviceContext& dc) const override;
    int TitleTop(const draw::DeviceContext& dc) const override;
    bool SeriesHighlighted(int s) const override;

private:
    // The position of region s among the highlighted ones; -1 when it is not highlighted.
    int HighlightPosition(int s) const;
    std::string TitleText() const;
    Title PageTitle(const draw::DeviceContext& dc) const;

    bool highlighting_ = false;
    std::vector<int> highlighted_;
    draw::Pen greyThin_ = draw::Pen::Solid(0, draw::Rgb(128, 128, 128));
    draw::Pen greyWide_ = draw::Pen::Solid(10, draw::Rgb(128, 128, 128));
};

} // namespace zor::charts
