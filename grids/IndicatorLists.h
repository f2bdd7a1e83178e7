// The indicator lists of the grid views that show a whole indicator group (the region profile,
// data availability): which groups a region set has data for, a group's indicators in the order
// the grids list them, and the labels of their rows.
#pragma once

#include "core/Catalogue.h"

#include <string>
#include <vector>

namespace zor {
class DataStore;
}

namespace zor::grids {

// One flag per group position of the catalogue (at most the first ten): set when the group
// announces indicators and the region set `setCode` lists an indicator of the group in its .ind
// file (any set for a code that is no set's, as under 19900). The temporary group needs only
// its announced indicators: they are computed from the stored ones.
std::vector<bool> GroupAvailability(const DataStore& store, int setCode);

// The group's indicators, each main indicator followed directly by its variants, in catalogue
// order; the group's list is read first when it was not yet. Empty for a position outside the
// catalogue or a group that could not be read.
std::vector<ListItem> GroupIndicatorList(DataStore& store, int groupPosition);

// A variant of a stored indicator: a code of groups 0-9 not divisible by 10.
bool IsSubIndicator(int code);

// "%4.4d %s": the code with at least four digits, a blank and the name.
std::string IndicatorLabel(const ListItem& indicator);

} // namespace zor::grids
