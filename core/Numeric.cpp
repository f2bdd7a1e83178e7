#include "core/Numeric.h"

#include "core/Catalogue.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace zor {

namespace {

// Stores a double bound as float without turning it into an infinity.
float ToFloatBound(double v) {
    constexpr double kMax = std::numeric_limits<float>::max();
    if (v > kMax) return std::numeric_limits<float>::max();
    if (v < -kMax) return std::numeric_limits<float>::lowest();
    return float(v);
}

// printf-style "%.*g" / "%.0f" in the C locale, whatever the process locale is.
std::string General(double v, int precision) {
    char buf[400];
    auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, precision);
    return std::string(buf, r.ptr);
}

std::string Fixed0(double v) {
    char buf[400];
    auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 0);
    return std::string(buf, r.ptr);
}

} // namespace

float NiceScale(float& minRef, float& maxRef, int intervals) {
    if (!std::isfinite(minRef) || !std::isfinite(maxRef)) return 0.0f;
    const int n = intervals < 0 ? 0 : intervals;
    double lo = minRef, hi = maxRef;
    if (lo > hi) std::swap(lo, hi);
    if (lo == hi) {
        if (lo > 0)
            lo = 0;
        else if (lo == 0)
            hi = 1;
        else
            hi = 0;
    }
    const double m = lo, M = hi; // the bounds as passed in, for re-rounding

    const double g = std::log10(M - m);
    const int h = g >= 0 ? int(std::trunc(g)) : int(std::trunc(g)) - 1;
    double step = std::pow(10.0, h);

    lo = std::floor(m / step) * step;
    const double k = std::trunc(M / step);
    if (std::fabs(k * step - M) <= 1e-6 * std::fabs(M))
        hi = M;
    else
        // trunc rounds a negative max up already, so it gains a whole step here: the axis of a
        // negative-only range ends one step above its data, as it always has.
        hi = (k + 1) * step;

    auto reround = [&] {
        lo = std::floor(m / step) * step;
        hi = std::ceil(M / step) * step;
    };
    if (n > 0) {
        if ((hi - lo) / step < 4) {
            step /= 2;
            reround();
            if ((hi - lo) / step < 4) {
                step /= 5;
                reround();
            }
        }
        // Zero is always a tick, so a range spanning it needs at least two intervals.
        const int most = m < 0 && M > 0 ? std::max(n, 2) : n;
        bool times5 = true;
        while ((hi - lo) / step > most) {
            step *= times5 ? 5 : 2;
            times5 = !times5;
            reround();
        }
    }
    minRef = ToFloatBound(lo);
    maxRef = ToFloatBound(hi);
    return float(step);
}

std::string FormatValue(float value, int budget) {
    const double x = value;
    const double a = std::fabs(x);
    if (a < 1e-6) return "0";
    if (value == MissingValue) return ". . .";
    if (!std::isfinite(x)) return std::isnan(x) ? "nan" : (x > 0 ? "inf" : "-inf");
    if (a <= 1) return General(x, 4);
    if (a < 10000) return General(x, int(std::trunc(std::log10(a))) + 3);
    const int p = int(std::trunc(std::log10(a))) + 2;
    if (budget != -1 && p > budget) return Fixed0(x);
    return General(x, p);
}

void SortDescending(float* values, size_t count) {
    if (!values || count < 2) return;
    // Equal values are indistinguishable, so any correct descending order is the same array.
    std::stable_sort(values, values + count, [](float a, float b) {
        if (std::isnan(a)) return false;
        if (std::isnan(b)) return true;
        return a > b;
    });
}

int TruncToInt(double v) {
    if (v != v) return 0;
    if (v >= CoordinateLimit) return CoordinateLimit;
    if (v <= -CoordinateLimit) return -CoordinateLimit;
    return static_cast<int>(v);
}

} // namespace zor
