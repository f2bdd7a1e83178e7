#include "views/ViewTable.h"

#include "charts/CBarChart.h"
#include "charts/CCompChart.h"
#include "charts/CHRBarChart.h"
#include "charts/CHist.h"
#include "charts/CLineCharC.h"
#include "charts/CLineChart.h"
#include "charts/CRBarChart.h"
#include "charts/CScChart.h"
#include "grids/CAvail.h"
#include "grids/CBoxplots.h"
#include "grids/CProfile.h"
#include "grids/CTables.h"
#include "maps/CMapView.h"
#include "maps/CSlideShow.h"

namespace zor::views {

using namespace charts;

namespace {

constexpr unsigned I = NeedIndicators, R = NeedRegions, P = NeedPeriods;

} // namespace

const std::vector<ViewEntry>& AllViews() {
    // One line per view: command, frame menu, window title, zorexport name, what it needs of
    // the selection, factory, frame menu items, render options.
    // clang-format off
    static const std::vector<ViewEntry> table = {
        {CmdMap, MenuMap, MenuMap, "map", I | P, &MakeView<maps::CMapView>, &maps::CMapView::FrameMenu, {{"--map"}, {"--sections"}, {"--mode"}, {"--limits"}, {"--mono", false}}},
        // Opened by the map frame's "Slide view"; zorexport renders its frames.
        {CmdSlideView, MenuSlideView, MenuSlideView, "slides", I | P, &MakeView<maps::CSlideShow>, &maps::CSlideShow::FrameMenu, {{"--map"}, {"--sections"}, {"--mode"}, {"--limits"}, {"--mono", false}, {"--between"}}},
        {CmdBarChart, MenuBarChart, MenuBarChart, "barchart", I | R | P, &MakeView<CBarChart>, &CBarChart::FrameMenu, {}},
        {CmdRankedBarChart, MenuRankedBarChart, MenuRankedBarChart, "ranked", I | P, &MakeView<CRBarChart>, &CRBarChart::FrameMenu, {}},
        {CmdHorizontalRankedBarChart, MenuHorizontalRankedBarChart, MenuHorizontalRankedBarChart, "rankedh", I | P, &MakeView<CHRBarChart>, &CHRBarChart::FrameMenu, {{"--two-bars", false}, {"--indicator-b"}, {"--period-b"}, {"--page"}}},
        {CmdLineChartA, MenuLineChartA, MenuLineChartA, "linea", I | R, &MakeView<CLineChart>, &CLineChart::FrameMenu, {{"--average", false}, {"--log", false}, {"--trend-from"}}},
        {CmdLineChartB, MenuLineChartB, MenuLineChartB, "lineb", I | R, &MakeView<CCompChart>, &CCompChart::FrameMenu, {{"--average", false}, {"--log", false}, {"--trend-from"}}},
        {CmdLineChartC, MenuLineChartC, MenuLineChartC, "linec", I | R | P, &MakeView<CLineCharC>, &CLineCharC::FrameMenu, {{"--log", false}}},
        {CmdScattergram, MenuScattergram, MenuScattergram, "scatter", I | P, &MakeView<CScChart>, &CScChart::FrameMenu, {{"--indicator-y"}, {"--period-y"}, {"--zoom"}}},
        {CmdBoxplotByValue, MenuBoxplotByValue, MenuBoxplotByValue, "boxplot-value", I | R | P, &MakeView<grids::CBoxplotR>, &grids::CBoxplotR::FrameMenu, {{"--fraction"}}},
        {CmdBoxplotByRank, MenuBoxplotByRank, MenuBoxplotByRank, "boxplot-rank", I | R | P, &MakeView<grids::CBoxplotV>, &grids::CBoxplotV::FrameMenu, {}},
        {CmdHistogram, MenuHistogram, MenuHistogram, "histogram", I | P, &MakeView<CHist>, &CHist::FrameMenu, {{"--columns"}}},
        {CmdRegionProfile, MenuRegionProfile, MenuRegionProfile, "profile", R | P, &MakeView<grids::CProfile>, &grids::CProfile::FrameMenu, {}},
        {CmdAvailability, MenuAvailability, MenuAvailability, "availability", NeedNothing, &MakeView<grids::CAvail>, &grids::CAvail::FrameMenu, {{"--group"}, {"--zone"}}},
        {CmdTableA, MenuTableA, MenuTableA, "table-a", I | P, &MakeView<grids::CTableA>, &grids::CTableA::FrameMenu, {{"--all-periods", false}}},
        {CmdTableB, MenuTableB, MenuTableB, "table-b", I | R, &MakeView<grids::CTableB>, &grids::CTableB::FrameMenu, {}},
        {CmdTableC, MenuTableC, MenuTableC, "table-c", I | R, &MakeView<grids::CTableC>, &grids::CTableC::FrameMenu, {}},
        {CmdTableD, MenuTableD, MenuTableD, "table-d", I, &MakeView<grids::CTableD>, &grids::CTableD::FrameMenu, {}},
        {CmdTableE, MenuTableE, MenuTableE, "table-e", I | P, &MakeView<grids::CTableE>, &grids::CTableE::FrameMenu, {}},
    };
    // clang-format on
    return table;
}

const ViewEntry* FindViewByCommand(int command) {
    for (const ViewEntry& e : AllViews())
        if (e.command == command) return &e;
    return nullptr;
}

const ViewEntry* FindViewByName(std::string_view exportName) {
    for (const ViewEntry& e : AllViews())
        if (exportName == e.exportName) return &e;
    return nullptr;
}

} // namespace zor::views
