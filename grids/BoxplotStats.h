// The statistics behind the boxplots: for one indicator and period, how the values of all rows
// of a value table spread, where the box of the middle values lies (by value), and the ranks of
// a chosen region and of the total row (by rank). Values are float32; missing is MissingValue.
#pragma once

#include "core/Catalogue.h"

#include <span>

namespace zor::grids {

// One (indicator, period) of the boxplot by value. An empty record (maxValue missing) has no
// bar.
struct BoxStats {
    int boxTopIndex = 0;    // index in the values sorted largest first of the box's upper value
    int boxBottomIndex = 0; // of its lower value
    int valueCount = 0;     // k, the present values
    float regionValue = MissingValue;
    float minValue = MissingValue;
    float maxValue = MissingValue;
    float boxLow = MissingValue;  // the value at boxBottomIndex
    float boxHigh = MissingValue; // the value at boxTopIndex
    float totalValue = MissingValue;
    bool Empty() const { return IsMissing(maxValue); }
};

// One (indicator, period) of the boxplot by rank. An empty record (valueCount -1) has no bar.
struct RankStats {
    int valueCount = -1;
    int regionRank = 0; // present values <= the region's value; 0 when it is missing
    int totalRank = 0;  // present values <= the total's value (when that is present)
    float regionValue = MissingValue;
    float totalValue = MissingValue;
    float minValue = MissingValue;
    float maxValue = MissingValue;
    bool Empty() const { return valueCount < 0; }
};

// The scale steps of the box fraction: step 1 ... 9 gives 90 % ... 10 %.
inline constexpr int FirstScaleStep = 1;
inline constexpr int LastScaleStep = 9;
inline constexpr int DefaultScaleStep = 2; // 80 %
// 1 - step × 0.1, in float32 as stored (step 2: 0.8 = 0x3F4CCCCD).
float BoxFraction(int step);

// The box of k present values sorted largest first for a fraction f: from index
// trunc(k (1 - f) / 2) down to trunc(k (1 + f) / 2), computed in double from the float f.
struct BoxIndices {
    int top = 0, bottom = 0;
};
BoxIndices BoxIndicesOf(int k, float fraction);

// The number of present values <= v among `sortedPresent` (largest first): k less the values
// above the first one equal to v, 0 when none is equal.
int RankOf(std::span<const float> sortedPresent, float v);

// The records of the values of every row of one (indicator, period). `regionRow` is the chosen
// region's row (-1: not in the table), `totalRow` the total row's (-1: none).
BoxStats ComputeBoxStats(std::span<const float> values, int regionRow, int totalRow,
                         float fraction);
RankStats ComputeRankStats(std::span<const float> values, int regionRow, int totalRow);

} // namespace zor::grids
