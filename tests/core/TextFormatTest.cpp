// Number texts from format strings that a titles file may have replaced.
#include "core/TextFormat.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zor {
namespace {

TEST(FormatNumbers, FillsNumberConversionsInOrder) {
    EXPECT_EQ(FormatNumbers("Correlation: %.3g from: %.3g to: %.3g", {0.61297, 0.5024, 0.7038}),
              "Correlation: 0.613 from: 0.502 to: 0.704");
    EXPECT_EQ(FormatNumbers("Page %d", {3.9}), "Page 3");
    EXPECT_EQ(FormatNumbers("%i|%-5d|%+.1f|%08.2e|%G", {-2.5, 7, 1.25, 1234.5, 1e-7}),
              "-2|7    |+1.2|1.23e+03|1E-07");
    EXPECT_EQ(FormatNumbers("%.2g%% middle values", {90}), "90% middle values");
}

TEST(FormatNumbers, AnythingElseIsCopiedAsWritten) {
    // Conversions that would read a pointer or write through one, a '*' width, and conversions
    // beyond the values given stay text.
    EXPECT_EQ(FormatNumbers("%s and %n and %p and %c", {1, 2, 3, 4}), "%s and %n and %p and %c");
    EXPECT_EQ(FormatNumbers("%*d %g %g", {5, 6}), "%*d 5 6");
    EXPECT_EQ(FormatNumbers("%g %g", {1}), "1 %g");
    EXPECT_EQ(FormatNumbers("100%", {1}), "100%");
    EXPECT_EQ(FormatNumbers("%.", {1}), "%.");
    EXPECT_EQ(FormatNumbers("", {1}), "");
    // Absurd widths and precisions are cut; infinities and NaN do not break integers.
    EXPECT_EQ(FormatNumbers("%999999999999d", {1}).size(), 99u);
    EXPECT_EQ(FormatNumbers("%.500f", {1}).size(), 101u);
    EXPECT_EQ(FormatNumbers("%d %d", {std::nan(""), HUGE_VAL}), "0 9200000000000000000");
}

} // namespace
} // namespace zor
