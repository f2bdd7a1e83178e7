#include "core/Selection.h"

#include <algorithm>

namespace zor {

void Selection::Confirm(int setCode, std::vector<ListItem> indicators,
                        std::vector<ListItem> regions, std::vector<ListItem> periods) {
    setCode_ = setCode;
    indicators_ = std::move(indicators);
    regions_ = std::move(regions);
    periods_ = std::move(periods);
    confirmedRegions_ = regions_;
}

void Selection::RemoveTemporaryIndicators() {
    std::erase_if(indicators_, [](const ListItem& i) { return i.code >= TempIndicatorBase; });
}

int Selection::Limit(List list) const {
    int l = limits_[int(list)];
    return l >= 1 ? l : DefaultLimit;
}

void Selection::SetLimit(List list, int limit) {
    limits_[int(list)] = limit;
}

} // namespace zor
