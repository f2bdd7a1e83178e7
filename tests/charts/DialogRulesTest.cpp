// The rules of the shared chart dialogs: Export states, scale acceptance, region checklist and
// the editing position of the value list.
#include "charts/DialogRules.h"

#include <gtest/gtest.h>

namespace zor::charts {
namespace {

TEST(ExportDialogRules, ColouredOnlyViewsDisableThePictureGroup) {
    const ExportDialogState offer = InitialExportState(true);
    EXPECT_TRUE(offer.clipboardChecked);
    EXPECT_TRUE(offer.blackAndWhiteChecked);
    EXPECT_TRUE(offer.pictureGroupEnabled);
    const ExportDialogState coloured = InitialExportState(false);
    EXPECT_TRUE(coloured.clipboardChecked);
    EXPECT_FALSE(coloured.blackAndWhiteChecked);
    EXPECT_FALSE(coloured.pictureGroupEnabled);
}

ScaleDialogInput Scale(bool logOffered = true, bool logChosen = false) {
    return {ScaleValues{0, 100, 20}, ScaleValues{0, 100, 20}, logOffered, logChosen};
}

TEST(ScaleDialogRules, ControlsAtOpeningAndAfterToggling) {
    ScaleDialogControls c = ScaleInitialControls(Scale());
    EXPECT_TRUE(c.minMaxEnabled && c.sectionEnabled && c.defaultEnabled && c.okEnabled);
    EXPECT_TRUE(c.logVisible);
    EXPECT_FALSE(c.logChecked);

    c = ScaleInitialControls(Scale(true, true));
    EXPECT_TRUE(c.logChecked);
    EXPECT_FALSE(c.minMaxEnabled || c.sectionEnabled || c.defaultEnabled);
    EXPECT_TRUE(c.okEnabled);
    c = ScaleToggledControls(Scale(true, true), false);
    EXPECT_TRUE(c.minMaxEnabled && c.sectionEnabled && c.defaultEnabled);

    EXPECT_FALSE(ScaleInitialControls(Scale(false, true)).logVisible);
    EXPECT_FALSE(ScaleInitialControls(Scale(false, true)).logChecked);

    ScaleDialogInput none = Scale();
    none.defaults.reset();
    c = ScaleInitialControls(none);
    EXPECT_FALSE(c.minMaxEnabled || c.okEnabled || c.defaultEnabled);
    EXPECT_FALSE(ScaleToggledControls(none, false).minMaxEnabled);
}

TEST(ScaleDialogRules, Acceptance) {
    // A changed range needs max > min.
    ScaleResult r = ScaleAccept(Scale(), 10.0f, 50.0f, 10.0f, false);
    EXPECT_TRUE(r.accepted);
    EXPECT_EQ(r.values, (ScaleValues{10, 50, 10}));
    EXPECT_FALSE(ScaleAccept(Scale(), 50.0f, 50.0f, 10.0f, false).accepted);
    EXPECT_FALSE(ScaleAccept(Scale(), 60.0f, 50.0f, 10.0f, false).accepted);
    // Sections that are not positive are refused, also with the default range.
    EXPECT_FALSE(ScaleAccept(Scale(), 10.0f, 50.0f, 0.0f, false).accepted);
    EXPECT_FALSE(ScaleAccept(Scale(), 0.0f, 100.0f, -5.0f, false).accepted);
    EXPECT_TRUE(ScaleAccept(Scale(), 0.0f, 100.0f, 5.0f, false).accepted);
    // Unreadable input keeps the value shown at opening for the checks.
    r = ScaleAccept(Scale(), std::nullopt, 40.0f, std::nullopt, false);
    EXPECT_TRUE(r.accepted);
    EXPECT_EQ(r.values, (ScaleValues{0, 40, 20}));
    EXPECT_FALSE(r.logarithmic);
}

TEST(ScaleDialogRules, LogarithmicIgnoresTheEditsAndReturnsTheDefaults) {
    ScaleDialogInput in = Scale();
    in.current = ScaleValues{5, 8, 1};
    const ScaleResult r = ScaleAccept(in, 99.0f, -3.0f, 0.0f, true);
    EXPECT_TRUE(r.accepted);
    EXPECT_TRUE(r.logarithmic);
    EXPECT_EQ(r.values, (ScaleValues{0, 100, 20}));
    // A checked box counts only where the option is offered.
    EXPECT_FALSE(ScaleAccept(Scale(false), 99.0f, -3.0f, 1.0f, true).accepted);
}

TEST(XYScaleDialogRules, BothAxesMustHoldTheirSection) {
    const XYScaleInput in{{0, 10, 1}, {0, 100, 10}, {0, 10, 1}, {0, 100, 10}, true, false};
    EXPECT_TRUE(XYScaleAccept(in, {0, 10, 10}, {0, 100, 10}, false).accepted);
    EXPECT_FALSE(XYScaleAccept(in, {0, 10, 11}, {0, 100, 10}, false).accepted);
    EXPECT_FALSE(XYScaleAccept(in, {0, 10, 1}, {100, 100, 10}, false).accepted);
    EXPECT_FALSE(XYScaleAccept(in, {0, 10, 0}, {0, 100, 10}, false).accepted);
    const XYScaleResult log = XYScaleAccept(in, {5, 1, 9}, {0, 0, 0}, true);
    EXPECT_TRUE(log.accepted);
    EXPECT_TRUE(log.logarithmic);
    EXPECT_EQ(log.y, (ScaleValues{0, 100, 10}));
    EXPECT_FALSE(XYEditsEnabled(in, true));
    EXPECT_TRUE(XYEditsEnabled(in, false));
}

TEST(RegionChecklistRules, SelectAllUnselectAllAndWriteBack) {
    const std::vector<std::string> names = {"North", "South", "East"};
    int flags[] = {1, 0, 1};
    RegionChecklist list(3, flags, &names);
    ASSERT_TRUE(list.Usable());
    list.Toggle(0);
    list.Toggle(1);
    list.WriteBack(flags);
    EXPECT_EQ(std::vector<int>(flags, flags + 3), (std::vector<int>{0, 1, 1}));
    list.SetAll(false);
    list.WriteBack(flags);
    EXPECT_EQ(std::vector<int>(flags, flags + 3), (std::vector<int>{0, 0, 0}));

    EXPECT_FALSE(RegionChecklist(0, flags, &names).Usable());
    EXPECT_FALSE(RegionChecklist(3, nullptr, &names).Usable());
    EXPECT_FALSE(RegionChecklist(3, flags, nullptr).Usable());
}

TEST(EditableValuesRules, MovingWritesTheEditTextAndStopsAtTheEnds) {
    EditableValues v;
    v.SetRows({{"1", "10"}, {"2", "20"}, {"3", "30"}});
    EXPECT_FALSE(v.Move(1, "x")); // nothing edited yet
    ASSERT_TRUE(v.Begin());
    EXPECT_FALSE(v.Begin());
    EXPECT_EQ(v.EditRow(), 0);
    EXPECT_EQ(v.EditColumn(), 1);
    EXPECT_FALSE(v.Move(-1, "11")); // at the top: nothing happens
    EXPECT_EQ(v.Value(0), "10");
    EXPECT_TRUE(v.Move(1, "11"));
    EXPECT_EQ(v.Value(0), "11");
    EXPECT_EQ(v.Reload(), "20");
    EXPECT_TRUE(v.MoveTo(2, "22"));
    EXPECT_EQ(v.Value(1), "22");
    EXPECT_FALSE(v.Move(1, "33"));
    EXPECT_EQ(v.Value(2), "30");
    v.Commit("33");
    EXPECT_EQ(v.Value(2), "33");
    v.Clear();
    EXPECT_EQ(v.RowCount(), 0);
    EXPECT_EQ(v.EditRow(), -1);
}

} // namespace
} // namespace zor::charts
