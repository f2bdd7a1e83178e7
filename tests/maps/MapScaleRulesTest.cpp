// The 'Map Scale Parameters' dialog's rules: pages per mode, the wrapping sections, strictly
// decreasing lists on a tab change, the rebuild for a new count, Default, and OK on each page.
#include "maps/MapScaleRules.h"

#include <gtest/gtest.h>

namespace zor::maps {
namespace {

using Rows = ScaleRows;
using Strings = std::vector<std::string>;

MapScaleInput Input(ClassMode mode = ClassMode::Parts) {
    MapScaleInput in;
    in.sections = 5;
    in.mode = mode;
    in.texts.ranks = {"Upper", "6-th", "5-th", "4-th", "3-rd", "2-nd", "Lower"};
    in.texts.scaleRows = {"6-th", "5-th", "4-th", "3-rd", "2-nd", "1-st"};
    for (int m = 3; m <= 7; ++m) {
        in.equal[size_t(m - 3)] = EqualLimits(0, 60, m);
        in.defaults[size_t(m - 3)] = EqualLimits(0, 120, m);
    }
    in.equal[2] = {100, 80, 60, 40, 20, 0}; // edited earlier
    return in;
}

Strings Values(const Rows& rows) {
    Strings out;
    for (const auto& r : rows) out.push_back(r.second);
    return out;
}

TEST(MapScaleRules, PagesAndDefaultPerMode) {
    MapScaleRules parts(Input());
    EXPECT_EQ(parts.Pages(), (std::vector<ScalePage>{ScalePage::Sections, ScalePage::AllRanges,
                                                     ScalePage::MinMax}));
    EXPECT_TRUE(parts.DefaultEnabled());
    MapScaleRules quint(Input(ClassMode::Quintiles));
    EXPECT_EQ(quint.Pages(), std::vector<ScalePage>{ScalePage::Sections});
    EXPECT_FALSE(quint.DefaultEnabled());
    // OK on the only page sets the count and stores no limits.
    quint.SetSections(6);
    EXPECT_EQ(quint.Ok(ScalePage::Sections, {}), (MapScaleResult{6, std::nullopt}));
}

TEST(MapScaleRules, SectionsWrapBothWays) {
    MapScaleRules r(Input());
    EXPECT_EQ(r.Step(1), 6);
    EXPECT_EQ(r.Step(1), 7);
    EXPECT_EQ(r.Step(1), 3);
    EXPECT_EQ(r.Step(-1), 7);
    EXPECT_EQ(r.Step(-1), 6);
    r.SetSections(12);
    EXPECT_EQ(r.Sections(), 7);
}

TEST(MapScaleRules, ListsOfTheCurrentLimitsWithTheirRowLabels) {
    MapScaleRules r(Input());
    EXPECT_EQ(r.AllRangesRows(), (Rows{{"Max", "100"},
                                       {"4-th", "80"},
                                       {"3-rd", "60"},
                                       {"2-nd", "40"},
                                       {"1-st", "20"},
                                       {"Min", "0"}}));
    EXPECT_EQ(r.MinMaxRows(), (Rows{{"Max", "100"}, {"Min", "0"}}));
}

TEST(MapScaleRules, ListPagesAreLeftOnlyWithStrictlyDecreasingNumbers) {
    EXPECT_TRUE(MapScaleRules::CanLeave(ScalePage::AllRanges, {"100", "80", "60.5", "-3"}));
    EXPECT_FALSE(MapScaleRules::CanLeave(ScalePage::AllRanges, {"100", "80", "80", "0"}));
    EXPECT_FALSE(MapScaleRules::CanLeave(ScalePage::AllRanges, {"100", "120", "60", "0"}));
    EXPECT_FALSE(MapScaleRules::CanLeave(ScalePage::MinMax, {"10", "abc"}));
    EXPECT_TRUE(MapScaleRules::CanLeave(ScalePage::MinMax, {" 10 ", "2,5"}));
    EXPECT_TRUE(MapScaleRules::CanLeave(ScalePage::Sections, {}));
}

TEST(MapScaleRules, ANewCountRebuildsBothListsWhenAListPageIsEntered) {
    MapScaleRules r(Input());
    EXPECT_FALSE(r.Enter(ScalePage::AllRanges)); // same count: the lists stay
    r.Step(-2);                                  // 3
    EXPECT_FALSE(r.Enter(ScalePage::Sections));
    EXPECT_EQ(r.BuiltFor(), 5);
    EXPECT_TRUE(r.Enter(ScalePage::MinMax));
    EXPECT_EQ(r.BuiltFor(), 3);
    EXPECT_EQ(r.AllRangesRows(),
              (Rows{{"Max", "60"}, {"2-nd", "40"}, {"1-st", "20"}, {"Min", "0"}}));
    EXPECT_EQ(r.MinMaxRows(), (Rows{{"Max", "60"}, {"Min", "0"}}));
    EXPECT_FALSE(r.Enter(ScalePage::AllRanges));
}

TEST(MapScaleRules, DefaultWritesTheDefaultLimitsForTheCountShown) {
    MapScaleRules r(Input());
    r.Default();
    EXPECT_EQ(Values(r.AllRangesRows()), (Strings{"120", "96", "72", "48", "24", "0"}));
    EXPECT_EQ(Values(r.MinMaxRows()), (Strings{"120", "0"}));
    r.Step(1); // 6, then Default without visiting a list page
    r.Default();
    EXPECT_EQ(r.BuiltFor(), 6);
    EXPECT_EQ(Values(r.AllRangesRows()), (Strings{"120", "100", "80", "60", "40", "20", "0"}));
    EXPECT_FALSE(r.Enter(ScalePage::AllRanges)); // built for 6 already
}

TEST(MapScaleRules, OkStoresWhatTheCurrentPageHolds) {
    MapScaleRules r(Input());
    // All rangs: the values as typed, for the count of the lists.
    EXPECT_EQ(r.Ok(ScalePage::AllRanges, {"90", "70", "50", "30", "10", "5"}),
              (MapScaleResult{5, std::vector<float>{90, 70, 50, 30, 10, 5}}));
    // Min && Max: the inner limits spread evenly.
    EXPECT_EQ(r.Ok(ScalePage::MinMax, {"50", "0"}),
              (MapScaleResult{5, std::vector<float>{50, 40, 30, 20, 10, 0}}));
    // Not decreasing is refused only on a tab change; OK stores it as typed.
    EXPECT_EQ(r.Ok(ScalePage::MinMax, {"0", "50"})->limits->front(), 0);
    // A text that is not a number keeps the dialog open.
    EXPECT_EQ(r.Ok(ScalePage::AllRanges, {"90", "x", "50", "30", "10", "5"}), std::nullopt);
    // The sections page: the new count, no limits.
    r.Step(1);
    EXPECT_EQ(r.Ok(ScalePage::Sections, {"ignored"}), (MapScaleResult{6, std::nullopt}));
}

TEST(MapScaleRules, LimitTexts) {
    EXPECT_EQ(ParseLimit("12.5"), 12.5f);
    EXPECT_EQ(ParseLimit(" -3,25 "), -3.25f);
    EXPECT_EQ(ParseLimit("1e3"), 1000.0f);
    EXPECT_EQ(ParseLimit(""), std::nullopt);
    EXPECT_EQ(ParseLimit("12 5"), std::nullopt);
    EXPECT_EQ(ParseLimit(". . ."), std::nullopt);
    EXPECT_EQ(ParseLimit("1e40"), std::nullopt);
    EXPECT_EQ(ParseLimit("nan"), std::nullopt);
}

} // namespace
} // namespace zor::maps
