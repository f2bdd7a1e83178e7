#include "charts/StatDialogs.h"

#include <algorithm>

namespace zor::charts {

int PreselectedPosition(int position, size_t count) {
    return position >= 0 && static_cast<size_t>(position) < count ? position : 0;
}

int ClampColumns(int columns) {
    return std::clamp(columns, MinColumns, MaxColumns);
}

} // namespace zor::charts
