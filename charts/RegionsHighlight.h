// The "Regions highlighting" dialog of line chart A, apart from its widgets: the selected
// regions with their check marks and the "Use regions highlighting" box.
#pragma once

#include "charts/ViewHost.h"

#include <string>
#include <vector>

namespace zor::charts {

struct RegionsHighlightModel : DialogModel {
    std::vector<std::string> names; // the selected regions in selection order, UTF-8
    std::vector<bool> checked;      // per region: highlighted (OK writes them back)
    bool use = false;               // "Use regions highlighting"
};

// The region list can be used exactly while the box is checked.
inline bool HighlightListEnabled(bool use) {
    return use;
}

// The highlighted regions: the positions of the checked items in list order.
inline std::vector<int> HighlightedPositions(const std::vector<bool>& checked) {
    std::vector<int> out;
    for (size_t i = 0; i < checked.size(); ++i)
        if (checked[i]) out.push_back(static_cast<int>(i));
    return out;
}

} // namespace zor::charts
