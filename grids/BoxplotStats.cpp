#include "grids/BoxplotStats.h"

#include "core/Numeric.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace zor::grids {

namespace {

float At(std::span<const float> values, int row) {
    return row >= 0 && static_cast<size_t>(row) < values.size() ? values[static_cast<size_t>(row)]
                                                                : MissingValue;
}

// The values sorted largest first (missing ones, then NaN from a broken file, last) and the
// count of present ones before them.
std::vector<float> Sorted(std::span<const float> values, int& present) {
    std::vector<float> sorted(values.begin(), values.end());
    SortDescending(sorted);
    const auto end =
        std::ranges::find_if(sorted, [](float v) { return IsMissing(v) || std::isnan(v); });
    present = static_cast<int>(end - sorted.begin());
    return sorted;
}

} // namespace

float BoxFraction(int step) {
    return 1.0f - static_cast<float>(step) * 0.1f;
}

BoxIndices BoxIndicesOf(int k, float fraction) {
    if (k <= 0) return {};
    const double f = static_cast<double>(fraction);
    const double n = static_cast<double>(k);
    // A fraction beyond 0 ... 1 still gives indices of present values.
    return {std::clamp(TruncToInt(n * (1.0 - f) / 2.0), 0, k - 1),
            std::clamp(TruncToInt(n * (1.0 + f) / 2.0), 0, k - 1)};
}

int RankOf(std::span<const float> sortedPresent, float v) {
    const int k = static_cast<int>(sortedPresent.size());
    for (int above = 0; above < k; ++above)
        if (sortedPresent[static_cast<size_t>(above)] == v) return k - above;
    return 0;
}

BoxStats ComputeBoxStats(std::span<const float> values, int regionRow, int totalRow,
                         float fraction) {
    BoxStats s;
    s.regionValue = At(values, regionRow);
    s.totalValue = At(values, totalRow);
    int k = 0;
    const std::vector<float> sorted = Sorted(values, k);
    s.valueCount = k;
    if (k == 0) return s;
    s.maxValue = sorted.front();
    s.minValue = sorted[static_cast<size_t>(k - 1)];
    const BoxIndices box = BoxIndicesOf(k, fraction);
    s.boxTopIndex = box.top;
    s.boxBottomIndex = box.bottom;
    s.boxHigh = sorted[static_cast<size_t>(box.top)];
    s.boxLow = sorted[static_cast<size_t>(box.bottom)];
    return s;
}

RankStats ComputeRankStats(std::span<const float> values, int regionRow, int totalRow) {
    RankStats s;
    if (regionRow < 0 || static_cast<size_t>(regionRow) >= values.size()) return s;
    s.regionValue = At(values, regionRow);
    s.totalValue = At(values, totalRow);
    int k = 0;
    const std::vector<float> sorted = Sorted(values, k);
    if (k == 0) return s;
    const std::span<const float> present(sorted.data(), static_cast<size_t>(k));
    s.valueCount = k;
    s.maxValue = sorted.front();
    s.minValue = sorted[static_cast<size_t>(k - 1)];
    s.regionRank = RankOf(present, s.regionValue);
    if (!IsMissing(s.totalValue)) s.totalRank = RankOf(present, s.totalValue);
    return s;
}

} // namespace zor::grids
