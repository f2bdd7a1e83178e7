#include "core/InddefReader.h"

#include "core/Bytes.h"
#include "tests/support/Fixture.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace zor {
namespace {

using Defs = test::Definitions;

std::string BuildFile(const Defs& defs) {
    return test::DefinitionsFileBytes(defs);
}

const std::string kNotFound = "\r\n\tDefinition is not found!\r\n";

class InddefReaderTest : public ::testing::Test {
protected:
    std::string Write(const std::string& bytes) {
        std::string path = dir_.file("inddef.bin");
        test::WriteFile(path, bytes);
        return path;
    }
    std::vector<DefinitionView> Views(const std::string& bytes, const std::vector<int>& codes) {
        return LoadDefinitionViews(Write(bytes), codes, kNotFound);
    }

    test::TempDir dir_;
};

TEST_F(InddefReaderTest, ReadsIndexAndRecords) {
    std::string path = Write(BuildFile({{1230, "one\n"}, {-5, ""}, {1230, "two\nlines\n"}}));
    DefinitionsFile f;
    ASSERT_TRUE(f.Open(path));
    ASSERT_EQ(f.Index().size(), 3u);
    EXPECT_EQ(f.Index()[0].code, 1230);
    EXPECT_EQ(f.Index()[0].offset, 20u);
    EXPECT_EQ(f.Index()[1].code, -5);
    EXPECT_EQ(f.Index()[2].offset, 32u);
    EXPECT_EQ(f.ReadRecord(20), "one\n");
    EXPECT_EQ(f.ReadRecord(28), "");
    EXPECT_EQ(f.ReadRecord(32), "two\nlines\n");
}

TEST_F(InddefReaderTest, SlotsTakeOwnCodeAndMainIndicatorFallback) {
    // 2010 is selected itself; 2020 is only the main indicator of the selected variants.
    DefinitionIndexEntry a{2010, 100}, b{2020, 200}, c{2010, 300}, d{2022, 400}, e{2020, 500};
    std::vector<int> selected{2021, 2010, 2022, 3031, 2023};
    auto slots = MatchDefinitionSlots({a, b, c, d, e}, selected);
    ASSERT_EQ(slots.size(), 5u);
    // The first variant of 2020 takes its main entry; the later main entry finds it taken.
    EXPECT_TRUE(slots[0].filled);
    EXPECT_EQ(slots[0].code, 2020);
    EXPECT_EQ(slots[0].offset, 200u);
    // A later entry with a selected code replaces the earlier one.
    EXPECT_EQ(slots[1].offset, 300u);
    EXPECT_EQ(slots[2].code, 2022);
    EXPECT_EQ(slots[2].offset, 400u);
    EXPECT_FALSE(slots[3].filled);
    // The second main entry goes to no other variant, even one whose slot is empty.
    EXPECT_FALSE(slots[4].filled);

    EXPECT_EQ(SlotOfItem(slots, 2021), 0);
    EXPECT_EQ(SlotOfItem(slots, 2010), 1);
    EXPECT_EQ(SlotOfItem(slots, 2022), 2);
    EXPECT_EQ(SlotOfItem(slots, 3031), -1);
    EXPECT_EQ(SlotOfItem(slots, 2023), 0);
}

TEST_F(InddefReaderTest, EntryForSelectedMainIsNotTakenByVariant) {
    // The main indicator is selected after its variant: the entry goes to the main indicator's
    // own slot, and the variant shows it through the fallback.
    auto slots = MatchDefinitionSlots({{5050, 10}}, {5051, 5050});
    EXPECT_FALSE(slots[0].filled);
    EXPECT_EQ(slots[1].code, 5050);
    EXPECT_EQ(SlotOfItem(slots, 5051), 1);
}

TEST_F(InddefReaderTest, ViewsAsTheViewerShowsThem) {
    auto views = Views(BuildFile({{1230, "first\nsecond\nthird\n"},
                                  {1240, "old\n"},
                                  {1240, "new\n"},
                                  {1251, "variant only\n"}}),
                       {1231, 1240, 1250, 1230});
    ASSERT_EQ(views.size(), 4u);
    // A variant without its own definition shows its main indicator's.
    EXPECT_EQ(views[0].code, 1231);
    EXPECT_TRUE(views[0].found);
    EXPECT_EQ(views[0].text, " first\r\n second\r\n third\r\n ");
    EXPECT_EQ(views[1].text, " new\r\n ");
    // A main indicator does not borrow from its variants.
    EXPECT_FALSE(views[2].found);
    EXPECT_EQ(views[2].text, kNotFound);
    EXPECT_EQ(views[3].text, views[0].text);
}

TEST_F(InddefReaderTest, DisplayTexts) {
    EXPECT_EQ(IndentDefinitionText(""), " ");
    EXPECT_EQ(IndentDefinitionText("a\n\nb"), " a\r\n \r\n b");
    EXPECT_EQ(DefinitionNotFoundText(TitlesTable{}), kNotFound);
    TitlesTable titles;
    titles.Add({1078, "Definition is not found!", "Keine Definition"});
    EXPECT_EQ(DefinitionNotFoundText(titles), "\r\n\tKeine Definition\r\n");
}

TEST_F(InddefReaderTest, DefinitionsPathFollowsProvider) {
    AppSettings s;
    s.providerName = "zor-2";
    s.dataSource = "/db/";
    s.dataDirectory = "/inst/";
    EXPECT_EQ(DefinitionsFilePath(s), "/db/inddef.bin");
    s.providerName = "OTHER";
    EXPECT_EQ(DefinitionsFilePath(s), "/inst/inddef.bin");
}

TEST_F(InddefReaderTest, UnreadableHeadersGiveNoEntries) {
    std::string good = BuildFile({{1010, "text\n"}});
    struct Case {
        const char* what;
        std::string bytes;
    };
    std::string negative = good;
    negative[0] = char(0xFF), negative[1] = char(0xFF); // N = -1
    std::string tooMany = good;
    tooMany[0] = 100; // 100 entries need 602 bytes
    std::string huge = good;
    huge[0] = char(0xFF), huge[1] = 0x7F; // N = 32767
    for (const Case& c : {Case{"empty", ""}, Case{"one byte", "\x01"}, Case{"N < 0", negative},
                          Case{"N too large", tooMany}, Case{"N = 32767", huge}}) {
        SCOPED_TRACE(c.what);
        DefinitionsFile f;
        EXPECT_FALSE(f.Open(Write(c.bytes)));
        EXPECT_TRUE(f.Index().empty());
        auto views = Views(c.bytes, {1010});
        ASSERT_EQ(views.size(), 1u);
        EXPECT_FALSE(views[0].found);
        EXPECT_EQ(views[0].text, kNotFound);
    }
    auto missing = LoadDefinitionViews(dir_.file("nothing.bin"), {1010, 1011}, kNotFound);
    ASSERT_EQ(missing.size(), 2u);
    EXPECT_FALSE(missing[0].found || missing[1].found);
}

TEST_F(InddefReaderTest, BrokenRecordsAreNotFoundAndDoNotHideGoodOnes) {
    // Entry 0 is good; the others point past the end, carry a length past the end, a negative
    // length, or a length of 2 GiB.
    ByteWriter w;
    w.i16(6);
    const uint32_t body = 2 + 6 * 6;
    const std::pair<int16_t, uint32_t> entries[] = {{1010, body},      {1010, 5000},
                                                    {1020, body + 9},  {1030, body + 18},
                                                    {1040, body + 27}, {1050, 0xFFFFFFFF}};
    for (auto [code, off] : entries) {
        w.i16(code);
        w.u32(off);
    }
    w.i32(5), w.bytes("good\n");   // body
    w.i32(1000), w.bytes("short"); // body + 9
    w.i32(-3), w.bytes("xxxxx");   // body + 18
    w.i32(0x7FFFFFFF);             // body + 27
    std::string path = Write(w.data());

    DefinitionsFile f;
    ASSERT_TRUE(f.Open(path));
    ASSERT_EQ(f.Index().size(), 1u);
    EXPECT_EQ(f.ReadRecord(body + 9), std::nullopt);
    EXPECT_EQ(f.ReadRecord(body + 18), std::nullopt);
    EXPECT_EQ(f.ReadRecord(body + 27), std::nullopt);
    EXPECT_EQ(f.ReadRecord(0xFFFFFFFF), std::nullopt);

    auto views = LoadDefinitionViews(path, {1010, 1020, 1030, 1040, 1050}, kNotFound);
    EXPECT_EQ(views[0].text, " good\r\n ");
    for (size_t i = 1; i < views.size(); ++i) {
        EXPECT_FALSE(views[i].found) << views[i].code;
        EXPECT_EQ(views[i].text, kNotFound);
    }
}

} // namespace
} // namespace zor
