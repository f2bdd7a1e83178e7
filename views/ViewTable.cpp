#include "views/ViewTable.h"

#include "charts/CBarChart.h"
#include "charts/CHist.h"
#include "charts/CScChart.h"

namespace zor::views {

using namespace charts;

namespace {

constexpr unsigned I = NeedIndicators, R = NeedRegions, P = NeedPeriods;

} // namespace

const std::vector<ViewEntry>& AllViews() {
    // command, menu, title, zorexport name, needs, factory, frame menu, render options
    static const std::vector<ViewEntry> table = {
        {CmdBarChart,
         MenuBarChart,
         MenuBarChart,
         "barchart",
         I | R | P,
         &MakeView<CBarChart>,
         &CBarChart::FrameMenu,
         {}},
        {CmdScattergram,
         MenuScattergram,
         MenuScattergram,
         "scatter",
         I | P,
         &MakeView<CScChart>,
         &CScChart::FrameMenu,
         {{"--indicator-y"}, {"--period-y"}, {"--zoom"}}},
        {CmdHistogram,
         MenuHistogram,
         MenuHistogram,
         "histogram",
         I | P,
         &MakeView<CHist>,
         &CHist::FrameMenu,
         {{"--columns"}}},
    };
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
