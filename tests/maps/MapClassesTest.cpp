// Classification against worked examples: limits of both modes, the class of a value, legend
// labels, the classification word and the colour tables.
#include "maps/MapClasses.h"
#include "core/DataTable.h"
#include "tests/maps/MapTestSupport.h"

#include <gtest/gtest.h>

namespace zor::maps {
namespace {

constexpr float M = MissingValue;
using Limits = std::vector<float>;

MapTexts Texts() {
    MapTexts t;
    t.ranks = {"Upper", "6-th", "5-th", "4-th", "3-rd", "2-nd", "Lower"};
    t.scaleRows = {"6-th", "5-th", "4-th", "3-rd", "2-nd", "1-st"};
    return t;
}

TEST(MapLimits, EqualIntervalsFromTheTopDown) {
    EXPECT_EQ(EqualLimits(50, 90, 5), (Limits{90, 82, 74, 66, 58, 50}));
    EXPECT_EQ(EqualLimits(0, 60, 3), (Limits{60, 40, 20, 0}));
    EXPECT_EQ(EqualLimits(-10, 10, 4), (Limits{10, 5, 0, -5, -10}));
}

TEST(MapLimits, QuantilesOfTenValuesInThreeSections) {
    // q = 10 / 3 = 3.333: sorted[0], sorted[3], sorted[6], sorted[9].
    const Limits values{4, 1, 9, 7, M, 10, 2, 5, 3, 8, 6};
    EXPECT_EQ(QuantileLimits(values, 3), (Limits{10, 7, 4, 1}));
    // Five sections: q = 2: sorted[2], [4], [6], [8].
    EXPECT_EQ(QuantileLimits(values, 5), (Limits{10, 8, 6, 4, 2, 1}));
    // One value: every limit is that value; none: all missing.
    EXPECT_EQ(QuantileLimits({M, 3.5f}, 4), (Limits{3.5f, 3.5f, 3.5f, 3.5f, 3.5f}));
    EXPECT_EQ(QuantileLimits({M, M}, 3), (Limits{M, M, M, M}));
}

TEST(MapLimits, ClassOfAValue) {
    const Limits p{60, 48, 36, 24, 12, 0};
    EXPECT_EQ(ClassOf(60, p), 0); // on the top limit
    EXPECT_EQ(ClassOf(0, p), 4);  // on the bottom limit: class m - 1
    EXPECT_EQ(ClassOf(36, p), 2); // on an inner limit: the class whose label shows it
    EXPECT_EQ(ClassOf(36.01f, p), 1);
    EXPECT_EQ(ClassOf(0.5f, p), 4);
    EXPECT_EQ(ClassOf(M, p), 5);
    // After narrowing the range, values outside it are drawn as no data.
    const Limits narrowed{40, 30, 20, 10};
    EXPECT_EQ(ClassOf(41, narrowed), 3);
    EXPECT_EQ(ClassOf(9, narrowed), 3);
    EXPECT_EQ(ClassOf(40, narrowed), 0);
    // An indicator without data: everything is no data.
    EXPECT_EQ(ClassOf(5, Limits{M, M, M, M}), 3);
    // A single value: it sits on the top limit.
    EXPECT_EQ(ClassOf(7, Limits{7, 7, 7, 7}), 0);
}

TEST(MapLimits, ComputedFromTheTableForEveryMAndPeriod) {
    test::StartedStore db(test::Country);
    DataTable table(db.store, 10000, {{1010, "Income per head"}, {1020, "Exports"}}, {},
                    {{2000, "2000"}, {2001, "2001"}}, RowsTopLevel, false);
    ASSERT_EQ(table.Load(), 0);
    const ClassBreaks b = ComputeClassBreaks(table);
    ASSERT_EQ(b.IndicatorCount(), 2);
    // 0 .. 60 over both years and all four rows (the total included).
    const auto equal3 = b.Limits(0, 3, ClassMode::Parts);
    EXPECT_EQ(Limits(equal3.begin(), equal3.end()), (Limits{60, 40, 20, 0}));
    const auto defaults5 = b.Defaults(0, 5);
    EXPECT_EQ(Limits(defaults5.begin(), defaults5.end()), (Limits{60, 48, 36, 24, 12, 0}));
    // Quantiles of 60, 40, 30, 20, 15, 10, 0 (South's missing 2001 left out): q = 7 / 3.
    const auto quant3 = b.Limits(0, 3, ClassMode::Quintiles);
    EXPECT_EQ(Limits(quant3.begin(), quant3.end()), (Limits{60, 30, 15, 0}));
    // Exports has no value at all.
    for (int m = 3; m <= 7; ++m)
        for (ClassMode mode : {ClassMode::Parts, ClassMode::Quintiles})
            for (float v : b.Limits(1, m, mode)) EXPECT_EQ(v, M);
    EXPECT_TRUE(b.Limits(2, 5, ClassMode::Parts).empty());
    EXPECT_TRUE(b.Limits(0, 8, ClassMode::Parts).empty());

    // The dialog's limits replace the equal ones of one m only; the defaults stay.
    ClassBreaks edited = b;
    EXPECT_TRUE(edited.SetEqual(0, 3, Limits{50, 30, 25, 5}));
    EXPECT_FALSE(edited.SetEqual(0, 3, Limits{50, 5}));
    EXPECT_EQ(edited.Limits(0, 3, ClassMode::Parts)[2], 25);
    EXPECT_EQ(edited.Limits(0, 4, ClassMode::Parts)[0], 60);
    EXPECT_EQ(edited.Defaults(0, 3)[2], 20);
}

TEST(MapLabels, PartsQuintilesAndTheMinLine) {
    const MapTexts t = Texts();
    const Limits p{60, 48, 36, 24, 12, 0};
    EXPECT_EQ(LegendLabels(ClassMode::Parts, p, t),
              (std::vector<std::string>{"<= 60", "<= 48", "<= 36", "<= 24", "<= 12", "No data"}));
    EXPECT_EQ(LegendLabels(ClassMode::Quintiles, p, t),
              (std::vector<std::string>{"Upper", "4-th", "3-rd", "2-nd", "Lower", "No data"}));
    EXPECT_EQ(MinLine(p, t), "Min = 0");
    // Class m - 1 is "Lower" for every m.
    for (int m = 3; m <= 7; ++m) {
        const auto labels = LegendLabels(ClassMode::Quintiles, Limits(size_t(m) + 1, 1.0f), t);
        EXPECT_EQ(labels[0], "Upper");
        EXPECT_EQ(labels[size_t(m) - 1], "Lower") << m;
        EXPECT_EQ(labels[size_t(m)], "No data");
    }
    EXPECT_EQ(LegendLabels(ClassMode::Quintiles, Limits(8, 1.0f), t)[1], "6-th");
    // Without data: no Parts labels and no Min line.
    EXPECT_EQ(LegendLabels(ClassMode::Parts, Limits{M, M, M, M}, t),
              (std::vector<std::string>{"", "", "", "No data"}));
    EXPECT_EQ(MinLine(Limits{M, M, M, M}, t), std::nullopt);
}

TEST(MapLabels, InnerRowsOfTheScaleDialogEndWithFirstForEveryM) {
    const MapTexts t = Texts();
    auto rows = [&](int m) {
        std::vector<std::string> out;
        for (int k = 1; k < m; ++k) out.push_back(ScaleRowLabel(m, k, t));
        return out;
    };
    EXPECT_EQ(rows(3), (std::vector<std::string>{"2-nd", "1-st"}));
    EXPECT_EQ(rows(4), (std::vector<std::string>{"3-rd", "2-nd", "1-st"}));
    EXPECT_EQ(rows(5), (std::vector<std::string>{"4-th", "3-rd", "2-nd", "1-st"}));
    EXPECT_EQ(rows(6), (std::vector<std::string>{"5-th", "4-th", "3-rd", "2-nd", "1-st"}));
    EXPECT_EQ(rows(7), (std::vector<std::string>{"6-th", "5-th", "4-th", "3-rd", "2-nd", "1-st"}));
}

TEST(MapClassStateWord, SectionsBitsAndModeByte) {
    MapClassState s;
    EXPECT_EQ(s.word, 0x0401);
    EXPECT_EQ(s.Sections(), 5);
    EXPECT_EQ(s.Mode(), ClassMode::Parts);
    EXPECT_FALSE(s.DefaultDisabled());
    s.SetSections(7);
    EXPECT_EQ(s.word, 0x1001);
    s.ToggleMode();
    EXPECT_EQ(s.word, 0x1002);
    EXPECT_EQ(s.Mode(), ClassMode::Quintiles);
    EXPECT_TRUE(s.DefaultDisabled());
    s.SetSections(3); // keeps the mode
    EXPECT_EQ(s.word, 0x0102);
    s.SetSections(8); // ignored
    EXPECT_EQ(s.Sections(), 3);
    s.ToggleMode();
    EXPECT_EQ(s.word, 0x0101);
}

TEST(MapColors, DefaultTablesAndTheConfiguredSeven) {
    using draw::Rgb;
    const MapColorTables d = MakeMapColorTables();
    for (int m = 3; m <= 7; ++m) {
        ASSERT_EQ(d.Colors(m, false).size(), size_t(m) + 1);
        EXPECT_EQ(d.Colors(m, false).back(), draw::White);
        EXPECT_EQ(d.Colors(m, true).back(), draw::White);
    }
    EXPECT_EQ(d.Colors(4, false)[0], Rgb(255, 0, 0));
    EXPECT_EQ(d.Colors(7, false)[5], Rgb(255, 220, 0));
    EXPECT_EQ(d.Colors(6, true)[3], Rgb(165, 165, 165));
    EXPECT_TRUE(d.Colors(2, false).empty());

    std::array<uint32_t, 7> seven{};
    for (uint32_t i = 0; i < 7; ++i) seven[i] = Rgb(int(i) + 1, 0, 0);
    const MapColorTables c = MakeMapColorTables(seven);
    auto reds = [&](int m) {
        std::vector<int> out;
        for (draw::Color col : c.Colors(m, false)) out.push_back(draw::RedOf(col));
        return out;
    };
    EXPECT_EQ(reds(7), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 255}));
    EXPECT_EQ(reds(6), (std::vector<int>{1, 2, 3, 4, 5, 7, 255}));
    EXPECT_EQ(reds(5), (std::vector<int>{2, 3, 4, 5, 7, 255}));
    EXPECT_EQ(reds(4), (std::vector<int>{3, 4, 5, 7, 255}));
    EXPECT_EQ(reds(3), (std::vector<int>{4, 5, 7, 255}));
    // The grey tables never change.
    for (int m = 3; m <= 7; ++m)
        EXPECT_TRUE(std::ranges::equal(c.Colors(m, true), d.Colors(m, true))) << m;
}

} // namespace
} // namespace zor::maps
