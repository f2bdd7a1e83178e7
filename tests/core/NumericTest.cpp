#include "core/Numeric.h"
#include "core/Catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

namespace zor {
namespace {

struct Scaled {
    float min, max, step;
};
Scaled Scale(float min, float max, int n) {
    float step = NiceScale(min, max, n);
    return {min, max, step};
}

TEST(NiceScale, WorkedExamples) {
    Scaled s = Scale(0.13f, 0.87f, 10);
    EXPECT_EQ(s.min, 0.1f);
    EXPECT_EQ(s.max, 0.9f);
    EXPECT_EQ(s.step, 0.1f);
    // Bounds given the wrong way round are swapped first.
    Scaled r = Scale(0.87f, 0.13f, 10);
    EXPECT_EQ(r.min, 0.1f);
    EXPECT_EQ(r.max, 0.9f);
    // A flat series is widened towards zero (or to 0..1 for zero itself).
    Scaled flat = Scale(5, 5, 10);
    EXPECT_EQ(flat.min, 0.0f);
    EXPECT_EQ(flat.max, 5.0f);
    EXPECT_EQ(flat.step, 1.0f);
    Scaled zero = Scale(0, 0, 10);
    EXPECT_EQ(zero.min, 0.0f);
    EXPECT_EQ(zero.max, 1.0f);
    EXPECT_EQ(zero.step, 0.1f);
    Scaled neg = Scale(-3, -3, 10);
    EXPECT_EQ(neg.min, -3.0f);
    EXPECT_EQ(neg.max, 0.0f);
    EXPECT_EQ(neg.step, 0.5f);
}

TEST(NiceScale, RefinesAndCoarsensTheStep) {
    // n = 0 returns the power of ten of the first rounding; otherwise fewer than four
    // intervals halve the step ...
    EXPECT_EQ(Scale(0, 2, 0).step, 1.0f);
    EXPECT_EQ(Scale(0, 2, 10).step, 0.5f);
    // ... and more than n intervals grow it by 5, then 2, alternately.
    Scaled five = Scale(0, 1000, 5);
    EXPECT_EQ(five.step, 500.0f);
    EXPECT_EQ(five.max, 1000.0f);
    EXPECT_EQ(Scale(0, 1000, 1).step, 1000.0f);
    // A range spanning zero cannot fit one interval; it stops at two.
    Scaled span = Scale(-1, 1, 1);
    EXPECT_EQ(span.min, -span.step);
    EXPECT_EQ(span.max, span.step);
}

TEST(NiceScale, NegativeOnlyRangesGainAStepAboveTheMaximum) {
    // A max that is no multiple of the step becomes (trunc(max / step) + 1) * step: -3.5 -> -2.
    Scaled s = Scale(-8, -3.5f, 0);
    EXPECT_EQ(s.min, -8.0f);
    EXPECT_EQ(s.max, -2.0f);
    EXPECT_EQ(s.step, 1.0f);
    // Without a re-rounding step the first rounding stands: -0.13 -> 0.
    Scaled t = Scale(-0.87f, -0.13f, 10);
    EXPECT_EQ(t.min, -0.9f);
    EXPECT_EQ(t.max, 0.0f);
    EXPECT_EQ(t.step, 0.1f);
    // A max that is a multiple of the step stays.
    Scaled u = Scale(-8, -3, 0);
    EXPECT_EQ(u.max, -3.0f);
}

TEST(NiceScale, AwkwardRangesStayFiniteAndOutward) {
    const float one = 1.0f, next = std::nextafter(1.0f, 2.0f);
    Scaled tiny = Scale(one, next, 10);
    EXPECT_LE(tiny.min, one);
    EXPECT_GE(tiny.max, next);
    EXPECT_GT(tiny.step, 0.0f);

    Scaled huge = Scale(-3.0e38f, 3.3e38f, 10);
    EXPECT_TRUE(std::isfinite(huge.min) && std::isfinite(huge.max));
    EXPECT_LE(huge.min, -3.0e38f);
    EXPECT_GE(huge.max, 3.3e38f);
    EXPECT_GT(huge.step, 0.0f);

    // Random ranges over the whole float range, every interval count.
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> exponent(-40, 38), unit(-1, 1);
    for (int i = 0; i < 20000; ++i) {
        float a = float(unit(rng) * std::pow(10.0, exponent(rng)));
        float b = float(unit(rng) * std::pow(10.0, exponent(rng)));
        int n = int(rng() % 12);
        Scaled s = Scale(a, b, n);
        ASSERT_TRUE(std::isfinite(s.step) && s.step > 0) << a << " " << b << " " << n;
        ASSERT_LE(s.min, std::min(a, b)) << a << " " << b << " " << n;
        ASSERT_GE(s.max, std::max(a, b)) << a << " " << b << " " << n;
        if (n > 0 && !(std::min(a, b) < 0 && std::max(a, b) > 0)) {
            ASSERT_LE((double(s.max) - s.min) / s.step, n + 1e-3) << a << " " << b << " " << n;
        }
    }

    float nanMin = std::nanf(""), max = 1;
    EXPECT_EQ(NiceScale(nanMin, max, 10), 0.0f);
    EXPECT_EQ(max, 1.0f);
}

TEST(FormatValue, WorkedExamples) {
    EXPECT_EQ(FormatValue(0.0000004f), "0");
    EXPECT_EQ(FormatValue(MissingValue), ". . .");
    EXPECT_EQ(FormatValue(0.123456f), "0.1235");
    EXPECT_EQ(FormatValue(123.456f), "123.46");
    EXPECT_EQ(FormatValue(12345.6f, 5), "12346");
    EXPECT_EQ(FormatValue(12345.6f), "12345.6");
}

TEST(FormatValue, MagnitudeBoundaries) {
    EXPECT_EQ(FormatValue(0.0f), "0");
    EXPECT_EQ(FormatValue(-0.0000009f), "0");
    EXPECT_EQ(FormatValue(1.0f), "1");
    EXPECT_EQ(FormatValue(-0.5f), "-0.5");
    EXPECT_EQ(FormatValue(0.00012345f), "0.0001234");
    EXPECT_EQ(FormatValue(0.00001f), "1e-05");
    EXPECT_EQ(FormatValue(1.5f), "1.5");
    EXPECT_EQ(FormatValue(9999.5f), "9999.5");
    EXPECT_EQ(FormatValue(-123.456f), "-123.46");
    // From 10000 on: trunc(log10) + 2 digits, no decimals when that exceeds the budget.
    EXPECT_EQ(FormatValue(10000.0f, 5), "10000");
    EXPECT_EQ(FormatValue(12345.6f, 6), "12345.6");
    EXPECT_EQ(FormatValue(-12345.6f, 5), "-12346");
    EXPECT_EQ(FormatValue(123456789.0f), "123456792");
    // Huge values have at least as many significant digits as integer digits: written in full.
    EXPECT_EQ(FormatValue(1.5e20f), "150000003006131601408");
    EXPECT_EQ(FormatValue(1.5e20f, 5), "150000003006131601408");
    // Not a number has no ordinary form, but still gets a text.
    EXPECT_EQ(FormatValue(std::numeric_limits<float>::infinity()), "inf");
    EXPECT_FALSE(FormatValue(std::nanf("")).empty());
}

TEST(SortDescending, LargestFirstMissingAndNaNLast) {
    std::vector<float> v = {3, MissingValue, 7, std::nanf(""), -2, 7, 0};
    SortDescending(v);
    ASSERT_EQ(v.size(), 7u);
    EXPECT_EQ(std::vector<float>(v.begin(), v.end() - 1),
              (std::vector<float>{7, 7, 3, 0, -2, MissingValue}));
    EXPECT_TRUE(std::isnan(v.back()));

    std::mt19937 rng(3);
    std::vector<float> big(5000);
    for (auto& x : big) x = float(int(rng() % 200) - 100);
    std::vector<float> want = big;
    std::sort(want.begin(), want.end(), std::greater<float>());
    SortDescending(big.data(), big.size());
    EXPECT_EQ(big, want);
    SortDescending(nullptr, 0); // nothing to sort
}

} // namespace
} // namespace zor

namespace zor {
namespace {

TEST(TruncToInt, TowardZeroWithinTheCoordinateLimit) {
    EXPECT_EQ(TruncToInt(2.9), 2);
    EXPECT_EQ(TruncToInt(-2.9), -2);
    EXPECT_EQ(TruncToInt(1e12), CoordinateLimit);
    EXPECT_EQ(TruncToInt(-1e12), -CoordinateLimit);
    EXPECT_EQ(TruncToInt(std::numeric_limits<double>::infinity()), CoordinateLimit);
    EXPECT_EQ(TruncToInt(std::nan("")), 0);
    // Sums of a few limited coordinates stay within int.
    EXPECT_GT(TruncToInt(1e300) + TruncToInt(1e300) - 100, 0);
}

} // namespace
} // namespace zor
