// Data availability: the shares with the total row and the small regions counted, the "%.4g%%"
// texts, the bars (full at 100 %, empty without a label at 0 %), the "Group" and "Zones" popups,
// the render options, printing and the JSON.
#include "charts/ChartResources.h"
#include "core/JsonWriter.h"
#include "draw/RecordingContext.h"
#include "grids/CAvail.h"
#include "tests/support/StartedStore.h"
#include "tests/support/ViewTestSupport.h"

#include <gtest/gtest.h>

namespace zor::grids {
namespace {

using test::Lines;
using test::RecordingHost;
using test::StartedStore;
constexpr float M = MissingValue;

TEST(AvailabilityText, PercentOfTheRowsWithAValue) {
    EXPECT_EQ(AvailabilityText(2, 3), "66.67%");
    EXPECT_EQ(AvailabilityText(1, 3), "33.33%");
    EXPECT_EQ(AvailabilityText(3, 3), "100%");
    EXPECT_EQ(AvailabilityText(1, 8), "12.5%");
    EXPECT_EQ(AvailabilityText(0, 3), "0%");
    EXPECT_EQ(AvailabilityText(0, 0), "0%");
    EXPECT_DOUBLE_EQ(AvailabilityFraction("66.67%"), 0.6667);
    EXPECT_DOUBLE_EQ(AvailabilityFraction("100%"), 1.0);
    EXPECT_DOUBLE_EQ(AvailabilityFraction(""), 0.0);
    EXPECT_DOUBLE_EQ(AvailabilityFraction("x"), 0.0);
}

// Country: North, South, its total and the small region Village; Region: A, B and its total.
void Zones(test::Fixture& f) {
    f.Set(10000, "Country", {"North", "South", "Total"}, {"Village"});
    f.Set(10100, "Region", {"A", "B", "Total B"});
    f.Group(1, "Economy");
    f.Indicator(1010, "Income", {"Growth"});
    f.Indicator(1020, "Exports");
    f.Group(2, "Health");
    f.Indicator(2010, "Life");
    f.Periods({2000, 2001, 2002});
    f.Values(10000, 2000, 1010, {M, M, 3, 4}); // the total and the small region
    f.Values(10000, 2001, 1010, {1, M, M, M});
    f.Values(10000, 2000, 2010, {1, 2, 3, 4});
    f.Values(10100, 2000, 1010, {1, M, 3});
    f.Values(10100, 2001, 1010, {M, M, 3});
    f.Values(10100, 2002, 1010, {1, 2, 3});
}

struct Open {
    StartedStore db{Zones};
    Selection selection;
    charts::ChartResources resources;
    RecordingHost host;
    std::unique_ptr<CAvail> view;
    explicit Open(int setCode = 10000) {
        selection.Confirm(setCode, {}, {}, {});
        view =
            std::make_unique<CAvail>(charts::ViewContext{db.store, resources, selection, nullptr});
        test::OpenView(*view, host);
    }
    std::vector<std::string> Row(int r) {
        std::vector<std::string> out;
        for (size_t c = 1; c < view->Columns().size(); ++c)
            out.push_back(view->Cell(r, static_cast<int>(c)));
        return out;
    }
    std::string Cell(int row, int col, bool printing = false) {
        draw::RecordingContext dc(host.measurer, draw::DeviceInfo{});
        dc.SetFont(view->BodyFont()); // as the grid selects it for its cells
        const draw::Rect cell = printing ? draw::Rect{0, 500, 272, 418} : draw::Rect{0, 0, 100, 30};
        view->DrawCellText(dc, cell, view->Columns()[static_cast<size_t>(col)],
                           view->Cell(row, col), row, col, printing ? view->PrintScale() : 1.0f,
                           printing);
        return dc.Recording();
    }
};

TEST(Avail, EveryPeriodOfTheCatalogueForTheFirstGroup) {
    Open a;
    ASSERT_TRUE(a.view->Loaded());
    EXPECT_EQ(a.view->Title(), "Country");
    EXPECT_EQ(a.view->Bands().row, 30);
    EXPECT_EQ(a.view->Bands().footer, 0);
    EXPECT_EQ(a.view->BackgroundColour(), 0xDFFFFFu);
    ASSERT_EQ(a.view->Columns().size(), 4u);
    EXPECT_TRUE(a.view->Columns()[0].wrap);
    EXPECT_EQ(a.view->Columns()[3].header, "2002");
    EXPECT_EQ(a.view->Columns()[3].nominalWidth, 100);
    ASSERT_EQ(a.view->RowCount(), 3);
    EXPECT_EQ(a.view->Cell(0, 0), "1010 Income");
    EXPECT_EQ(a.view->Cell(1, 0), "1011 Growth");
    EXPECT_EQ(a.view->Cell(2, 0), "1020 Exports");
    // Four rows: the total and the small region count in n and, with values, in c.
    EXPECT_EQ(a.view->Table().RowCount(), 4);
    EXPECT_EQ(a.Row(0), (std::vector<std::string>{"50%", "25%", "0%"}));
    EXPECT_EQ(a.Row(2), (std::vector<std::string>{"0%", "0%", "0%"}));
    EXPECT_EQ(a.view->PresentCount(0, 0), 2);
    EXPECT_EQ(a.view->CellTip(0, 1), "2 of 4 regions have a value (50%)");
    EXPECT_TRUE(a.host.messages.empty());
}

TEST(Avail, ZonesBeforeGroupsWithTheSelectionsSetChecked) {
    Open a(10100);
    ASSERT_EQ(a.view->Popups().size(), 2u);
    const charts::PopupMenu& group = a.view->Popups()[0];
    const charts::PopupMenu& zones = a.view->Popups()[1];
    EXPECT_EQ(group.title, "Group");
    EXPECT_EQ(group.itemIds, (std::vector<int>{1602, 1603}));
    EXPECT_EQ(group.items, (std::vector<std::string>{"Economy", "Health"}));
    EXPECT_EQ(group.checked, 0);
    EXPECT_EQ(zones.title, "Zones");
    EXPECT_EQ(zones.position, 0); // inserted after "Group" at 0: it stands before it
    EXPECT_EQ(zones.itemIds, (std::vector<int>{1701, 1702}));
    EXPECT_EQ(zones.items, (std::vector<std::string>{"Country", "Region"}));
    EXPECT_EQ(zones.checked, 1);
    EXPECT_EQ(a.view->Title(), "Region");
    EXPECT_EQ(a.Row(0), (std::vector<std::string>{"66.67%", "33.33%", "100%"}));

    // A selection of no set's code: the first set.
    Open all(AllRegionSets);
    EXPECT_EQ(all.view->CurrentZone(), 0);
    EXPECT_EQ(all.view->Popups()[1].checked, 0);
}

TEST(Avail, GroupAndZoneChoices) {
    Open a;
    const int repaints = a.host.repaintedNow;
    EXPECT_TRUE(a.view->OnCommand(1701)); // the current zone
    EXPECT_TRUE(a.view->OnCommand(1602)); // the current group
    EXPECT_EQ(a.host.repaintedNow, repaints);
    EXPECT_TRUE(a.view->OnCommand(1603));
    EXPECT_EQ(a.view->CurrentGroup(), 1);
    EXPECT_EQ(a.view->Popups()[0].checked, 1);
    ASSERT_EQ(a.view->RowCount(), 1);
    EXPECT_EQ(a.view->Cell(0, 0), "2010 Life");
    EXPECT_EQ(a.Row(0), (std::vector<std::string>{"100%", "0%", "0%"}));
    EXPECT_TRUE(a.view->OnCommand(1702));
    EXPECT_EQ(a.view->CurrentZone(), 1);
    EXPECT_EQ(a.view->Title(), "Region");
    EXPECT_EQ(a.view->Table().SetCode(), 10100);
    EXPECT_EQ(a.view->Cell(0, 0), "2010 Life"); // the group stays
    EXPECT_EQ(a.host.popupChanges, (std::vector<int>{0, 1}));
    EXPECT_EQ(a.host.repaintedNow, repaints + 2);
    EXPECT_FALSE(a.view->OnCommand(1703));
    EXPECT_FALSE(a.view->OnCommand(1605));

    EXPECT_EQ(a.view->ApplyRenderOption("--group", "0"), "");
    EXPECT_EQ(a.view->Cell(0, 0), "1010 Income");
    EXPECT_EQ(a.view->ApplyRenderOption("--zone", "10000"), "");
    EXPECT_EQ(a.view->Title(), "Country");
    for (const char* bad : {"3", "-1", "x", ""})
        EXPECT_NE(a.view->ApplyRenderOption("--group", bad), "") << bad;
    EXPECT_NE(a.view->ApplyRenderOption("--zone", "10200"), "");
    EXPECT_NE(a.view->ApplyRenderOption("--other", "1"), "");
}

TEST(Avail, BarsFilledInProportionWithTheirLabel) {
    Open a(10100);
    // 66.67 %: the bar 80 × 20 in the middle of the 100 × 30 cell, filled 53 pixels, "67%".
    const std::string two = a.Cell(0, 1);
    EXPECT_EQ(Lines(two, "rect"),
              (std::vector<std::string>{"rect 10 5 90 25", "rect 10 5 63 25", "rect 10 5 90 25"}));
    EXPECT_NE(two.find("brush solid #00e000"), std::string::npos);
    EXPECT_EQ(Lines(two, "text "), (std::vector<std::string>{"text 50 21 \"67%\""}));
    EXPECT_EQ(Lines(a.Cell(0, 2), "text "), (std::vector<std::string>{"text 50 21 \"33%\""}));
    // 100 %: filled completely.
    EXPECT_EQ(Lines(a.Cell(0, 3), "rect")[1], "rect 10 5 90 25");
    // 0 %: an empty bar without a label.
    const std::string none = a.Cell(1, 1);
    EXPECT_EQ(Lines(none, "rect").size(), 2u);
    EXPECT_TRUE(Lines(none, "text ").empty());
    // On paper the bar lies in the middle too (y up): 218 × 54 in 272 × 82.
    const std::string paper = a.Cell(0, 3, true);
    EXPECT_EQ(Lines(paper, "rect").front(), "rect 27 486 245 432");
}

TEST(Avail, PrintsAndWritesItsCellsAsJson) {
    Open a;
    const draw::DeviceInfo a4{draw::Technology::Printer, 2100, 2970, 10000, 10000, 24};
    draw::RecordingContext dc(a.host.measurer, a4);
    EXPECT_EQ(a.view->CountPages(dc, {0, 0, 2100, 2970}), 1);
    a.view->PrintPage(dc, {0, 0, 2100, 2970}, 0, true);
    EXPECT_NE(dc.Recording().find("\"50%\""), std::string::npos);
    EXPECT_NE(dc.Recording().find("\"Country\""), std::string::npos);

    JsonWriter j;
    ASSERT_TRUE(a.view->WriteData(j));
    EXPECT_EQ(j.str(), "{\"group\":0,\"zone\":10000,\"periods\":[2000,2001,2002],\"rows\":["
                       "{\"indicator\":1010,\"cells\":[\"50%\",\"25%\",\"0%\"]},"
                       "{\"indicator\":1011,\"cells\":[\"0%\",\"0%\",\"0%\"]},"
                       "{\"indicator\":1020,\"cells\":[\"0%\",\"0%\",\"0%\"]}]}");
}

} // namespace
} // namespace zor::grids
