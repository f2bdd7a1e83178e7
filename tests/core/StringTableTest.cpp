#include "core/MenuCaptions.h"
#include "core/Texts.h"

#include <gtest/gtest.h>

#include <string>

namespace zor {
namespace {

bool SortedUnique(const std::vector<StringEntry>& t) {
    for (size_t i = 1; i < t.size(); ++i)
        if (t[i - 1].id >= t[i].id) return false;
    return true;
}

TEST(StringTable, SortedWithUniqueIds) {
    EXPECT_TRUE(SortedUnique(BuiltinStrings()));
    EXPECT_TRUE(SortedUnique(MenuCommandCaptions()));
    for (const auto& e : BuiltinStrings()) EXPECT_NE(e.text, nullptr) << e.id;
}

TEST(StringTable, TextsTheProgramReliesOn) {
    auto text = [](int id) {
        const char* s = BuiltinString(id);
        return s ? std::string(s) : std::string("<none>");
    };
    EXPECT_EQ(text(1076), "Sorry, no data!");
    EXPECT_EQ(text(1077), "Temporary indicators");
    EXPECT_EQ(text(1078), "Definition is not found!");
    EXPECT_EQ(text(1079), "Can not find definitions file!");
    EXPECT_EQ(text(1401), "First Available");
    EXPECT_EQ(text(1402), "Last Available");
    EXPECT_EQ(text(10151),
              "Select required parameters first (Indicators, Regions, Time periods) !");
    EXPECT_EQ(text(15002), "Selected indicators");
    EXPECT_EQ(text(11010), "To select parameters: indicators, regions and time periods...");
    EXPECT_EQ(text(145), "&nbsp;");
    EXPECT_EQ(BuiltinString(1), nullptr);
}

TEST(StringTable, LoadTextPrefersNonEmptyReplacement) {
    TitlesTable titles;
    titles.Add({1076, "Sorry, no data!", "Keine Daten!"});
    titles.Add({1401, "First Available", ""});
    EXPECT_EQ(LoadText(titles, 1076), "Keine Daten!");
    EXPECT_EQ(LoadText(titles, 1401), "First Available");
    EXPECT_EQ(LoadText(titles, 1402), "Last Available");
    EXPECT_FALSE(LoadText(titles, 1).has_value());
}

} // namespace
} // namespace zor
