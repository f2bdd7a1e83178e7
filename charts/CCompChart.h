// Line chart B: one selected region at a time over all years of the catalogue, a line per
// selected indicator, the legend listing the indicators with their codes.
#pragma once

#include "charts/CYearLineChart.h"

#include <vector>

namespace zor::charts {

struct MenuItem;

class CCompChart : public CYearLineChart {
public:
    explicit CCompChart(const ViewContext& context);

    static const std::vector<MenuItem>& FrameMenu();
    Legend LegendLayout() const { return LayoutPageLegend(); }

protected:
    void OnCreate() override;
    void OnRegionChanged(int oldIndex) override;
    Legend LayoutPageLegend() const override;
    void DrawPageTitle(draw::DeviceContext& dc) const override;
    int TitleTop(const draw::DeviceContext& dc) const override;

private:
    std::string TitleText() const;
};

// An indicator as the line charts' legends and keys list it: "%4.4d %s", code and name.
std::string CodedName(int code, const std::string& name);

} // namespace zor::charts
