// The "Ranked Bar Chart Selection" dialog of the horizontal ranked bar chart, apart from its
// widgets: the indicator and period of the blue bar and, with "Use two bars chart", of the light
// blue bar.
#pragma once

#include "charts/ViewHost.h"

#include <string>
#include <vector>

namespace zor::charts {

// Positions in the selection's indicator and period lists.
struct RankedChoice {
    int indicatorA = 0, periodA = 0;
    int indicatorB = 0, periodB = 0;
    bool twoBars = false;
    bool operator==(const RankedChoice&) const = default;
};

struct RankedSelectionModel : DialogModel {
    std::vector<std::string> indicators; // the combo boxes' lists, UTF-8
    std::vector<std::string> periods;
    RankedChoice choice; // what the dialog opens with; OK writes the new choice
};

// "Light blue bar:" and its two lists can be used exactly while two bars are asked for.
inline bool LightBlueEnabled(bool twoBars) {
    return twoBars;
}

// What OK returns: bar A and the check state, and bar B only when it is checked (otherwise the
// current B is kept).
inline RankedChoice AcceptRankedSelection(const RankedChoice& current, int indicatorA, int periodA,
                                          int indicatorB, int periodB, bool twoBars) {
    RankedChoice c = current;
    c.indicatorA = indicatorA;
    c.periodA = periodA;
    c.twoBars = twoBars;
    if (twoBars) {
        c.indicatorB = indicatorB;
        c.periodB = periodB;
    }
    return c;
}

} // namespace zor::charts
