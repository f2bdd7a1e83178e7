// The region profile: the shares and texts against the worked examples, the colour bands at their
// edges (a missing cell black also after a green one), the group and region popups, the scale,
// and the exports byte for byte (code page 1250, a comma as decimal symbol, a name that would
// be markup, missing cells) against hand-written files.
#include "charts/ChartResources.h"
#include "charts/ViewRegistry.h"
#include "core/JsonWriter.h"
#include "draw/RecordingContext.h"
#include "grids/CProfile.h"
#include "grids/HtmlText.h"
#include "tests/support/StartedStore.h"
#include "tests/support/ViewTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <sstream>

namespace zor::grids {
namespace {

using test::Lines;
using test::RecordingHost;
using test::StartedStore;
constexpr float M = MissingValue;
const std::string Plzen = "Plze\xF2"; // "Plzeň" in code page 1250

std::string Expected(const std::string& name) {
    return test::ReadFile(std::string(ZOR_GRIDS_TEST_DATA) + "/" + name);
}

std::vector<float> Count(int n) {
    std::vector<float> v(static_cast<size_t>(n));
    std::iota(v.begin(), v.end(), 1.0f);
    return v;
}

TEST(ProfileCells, ShareOfTheRowsBelowTheRegion) {
    // The largest of 40 values: 39 / 40 below, which reads 98 %, never 100 %.
    const std::vector<float> forty = Count(40);
    const ProfileCell top = ProfileOf(forty, 39);
    EXPECT_EQ(top.profileValue, 40);
    EXPECT_EQ(top.belowShare, 39.0f / 40.0f);
    EXPECT_EQ(ProfileText(top), "40 - 98%");
    EXPECT_EQ(ProfileText(ProfileOf(forty, 0)), "1 -  0%");
    // Equal values share the share (of the first of them in the sorted order).
    const std::vector<float> ties{5, 3, 5, 1};
    EXPECT_EQ(ProfileOf(ties, 0).belowShare, 0.75f);
    EXPECT_EQ(ProfileOf(ties, 2).belowShare, 0.75f);
    // Missing values count in n and lie below every value.
    const std::vector<float> gaps{M, 2, M, 1};
    EXPECT_EQ(ProfileOf(gaps, 3).belowShare, 0.5f);
    EXPECT_EQ(ProfileOf(gaps, 1).belowShare, 0.75f);
    // No value, no row.
    EXPECT_FALSE(ProfileOf(gaps, 0).HasValue());
    EXPECT_FALSE(ProfileOf(gaps, -1).HasValue());
    EXPECT_FALSE(ProfileOf(gaps, 4).HasValue());
    EXPECT_EQ(ProfileText(ProfileOf(gaps, 0)), ". . .");
}

ProfileCell Share(int below, int of) {
    return ProfileOf(Count(of), below);
}

TEST(ProfileCells, ColourBandsAtTheirEdges) {
    const float f = BoxFraction(2);
    // 10 % and 90 % lie in the green band (90 % exactly on its upper edge in float32).
    EXPECT_EQ(Share(1, 10).belowShare, 0.1f);
    EXPECT_EQ(ProfileColour(Share(1, 10), f), ProfileGreen);
    EXPECT_EQ(ProfileColour(Share(9, 10), f), ProfileGreen);
    EXPECT_EQ(ProfileColour(Share(5, 10), f), ProfileGreen);
    // 5 % and 95 %: the yellow bands' outer edges.
    EXPECT_EQ(ProfileColour(Share(1, 20), f), ProfileYellow);
    EXPECT_EQ(ProfileColour(Share(19, 20), f), ProfileYellow);
    EXPECT_EQ(ProfileColour(Share(3, 40), f), ProfileYellow); // 7.5 %
    // Beyond: dark red; no value: black, whatever share the cell holds.
    EXPECT_EQ(ProfileColour(Share(0, 10), f), ProfileRed);
    EXPECT_EQ(ProfileColour(Share(39, 40), f), ProfileRed); // 97.5 %
    ProfileCell missing;
    missing.belowShare = 0.5f;
    EXPECT_EQ(ProfileColour(missing, f), ProfileNoValue);
    // Another fraction moves the bands: at 50 % the green band is 25 % ... 75 %.
    EXPECT_EQ(ProfileColour(Share(5, 20), BoxFraction(5)), ProfileGreen);
    EXPECT_EQ(ProfileColour(Share(4, 20), BoxFraction(5)), ProfileYellow);
    EXPECT_EQ(ProfileColour(Share(1, 20), BoxFraction(5)), ProfileRed);
}

// North, Plzeň, a name that would be markup and the total; Income (with its variant Growth) and
// Exports in group 1, an empty group 2.
void Regions(test::Fixture& f) {
    f.Config({"PROVIDER=ZOR-2", "CHARSET=238", "DECIMAL SYMBOL=,"});
    f.Set(10000, "Country", {"North", Plzen, "A<B & C", "Total"});
    f.Group(1, "Economy");
    f.Indicator(1010, "Income <net> & tax", {"Growth"});
    f.Indicator(1020, "Exports");
    f.Group(2, "Health");
    f.Periods({2000, 2001});
    f.Values(10000, 2000, 1010, {12.5f, 20.5f, 30, 62.5f});
    f.Values(10000, 2001, 1010, {15, M, 0, 40});
    f.Values(10000, 2000, 1011, {1.5f, 2.5f, M, 3});
    f.Values(10000, 2000, 1020, {1, 2, 3, 6});
}

Selection Choice(std::vector<ListItem> indicators = {{1010, "Income <net> & tax"},
                                                     {1011, "Growth"}}) {
    Selection s;
    s.Confirm(10000, std::move(indicators),
              {{MakeRegionKey(10000, 2), Plzen}, {MakeRegionKey(10000, 1), "North"}},
              {{2000, "2000"}, {2001, "2001"}});
    return s;
}

struct Open {
    StartedStore db{Regions};
    Selection selection;
    charts::ChartResources resources;
    RecordingHost host;
    std::unique_ptr<CProfile> view;
    explicit Open(Selection s = Choice()) : selection(std::move(s)) {
        view = std::make_unique<CProfile>(
            charts::ViewContext{db.store, resources, selection, nullptr});
        test::OpenView(*view, host);
    }
    std::vector<std::string> Row(int r) {
        std::vector<std::string> out;
        for (size_t c = 0; c < view->Columns().size(); ++c)
            out.push_back(view->Cell(r, static_cast<int>(c)));
        return out;
    }
    std::string Paint() {
        draw::RecordingContext dc(host.measurer, draw::DeviceInfo{});
        view->PaintWindow(dc, {0, 0, 600, 300});
        return dc.Recording();
    }
};

TEST(Profile, OpensWithTheSelectionsIndicatorsAndItsPopups) {
    std::vector<int> ids;
    for (const charts::MenuItem& m : CProfile::FrameMenu()) ids.push_back(m.id);
    EXPECT_EQ(ids, (std::vector<int>{0, CmdCopy, CmdPrint, CmdQuit}));
    EXPECT_STREQ(CProfile::FrameMenu()[0].caption, "Scale");

    Open p;
    ASSERT_TRUE(p.view->Loaded());
    EXPECT_EQ(p.view->Title(), Plzen);
    EXPECT_EQ(p.view->CurrentGroup(), 0);
    EXPECT_EQ(p.view->Bands().footer, 0);
    EXPECT_EQ(p.view->Bands().row, 14);
    ASSERT_EQ(p.view->Columns().size(), 3u);
    EXPECT_EQ(p.view->Columns()[1].width, 120);
    EXPECT_EQ(p.view->Columns()[1].alignment, CellAlign::Right);
    EXPECT_EQ(p.Row(0),
              (std::vector<std::string>{"1010 Income <net> & tax", "20.5 - 25%", ". . ."}));
    EXPECT_EQ(p.Row(1), (std::vector<std::string>{"    1011 Growth", "2.5 - 50%", ". . ."}));

    // "Group" at 0 (the selection, a separator, the groups with data), "Regions" at 2.
    ASSERT_EQ(p.view->Popups().size(), 2u);
    const charts::PopupMenu& group = p.view->Popups()[0];
    EXPECT_EQ(group.title, "Group");
    EXPECT_EQ(group.position, 0);
    EXPECT_EQ(group.kind, charts::PopupKind::Commands);
    EXPECT_EQ(group.itemIds, (std::vector<int>{1601, 0, 1602}));
    EXPECT_EQ(group.items[0], "Current selection");
    EXPECT_EQ(group.items[2], "Economy");
    EXPECT_EQ(group.checked, 0);
    EXPECT_EQ(p.view->Popups()[1].kind, charts::PopupKind::Regions);
    EXPECT_EQ(p.view->Popups()[1].position, 2);
    // Economy; Health without indicators; the temporary group without any.
    EXPECT_EQ(p.view->GroupFlags(), (std::vector<bool>{true, false, false}));
}

TEST(Profile, GroupChoiceListsVariantsUnderTheirIndicators) {
    Open p;
    const int repaints = p.host.repaintedNow;
    EXPECT_TRUE(p.view->OnCommand(1601)); // the current one
    EXPECT_EQ(p.host.repaintedNow, repaints);
    EXPECT_FALSE(p.view->OnCommand(1603)); // a group without data is not offered
    EXPECT_TRUE(p.view->OnCommand(1602));
    EXPECT_EQ(p.host.repaintedNow, repaints + 1);
    EXPECT_EQ(p.view->CurrentGroup(), 1);
    EXPECT_EQ(p.view->Popups()[0].checked, 2);
    EXPECT_EQ(p.host.popupChanges, (std::vector<int>{0}));
    ASSERT_EQ(p.view->RowCount(), 3);
    EXPECT_EQ(p.view->Cell(0, 0), "1010 Income <net> & tax");
    EXPECT_EQ(p.view->Cell(1, 0), "    1011 Growth");
    EXPECT_EQ(p.Row(2), (std::vector<std::string>{"1020 Exports", "2 - 25%", ". . ."}));
    EXPECT_TRUE(p.view->OnCommand(1601));
    EXPECT_EQ(p.view->RowCount(), 2);

    // Without indicators in the selection the first group with data is shown, and the popup
    // has no "Current selection".
    Open group(Choice({}));
    EXPECT_EQ(group.view->CurrentGroup(), 1);
    EXPECT_EQ(group.view->Popups()[0].itemIds, (std::vector<int>{1602}));
    EXPECT_EQ(group.view->Popups()[0].checked, 0);
    EXPECT_EQ(group.view->RowCount(), 3);
    EXPECT_FALSE(group.view->OnCommand(1601));
}

TEST(Profile, RegionChoiceAndRegionsWithoutARow) {
    Open p;
    EXPECT_TRUE(p.view->Select(charts::PopupKind::Regions, 1));
    EXPECT_EQ(p.view->Title(), "North");
    EXPECT_EQ(p.Row(0),
              (std::vector<std::string>{"1010 Income <net> & tax", "12.5 -  0%", "15 - 50%"}));
    // A region of another set has no row: every cell is missing.
    Selection other = Choice();
    other.Confirm(10000, other.Indicators(), {{MakeRegionKey(10100, 1), "Elsewhere"}},
                  other.Periods());
    Open q(std::move(other));
    EXPECT_EQ(q.view->RegionRow(), -1);
    EXPECT_EQ(q.Row(0), (std::vector<std::string>{"1010 Income <net> & tax", ". . .", ". . ."}));
}

std::vector<std::string> ColouredTexts(const std::string& recording) {
    std::vector<std::string> out;
    std::string colour;
    std::istringstream in(recording);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("textcolor ", 0) == 0) colour = line.substr(10);
        if (line.rfind("text ", 0) == 0 && line.find(" - ") != std::string::npos)
            out.push_back(colour + " " + line.substr(line.find('"')));
        if (line.rfind("text ", 0) == 0 && line.find(". . .") != std::string::npos)
            out.push_back(colour + " " + line.substr(line.find('"')));
    }
    return out;
}

TEST(Profile, CellsColouredByTheirOwnShareAndAMissingCellBlack) {
    Open p;
    // North: 12.5 at the bottom (red), 15 in the middle (green); Plzeň: green, then missing.
    p.view->Select(charts::PopupKind::Regions, 1);
    EXPECT_EQ(ColouredTexts(p.Paint()),
              (std::vector<std::string>{"#800000 \"12.5 -  0%\"", "#008000 \"15 - 50%\"",
                                        "#008000 \"1.5 - 25%\"", "#000000 \". . .\""}));
    p.view->Select(charts::PopupKind::Regions, 0);
    const auto cells = ColouredTexts(p.Paint());
    ASSERT_EQ(cells.size(), 4u);
    EXPECT_EQ(cells[0], "#008000 \"20.5 - 25%\"");
    EXPECT_EQ(cells[1], "#000000 \". . .\""); // after a green cell
    // The scale changes only the colours: at 10 % the green band is 45 % ... 55 %, so 25 % is
    // in the lower yellow band (22.5 % ... 45 %).
    EXPECT_EQ(p.view->QueryCommand(1502), (charts::CommandState{true, true}));
    EXPECT_TRUE(p.view->OnCommand(1509));
    EXPECT_EQ(p.view->BandFraction(), BoxFraction(9));
    EXPECT_EQ(p.view->QueryCommand(1509), (charts::CommandState{true, true}));
    EXPECT_EQ(p.view->QueryCommand(1502), (charts::CommandState{true, false}));
    EXPECT_EQ(ColouredTexts(p.Paint())[0], "#c0c000 \"20.5 - 25%\"");
    EXPECT_EQ(p.view->Cell(0, 1), "20.5 - 25%");
    // The text's bottom on the cell's bottom edge (row 0 ends at 30 + 20 + 14), its right end
    // 3 pixels inside the column.
    const auto texts = Lines(p.Paint(), "text ");
    const auto value = std::ranges::find_if(
        texts, [](const std::string& t) { return t.find("\"20.5 - 25%\"") != std::string::npos; });
    ASSERT_NE(value, texts.end());
    const int col1Right = p.view->Columns()[0].width + 120;
    EXPECT_EQ(*value, "text " + std::to_string(col1Right - 3) + " 64 \"20.5 - 25%\"");
}

TEST(Profile, ExportsAreTheBytesOfTheWrittenFormats) {
    Open p;
    EXPECT_TRUE(p.view->OffersFileExport());
    EXPECT_EQ(*p.view->ExportText(charts::TextExport::Text), Expected("profile-1250.txt"));
    EXPECT_EQ(*p.view->ExportText(charts::TextExport::Html), Expected("profile-1250.html"));
    EXPECT_EQ(p.view->CopyFragment(), Expected("profile-1250.copy"));
    EXPECT_TRUE(p.view->OnCommand(CmdCopy));
    std::string utf8 = Expected("profile-1250.copy");
    utf8.replace(utf8.find("Plze\xF2"), 5, "Plze\xC5\x88");
    EXPECT_EQ(p.host.clipboardHtml, utf8);
    EXPECT_EQ(*p.view->ExportText(charts::TextExport::ClipboardHtml),
              ClipboardHtmlFormat(p.host.clipboardHtml));
    EXPECT_EQ(p.host.clipboardText.find('\r'), std::string::npos);
    EXPECT_NE(p.host.clipboardText.find("    1011 Growth        \t           2.5 - 50%"),
              std::string::npos);

    // The export file dialog writes the kind of the extension.
    p.host.fileAnswer = p.db.dir.file("profile.TXT");
    p.view->ExportFile();
    EXPECT_EQ(test::ReadFile(*p.host.fileAnswer), Expected("profile-1250.txt"));
}

TEST(Profile, NoGroupWithDataAndNoIndicatorsGivesOnlyTheBands) {
    StartedStore db([](test::Fixture& f) {
        f.Set(10000, "Country", {"North", "Total"});
        f.Group(1, "Economy");
        f.Periods({2000});
    });
    Selection s;
    s.Confirm(10000, {}, {{MakeRegionKey(10000, 1), "North"}}, {{2000, "2000"}});
    RecordingHost host;
    auto view = test::MakeTestView<CProfile>(db.store, s);
    test::OpenView(*view, host);
    EXPECT_TRUE(view->Loaded());
    EXPECT_EQ(view->RowCount(), 0);
    EXPECT_EQ(view->CurrentGroup(), -1);
    EXPECT_TRUE(view->Popups()[0].items.empty());
    EXPECT_EQ(*view->ExportText(charts::TextExport::Text), "North\r\n \t                2000\r\n");
    const std::string html = *view->ExportText(charts::TextExport::Html);
    EXPECT_NE(html.find("<TD>Indicators</TD><TD>2000</TD></TR>\r\n</TABLE>"), std::string::npos);
}

TEST(Profile, JsonHoldsValuesSharesTextsAndColours) {
    Open p;
    JsonWriter j;
    ASSERT_TRUE(p.view->WriteData(j));
    EXPECT_EQ(j.str(),
              "{\"region\":{\"key\":" + std::to_string(MakeRegionKey(10000, 2)) +
                  ",\"name\":\"Plze\xC5\x88\"},\"periods\":[2000,2001],\"rows\":[{\"indicator\":"
                  "1010,\"cells\":[{\"profileValue\":20.5,\"belowShare\":0.25,\"text\":\"20.5 - "
                  "25%\",\"colour\":\"#008000\"},{\"profileValue\":null,\"belowShare\":null,"
                  "\"text\":\". . .\",\"colour\":\"#000000\"}]},{\"indicator\":1011,\"cells\":"
                  "[{\"profileValue\":2.5,\"belowShare\":0.5,\"text\":\"2.5 - 50%\",\"colour\":"
                  "\"#008000\"},{\"profileValue\":null,\"belowShare\":null,\"text\":\". . .\","
                  "\"colour\":\"#000000\"}]}]}");
}

} // namespace
} // namespace zor::grids
