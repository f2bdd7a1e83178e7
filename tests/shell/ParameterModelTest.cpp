// The parameter dialog's rules without its window: trees, limits, region modes, saved lists
// and the selection built on OK.
#include "shell/ParameterModel.h"
#include "core/SavedSelections.h"
#include "tests/shell/ShellTestDb.h"

#include <cstdio>
#include <gtest/gtest.h>

namespace zor {
namespace {

using test::StartedApp;

ParameterModel ModelOf(Application& app) {
    return ParameterModel(app.Store(), app.CurrentSelection(), app.FirstAvailableLabel(),
                          app.LastAvailableLabel());
}

int Item(const CheckTree& t, int32_t data) {
    int i = t.Find(data);
    EXPECT_GE(i, 0) << "no item with data " << data;
    return i;
}

std::vector<std::string> Labels(const std::vector<SelectedEntry>& list) {
    std::vector<std::string> out;
    for (const auto& e : list) out.push_back(e.label);
    return out;
}

int GroupRoot(const CheckTree& t, int groupId) {
    return t.Find(groupId * 65536 + 65535);
}

TEST(ParameterModel, IndicatorGroupsLoadWhenOpened) {
    StartedApp s(test::ThreeSets);
    ParameterModel m = ModelOf(*s.app);
    const CheckTree& t = m.Indicators();
    ASSERT_EQ(t.Roots().size(), 3u);
    EXPECT_EQ(t[t.Roots()[0]].label, "01 Population");
    EXPECT_EQ(t[t.Roots()[1]].label, "03 Health");
    EXPECT_EQ(t[t.Roots()[2]].label, "11 Temporary indicators");
    for (int r : t.Roots()) {
        EXPECT_FALSE(t[r].checkable);
        EXPECT_TRUE(t[r].children.empty());
        EXPECT_TRUE(t[r].hasChildrenToLoad);
    }

    const int population = GroupRoot(t, 0);
    m.SetIndicatorExpanded(population, true);
    ASSERT_EQ(t[population].children.size(), 2u);
    const int inhabitants = t[population].children[0];
    EXPECT_EQ(t[inhabitants].label, "0000 Inhabitants");
    ASSERT_EQ(t[inhabitants].children.size(), 2u);
    EXPECT_EQ(t[t[inhabitants].children[1]].label, "0002 Women");
    EXPECT_TRUE(t[t[inhabitants].children[1]].checkable);
    EXPECT_TRUE(t[population].expanded);
    EXPECT_FALSE(s.app->Store().Groups()[0].indicators.empty()); // stays loaded

    // Expanding again adds nothing.
    m.SetIndicatorExpanded(population, false);
    m.SetIndicatorExpanded(population, true);
    EXPECT_EQ(t[population].children.size(), 2u);

    // A later dialog gets the loaded group's items at once.
    ParameterModel again = ModelOf(*s.app);
    EXPECT_EQ(again.Indicators()[GroupRoot(again.Indicators(), 0)].children.size(), 2u);
}

TEST(ParameterModel, ThirtyFirstIndicatorIsRefused) {
    StartedApp s(test::Many);
    ParameterModel m = ModelOf(*s.app);
    m.SetIndicatorExpanded(GroupRoot(m.Indicators(), 1), true);
    for (int i = 0; i < 30; ++i) ASSERT_TRUE(m.ClickIndicator(Item(m.Indicators(), 1000 + 10 * i)));
    const int extra = Item(m.Indicators(), 1300);
    EXPECT_FALSE(m.ClickIndicator(extra));
    EXPECT_FALSE(m.Indicators()[extra].checked);
    EXPECT_EQ(m.SelectedIndicators().size(), 30u);

    // Unchecking makes room again and removes exactly that entry.
    ASSERT_TRUE(m.ClickIndicator(Item(m.Indicators(), 1010)));
    EXPECT_EQ(m.SelectedIndicators().size(), 29u);
    for (const auto& e : m.SelectedIndicators()) EXPECT_NE(e.data, 1010);
    EXPECT_TRUE(m.ClickIndicator(extra));
    EXPECT_EQ(m.SelectedIndicators().back().label, "1300 Indicator 30");

    m.ClearIndicators();
    EXPECT_TRUE(m.SelectedIndicators().empty());
    EXPECT_TRUE(m.CheckedIndicatorCodes().empty());
    EXPECT_FALSE(m.Indicators()[GroupRoot(m.Indicators(), 1)].expanded);
}

TEST(ParameterModel, ShiftClickChecksARangeBeyondTheLimit) {
    StartedApp s(test::Many);
    ParameterModel m = ModelOf(*s.app);
    const CheckTree& p = m.Periods();
    ASSERT_EQ(p.Size(), 42); // First Available, 40 years, Last Available
    EXPECT_EQ(p[0].label, "First Available");
    EXPECT_EQ(p[0].data, -1);
    EXPECT_EQ(p[41].data, -2);
    EXPECT_EQ(p[1].label, "1960");

    ASSERT_TRUE(m.ClickPeriod(3, false));
    ASSERT_TRUE(m.ClickPeriod(20, false)); // the anchor
    ASSERT_TRUE(m.ClickPeriod(5, true));   // 5..20, everything else unchecked
    EXPECT_EQ(m.CheckedPeriodCount(), 16);
    EXPECT_FALSE(p[3].checked);
    EXPECT_TRUE(p[5].checked && p[20].checked);
    EXPECT_FALSE(p[21].checked);

    ASSERT_TRUE(m.ClickPeriod(41, true)); // 20..41: 22 items
    EXPECT_EQ(m.CheckedPeriodCount(), 22);
    ASSERT_TRUE(m.ClickPeriod(0, true)); // the anchor stays: 0..20
    EXPECT_EQ(m.CheckedPeriodCount(), 21);
    EXPECT_FALSE(p[21].checked);
    ASSERT_TRUE(m.ClickPeriod(0, false)); // unchecks; the anchor stays at 20
    ASSERT_TRUE(m.ClickPeriod(0, false)); // checks: a new anchor
    ASSERT_TRUE(m.ClickPeriod(41, true)); // all 42, beyond the limit of 30
    EXPECT_EQ(m.CheckedPeriodCount(), 42);
    EXPECT_EQ(m.PeriodList().size(), 42u);
    EXPECT_EQ(m.PeriodList().front().name, "First Available");

    // Single clicks respect the limit.
    m.ClearPeriods();
    for (int i = 1; i <= 30; ++i) ASSERT_TRUE(m.ClickPeriod(i, false));
    EXPECT_FALSE(m.ClickPeriod(31, false));
    EXPECT_EQ(m.CheckedPeriodCount(), 30);
    EXPECT_TRUE(m.ClickPeriod(1, false)); // unchecking is always allowed
    EXPECT_EQ(m.CheckedPeriodCount(), 29);
}

TEST(ParameterModel, OneRegionSetHasNoModes) {
    StartedApp s(test::OneSet);
    ParameterModel m = ModelOf(*s.app);
    EXPECT_FALSE(m.HasRegionModes());
    const CheckTree& r = m.Regions();
    ASSERT_EQ(r.Roots().size(), 3u);
    EXPECT_EQ(r[0].label, "001 East");
    EXPECT_EQ(r[2].label, "003 Total");
    for (int i = 0; i < r.Size(); ++i) EXPECT_TRUE(r[i].checkable);
    m.SetMode(ParameterModel::SmallRegions); // no effect
    EXPECT_EQ(m.Mode(), ParameterModel::TopLevel);
    ASSERT_TRUE(m.ClickRegion(1));
    EXPECT_EQ(m.SetCode(), 10000);
    ASSERT_EQ(m.RegionList().size(), 1u);
    EXPECT_EQ(m.RegionList()[0].name, "West");
    EXPECT_EQ(m.RegionList()[0].code, MakeRegionKey(10000, 2));
}

TEST(ParameterModel, RegionTreeOfSeveralSets) {
    StartedApp s(test::ThreeSets);
    ParameterModel m = ModelOf(*s.app);
    ASSERT_TRUE(m.HasRegionModes());
    const CheckTree& r = m.Regions();
    ASSERT_EQ(r.Roots().size(), 3u);
    const int north = r.Roots()[0];
    EXPECT_EQ(r[north].label, "001 North");
    ASSERT_EQ(r[north].children.size(), 4u);
    // Sub-region numbers are region id + 100 * the root's position.
    EXPECT_EQ(r[r[north].children[0]].label, "101 N1");
    EXPECT_EQ(r[r[north].children[3]].label, "104 Village");
    EXPECT_EQ(r[r[north].children[3]].data, MakeRegionKey(10100, 4));
    EXPECT_EQ(r[r.Roots()[1]].children.size(), 2u);
    EXPECT_TRUE(r[r.Roots()[2]].children.empty()); // no set 10300

    const auto combo = m.ComboLabels();
    ASSERT_EQ(combo.size(), 2u);
    EXPECT_EQ(combo[0], "10100 North");
    EXPECT_EQ(combo[1], "10200 South");

    // Top level: roots only, the box shows nothing.
    EXPECT_EQ(m.Mode(), ParameterModel::TopLevel);
    EXPECT_TRUE(r[north].checkable);
    EXPECT_FALSE(r[r[north].children[0]].checkable);
    EXPECT_EQ(m.ComboIndex(), -1);
    EXPECT_FALSE(m.ComboEnabled());
    EXPECT_FALSE(m.UserMayExpandRegions());
}

TEST(ParameterModel, SmallRegionsCheckability) {
    StartedApp s(test::ThreeSets);
    ParameterModel m = ModelOf(*s.app);
    m.SetMode(ParameterModel::SmallRegions);
    const CheckTree& r = m.Regions();
    const auto& roots = r.Roots();
    EXPECT_FALSE(r[roots[0]].checkable);
    EXPECT_FALSE(r[roots[1]].checkable);
    EXPECT_TRUE(r[roots[2]].checkable); // the grand total
    const int northTotal = Item(r, MakeRegionKey(10100, 3));
    const int southTotal = Item(r, MakeRegionKey(10200, 2));
    const int village = Item(r, MakeRegionKey(10100, 4));
    EXPECT_FALSE(r[northTotal].checkable);
    EXPECT_FALSE(r[southTotal].checkable);
    EXPECT_TRUE(r[village].checkable);
    EXPECT_FALSE(m.ClickRegion(northTotal));
    EXPECT_TRUE(m.ClickRegion(village));
    EXPECT_TRUE(m.ClickRegion(roots[2]));
    // The small regions are reached by opening their top-level region.
    EXPECT_TRUE(m.UserMayExpandRegions());
    m.SetRegionExpanded(roots[1], true);
    EXPECT_TRUE(r[roots[1]].expanded);

    EXPECT_EQ(m.SetCode(), 19900);
    const auto list = m.RegionList();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].name, "Village (NOR)"); // the set's code after a sub-region's name
    EXPECT_EQ(list[1].name, "Total");         // the grand total is a root: no code
}

TEST(ParameterModel, SwitchingModesRestoresEarlierChecks) {
    StartedApp s(test::ThreeSets);
    ParameterModel m = ModelOf(*s.app);
    const CheckTree& r = m.Regions();
    ASSERT_TRUE(m.ClickRegion(r.Roots()[1])); // top level: South

    m.SetMode(ParameterModel::SpecificRegion);
    EXPECT_TRUE(m.ComboEnabled());
    EXPECT_EQ(m.ComboIndex(), 0); // North
    EXPECT_TRUE(m.SelectedRegions().empty());
    EXPECT_TRUE(r[r.Roots()[0]].expanded);
    EXPECT_FALSE(r[r.Roots()[1]].expanded);
    EXPECT_FALSE(r[r.Roots()[0]].checkable);
    const int n2 = Item(r, MakeRegionKey(10100, 2));
    const int village = Item(r, MakeRegionKey(10100, 4));
    ASSERT_TRUE(m.ClickRegion(village));
    ASSERT_TRUE(m.ClickRegion(n2));
    EXPECT_EQ(Labels(m.SelectedRegions()), (std::vector<std::string>{"104 Village", "102 N2"}));

    m.SetMode(ParameterModel::TopLevel);
    EXPECT_EQ(Labels(m.SelectedRegions()), (std::vector<std::string>{"002 South"}));
    EXPECT_TRUE(r[r.Roots()[1]].checked);
    EXPECT_FALSE(r[village].checked);
    for (int root : r.Roots()) EXPECT_FALSE(r[root].expanded);

    m.SetMode(ParameterModel::SpecificRegion);
    EXPECT_EQ(Labels(m.SelectedRegions()), (std::vector<std::string>{"104 Village", "102 N2"}));
    EXPECT_TRUE(r[village].checked && r[n2].checked);
    EXPECT_EQ(m.SetCode(), 10100);
    EXPECT_EQ(m.RegionList()[0].name, "N2 (NOR)"); // tree order on OK

    // Another set empties the list and opens only its root.
    m.ChooseSet(1);
    EXPECT_TRUE(m.SelectedRegions().empty());
    EXPECT_FALSE(r[village].checked);
    EXPECT_FALSE(r[r.Roots()[0]].expanded);
    EXPECT_TRUE(r[r.Roots()[1]].expanded);
    EXPECT_FALSE(r[village].checkable); // only the chosen set's regions
    const int s1 = Item(r, MakeRegionKey(10200, 1));
    ASSERT_TRUE(m.ClickRegion(s1));
    EXPECT_EQ(m.SetCode(), 10200);
    EXPECT_EQ(m.RegionList()[0].name, "S1"); // South has no code
    // Clear keeps the chosen set open: the user cannot open it.
    m.ClearRegions();
    EXPECT_TRUE(m.SelectedRegions().empty());
    EXPECT_TRUE(r[r.Roots()[1]].expanded);
}

TEST(ParameterModel, FourDigitRegionNumbersKeepTheirNames) {
    // Sub-regions of the tenth top-level region are numbered from 1001.
    StartedApp s([](const std::string& dir) {
        test::Fixture f(dir);
        std::vector<std::string> top;
        for (int i = 1; i <= 10; ++i) top.push_back("Area " + std::to_string(i));
        top.push_back("Total");
        f.Set(10000, "Country", top).Set(11000, "Area 10", {"Far", "Area 10 total"}, {}, "FAR");
        f.Group(0, "G").Indicator(0, "I").Periods({2000});
        return f;
    });
    ParameterModel m = ModelOf(*s.app);
    m.SetMode(ParameterModel::SpecificRegion);
    const int far = Item(m.Regions(), MakeRegionKey(11000, 1));
    EXPECT_EQ(m.Regions()[far].label, "1001 Far");
    ASSERT_TRUE(m.ClickRegion(far));
    ASSERT_EQ(m.RegionList().size(), 1u);
    EXPECT_EQ(m.RegionList()[0].name, "Far (FAR)");
}

TEST(ParameterModel, OkBuildsTheSelectionAndReopensFromIt) {
    StartedApp s(test::ThreeSets);
    ParameterModel m = ModelOf(*s.app);
    const CheckTree& t = m.Indicators();
    m.SetIndicatorExpanded(GroupRoot(t, 10), true);
    m.SetIndicatorExpanded(GroupRoot(t, 0), true);
    ASSERT_TRUE(m.ClickIndicator(Item(t, 10005)));
    ASSERT_TRUE(m.ClickIndicator(Item(t, 2))); // variant "Women"
    ASSERT_TRUE(m.ClickIndicator(Item(t, 10)));
    m.SetMode(ParameterModel::SpecificRegion);
    ASSERT_TRUE(m.ClickRegion(Item(m.Regions(), MakeRegionKey(10100, 1))));
    ASSERT_TRUE(m.ClickPeriod(3, false)); // 2001
    ASSERT_TRUE(m.ClickPeriod(0, false)); // First Available

    Selection& sel = s.app->CurrentSelection();
    m.ApplyTo(sel);
    EXPECT_EQ(sel.SetCode(), 10100);
    // Tree order: group 0 before the temporary group; a variant after its main indicator.
    ASSERT_EQ(sel.Indicators().size(), 3u);
    EXPECT_EQ(sel.Indicators()[0], (ListItem{2, "Women"}));
    EXPECT_EQ(sel.Indicators()[1], (ListItem{10, "Density"}));
    // A five-digit code leaves the blank in the name.
    EXPECT_EQ(sel.Indicators()[2], (ListItem{10005, " Ratio of men"}));
    ASSERT_EQ(sel.Regions().size(), 1u);
    EXPECT_EQ(sel.Regions()[0], (ListItem{MakeRegionKey(10100, 1), "N1 (NOR)"}));
    EXPECT_EQ(sel.ConfirmedRegions(), sel.Regions());
    ASSERT_EQ(sel.Periods().size(), 2u);
    EXPECT_EQ(sel.Periods()[0], (ListItem{-1, "First Available"}));
    EXPECT_EQ(sel.Periods()[1], (ListItem{2001, "2001"}));

    // The next dialog shows the same choice.
    ParameterModel again = ModelOf(*s.app);
    EXPECT_EQ(again.Mode(), ParameterModel::SpecificRegion);
    EXPECT_EQ(again.ComboIndex(), 0);
    EXPECT_EQ(again.CheckedIndicatorCodes(), (std::vector<int32_t>{2, 10, 10005}));
    EXPECT_EQ(Labels(again.SelectedRegions()), (std::vector<std::string>{"101 N1"}));
    EXPECT_EQ(again.CheckedPeriodCount(), 2);
    const CheckTree& t2 = again.Indicators();
    EXPECT_TRUE(t2[Item(t2, 0)].expanded); // parents of checked items are open
    EXPECT_TRUE(t2[GroupRoot(t2, 10)].expanded);
    EXPECT_FALSE(t2[GroupRoot(t2, 2)].expanded);
    // The top-level mode starts from the confirmed regions: nothing of them is a root.
    again.SetMode(ParameterModel::TopLevel);
    EXPECT_TRUE(again.SelectedRegions().empty());
}

TEST(ParameterModel, SavedListsRoundTripThroughTheFiles) {
    StartedApp s(test::ThreeSets);
    const std::string ind = s.dir.file("ind.sav");
    const std::string reg = s.dir.file("reg.sav");
    auto nameNewEntry = [](const char* name) {
        return [name](SaveSelectionModel& d) {
            const int row = d.Insert();
            d.Rename(row, name);
            return true;
        };
    };
    {
        ParameterModel m = ModelOf(*s.app);
        const CheckTree& t = m.Indicators();
        m.SetIndicatorExpanded(GroupRoot(t, 10), true);
        m.SetIndicatorExpanded(GroupRoot(t, 2), true);
        ASSERT_TRUE(m.ClickIndicator(Item(t, 2050)));
        ASSERT_TRUE(m.ClickIndicator(Item(t, 10005)));
        ASSERT_EQ(SaveIndicatorSelection(ind, m.CheckedIndicatorCodes(), nameNewEntry("Health")),
                  SaveOutcome::Saved);
        m.SetMode(ParameterModel::SmallRegions);
        ASSERT_TRUE(m.ClickRegion(Item(m.Regions(), MakeRegionKey(10100, 4))));
        ASSERT_TRUE(m.ClickRegion(Item(m.Regions(), MakeRegionKey(10000, 3))));
        ASSERT_EQ(
            SaveRegionSelection(reg, m.SetCode(), m.CheckedRegionKeys(), nameNewEntry("Small")),
            SaveOutcome::Saved);
    }
    // A new application: nothing of group 2 or 10 is loaded yet.
    s.Start();
    ParameterModel m = ModelOf(*s.app);
    auto inds = ReadIndicatorListFile(ind);
    ASSERT_TRUE(inds && inds->size() == 1);
    EXPECT_EQ((*inds)[0].name, "Health");
    m.ApplySavedIndicators((*inds)[0].codes);
    EXPECT_EQ(m.CheckedIndicatorCodes(), (std::vector<int32_t>{2050, 10005}));
    EXPECT_EQ(Labels(m.SelectedIndicators()),
              (std::vector<std::string>{"2050 Doctors", "10005 Ratio of men"}));
    EXPECT_TRUE(m.Indicators()[GroupRoot(m.Indicators(), 10)].expanded);
    EXPECT_FALSE(m.Indicators()[GroupRoot(m.Indicators(), 0)].expanded);

    auto regs = ReadRegionListFile(reg);
    ASSERT_TRUE(regs && regs->size() == 1);
    EXPECT_EQ((*regs)[0].setCode, 19900);
    m.ApplySavedRegions((*regs)[0].setCode, (*regs)[0].keys);
    EXPECT_EQ(m.Mode(), ParameterModel::SmallRegions);
    EXPECT_EQ(Labels(m.SelectedRegions()), (std::vector<std::string>{"104 Village", "003 Total"}));
    EXPECT_TRUE(m.Regions()[m.Regions().Roots()[0]].expanded); // holds a checked region
    EXPECT_FALSE(m.Regions()[m.Regions().Roots()[1]].expanded);

    // A list saved for a specific set switches to it.
    m.ApplySavedRegions(10200, {MakeRegionKey(10200, 1)});
    EXPECT_EQ(m.Mode(), ParameterModel::SpecificRegion);
    EXPECT_EQ(m.ComboIndex(), 1);
    EXPECT_EQ(Labels(m.SelectedRegions()), (std::vector<std::string>{"201 S1"}));
}

TEST(ParameterModel, FailedGroupLoadLeavesTheGroupEmpty) {
    StartedApp s(test::ThreeSets);
    std::remove(s.dir.file("mainlist.ind").c_str());
    ParameterModel m = ModelOf(*s.app);
    const int health = GroupRoot(m.Indicators(), 2);
    m.SetIndicatorExpanded(health, true);
    EXPECT_TRUE(m.Indicators()[health].children.empty());
    EXPECT_FALSE(m.Indicators()[health].expanded);
    EXPECT_FALSE(m.Indicators()[health].hasChildrenToLoad); // no expand button any more
    m.ApplySavedIndicators({2050});
    EXPECT_TRUE(m.CheckedIndicatorCodes().empty());
}

TEST(ParameterModel, EmptyCatalogue) {
    // Another provider installs nothing: no sets, groups or periods.
    StartedApp s([](const std::string& dir) {
        auto f = test::OneSet(dir);
        f.Config({"PROVIDER=OTHER", "DATA SOURCE=" + dir});
        return f;
    });
    ParameterModel m = ModelOf(*s.app);
    EXPECT_EQ(m.Indicators().Size(), 0);
    EXPECT_EQ(m.Regions().Size(), 0);
    EXPECT_FALSE(m.HasRegionModes());
    EXPECT_EQ(m.Periods().Size(), 2); // the two pseudo periods
    m.ApplySavedRegions(10100, {MakeRegionKey(10100, 1)});
    m.ApplySavedIndicators({0});
    EXPECT_TRUE(m.ClickPeriod(1, false));
    Selection sel;
    m.ApplyTo(sel);
    EXPECT_EQ(sel.SetCode(), 10000);
    EXPECT_TRUE(sel.Indicators().empty() && sel.Regions().empty());
    ASSERT_EQ(sel.Periods().size(), 1u);
    EXPECT_EQ(sel.Periods()[0].code, -2);
}

} // namespace
} // namespace zor
