// Numeric helpers shared by every view: axis rounding, the one number formatter and the
// descending sort. Values are float32; missing is MissingValue (-1e8, exact equality).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace zor {

// Rounds [min, max] outwards to multiples of a tick step and returns the step.
// The bounds are swapped when min > max; a flat range is widened to include 0 (or to 0..1 for
// zero). `intervals` is the largest number of intervals wanted; 0 returns the power-of-ten
// step after the first rounding (a negative count counts as 0). Arithmetic is in double, the
// results are stored back as float. Non-finite bounds are left alone and give step 0.
float NiceScale(float& min, float& max, int intervals);

// The text of a value: "0" below 1e-6 in magnitude, ". . ." for MissingValue, else 4 to 6
// significant digits depending on the magnitude; values of 10000 and more are written without
// decimals when their digit count exceeds `budget` (-1 = no budget). Always uses '.'.
std::string FormatValue(float value, int budget = -1);

// A computed coordinate as an integer: truncated toward zero. Coordinates are kept within
// +-CoordinateLimit (2^29), so sums and differences of up to four cannot overflow an int;
// values beyond it (infinities included) stop at the limit, and NaN gives 0.
inline constexpr int CoordinateLimit = 1 << 29;
int TruncToInt(double v);

// Sorts largest first. MissingValue (-1e8) sorts below every ordinary value; NaN sorts last.
void SortDescending(float* values, size_t count);
inline void SortDescending(std::vector<float>& values) {
    SortDescending(values.data(), values.size());
}

} // namespace zor
