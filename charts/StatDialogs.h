// The dialogs of the scattergram and the histogram apart from their widgets: "Scattergram
// setup" (the X and Y variables), "Statistics" (the correlation text) and "Histogram
// parameters" (the number of columns). The views hand these models to their host
// (ViewHost::RunDialog); the Qt dialogs are in charts/qt/StatDialogs.h.
#pragma once

#include "charts/ViewHost.h"

#include <cstddef>
#include <string>
#include <vector>

namespace zor::charts {

// --- "Scattergram setup" (20011): an indicator and a time period for X and for Y.
struct ScatterSetupModel : DialogModel {
    // The value table's lists in table order: UTF-8 names and their codes (the item data).
    std::vector<std::string> indicators;
    std::vector<int> indicatorCodes;
    std::vector<std::string> periods;
    std::vector<int> periodCodes;
    // Positions in the lists: preselected on opening, the choice once closed with OK.
    int xIndicator = 0, xPeriod = 0;
    int yIndicator = 0, yPeriod = 0;
};
// A position preselected in a list of `count` entries: out-of-range positions become 0.
int PreselectedPosition(int position, size_t count);

// --- "Statistics" (20012): the correlation text, shown with an OK button.
struct StatisticsModel : DialogModel {
    std::string text; // UTF-8, lines separated by '\n'
};

// --- "Histogram parameters" (20013): the number of columns, 3 to 15.
inline constexpr int MinColumns = 3;
inline constexpr int MaxColumns = 15;
inline constexpr int DefaultColumns = 7;
// A column count brought into 3 .. 15.
int ClampColumns(int columns);

struct HistogramColumnsModel : DialogModel {
    int columns = DefaultColumns; // preset on opening, the choice once closed with OK
};

} // namespace zor::charts
