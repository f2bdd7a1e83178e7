// The titles file and the lookups every user-interface text goes through.
#include "core/Texts.h"
#include "core/Bytes.h"
#include "core/Charset.h"
#include "core/Formats.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

TEST(TitlesFile, ParsesEntriesInFileOrder) {
    std::vector<TitleEntry> entries = {{1076, "Sorry, no data!", "Keine Daten!"},
                                       {2000, "&Map", ""},
                                       {1076, "second", "ignored"},
                                       {0, "Graphs", "Grafiken"}};
    TitlesTable t = TitlesTable::Parse(WriteTitlesFile(entries));
    ASSERT_EQ(t.entries().size(), 4u);
    EXPECT_EQ(t.TitleById(1076), "Keine Daten!"); // the first entry with the id wins
    EXPECT_EQ(t.TitleById(2000), std::nullopt);   // empty replacement
    EXPECT_EQ(t.TitleById(3), std::nullopt);
    EXPECT_EQ(t.TitleByDefaultText("GRAPHS"), "Grafiken");
    EXPECT_EQ(t.TitleByDefaultText(""), std::nullopt);
    EXPECT_EQ(LoadText(t, 1076), "Keine Daten!");
    EXPECT_EQ(LoadText(TitlesTable{}, 1076), "Sorry, no data!");
    EXPECT_EQ(LoadText(TitlesTable{}, 999999), std::nullopt);
    EXPECT_EQ(LoadTextOr(TitlesTable{}, 999999, "First Available"), "First Available");
}

TEST(TitlesFile, HalfLengthModeCutsEveryText) {
    std::vector<TitleEntry> entries = {{5, "Parameters", "Parameter"}};
    TitlesTable t = TitlesTable::Parse(WriteTitlesFile(entries, true));
    ASSERT_EQ(t.entries().size(), 1u);
    EXPECT_EQ(t.entries()[0].defaultText, "Parameters");
    EXPECT_EQ(t.TitleById(5), "Parameter");
}

TEST(TitlesFile, DamagedFilesNeverCrash) {
    EXPECT_TRUE(TitlesTable::Parse("").empty());
    EXPECT_TRUE(TitlesTable::Parse(std::string("\0\xff\x7f", 3)).empty()); // count, no index
    std::string good = WriteTitlesFile({{1, "a", "b"}, {2, "c", "d"}});
    // An entry whose offset points past the end is dropped; the others stay.
    std::string bad = good;
    bad[3 + 8 + 4] = '\xff';
    bad[3 + 8 + 5] = '\xff';
    TitlesTable t = TitlesTable::Parse(bad);
    ASSERT_EQ(t.entries().size(), 1u);
    EXPECT_EQ(t.TitleById(1), "b");
    // A length past the end drops the entry too.
    std::string longLen = good;
    longLen[3 + 16] = '\x00';
    longLen[3 + 16 + 1] = '\x7f';
    EXPECT_EQ(TitlesTable::Parse(longLen).entries().size(), 1u);
    // Texts longer than 1023 bytes are cut.
    TitlesTable big = TitlesTable::Parse(WriteTitlesFile({{7, "x", std::string(2000, 'y')}}));
    EXPECT_EQ(big.TitleById(7)->size(), MaxTitleTextBytes);
    EXPECT_TRUE(TitlesTable::Load("/nonexistent/wtitles.bin").empty());
}

TEST(Charset, DecodesTheConfiguredCodePage) {
    EXPECT_EQ(DecodeToUtf8("Plain", 238), "Plain");
    EXPECT_EQ(DecodeToUtf8("\xe8", 0), "\xc3\xa8");     // e grave in 1252
    EXPECT_EQ(DecodeToUtf8("\xe8", 238), "\xc4\x8d");   // c caron in 1250
    EXPECT_EQ(DecodeToUtf8("\xe4", 204), "\xd0\xb4");   // Cyrillic de in 1251
    EXPECT_EQ(DecodeToUtf8("\xe4", 161), "\xce\xb4");   // Greek delta in 1253
    EXPECT_EQ(DecodeToUtf8("\x81", 0), "\xef\xbf\xbd"); // undefined in 1252
    EXPECT_EQ(DecodeToUtf8("\xe8", 77), "\xc3\xa8");    // unknown charset: 1252
    EXPECT_EQ(EncodeFromUtf8("\xc4\x8d", 238), std::string("\xe8"));
    EXPECT_EQ(EncodeFromUtf8("\xc4\x8d", 0), std::nullopt); // no c caron in 1252
    EXPECT_EQ(EncodeFromUtf8("\xff", 0), std::nullopt);     // not UTF-8
}

} // namespace
} // namespace zor
