// The user's current choice of region set, indicators, regions and time periods. The
// parameter dialog replaces it on OK; views copy what they need into their own DataTable.
#pragma once

#include "core/Catalogue.h"

#include <vector>

namespace zor {

class Selection {
public:
    // The dialog lets the user check at most this many entries per list.
    static constexpr int DefaultLimit = 30;
    enum class List { Indicators, Regions, Periods };

    // 10000 top level, 19900 all sets together, else the id of a specific set.
    int SetCode() const { return setCode_; }
    const std::vector<ListItem>& Indicators() const { return indicators_; }
    const std::vector<ListItem>& Regions() const { return regions_; } // codes are RegionKeys
    const std::vector<ListItem>& Periods() const { return periods_; } // may hold -1 and -2
    // The region list as it was last confirmed; the dialog's top-level mode starts from it.
    const std::vector<ListItem>& ConfirmedRegions() const { return confirmedRegions_; }

    // What OK of the parameter dialog does: replaces the lists and the set code and keeps a
    // copy of the regions as the confirmed regions.
    void Confirm(int setCode, std::vector<ListItem> indicators, std::vector<ListItem> regions,
                 std::vector<ListItem> periods);
    // Drops the temporary indicators (codes above 9999), after their definitions changed.
    void RemoveTemporaryIndicators();

    // Entry limit of a list; a limit that was never set (or set below 1) is DefaultLimit.
    int Limit(List list) const;
    void SetLimit(List list, int limit);
    // Whether one more entry may be checked in the list.
    bool CanAdd(List list, int checkedCount) const { return checkedCount < Limit(list); }

private:
    int setCode_ = TopLevelSetId;
    std::vector<ListItem> indicators_;
    std::vector<ListItem> regions_;
    std::vector<ListItem> periods_;
    std::vector<ListItem> confirmedRegions_;
    int limits_[3] = {0, 0, 0};
};

} // namespace zor
