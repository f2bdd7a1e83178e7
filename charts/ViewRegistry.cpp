#include "charts/ViewRegistry.h"

#include "core/Selection.h"

namespace zor::charts {

bool SelectionMeets(unsigned needs, const Selection& s) {
    if ((needs & NeedIndicators) && s.Indicators().empty()) return false;
    if ((needs & NeedRegions) && s.Regions().empty()) return false;
    if ((needs & NeedPeriods) && s.Periods().empty()) return false;
    return true;
}

} // namespace zor::charts
