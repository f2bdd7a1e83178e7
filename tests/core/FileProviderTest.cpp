// The built-in file provider: catalogue blocks and value reading with its file cache.
#include "core/FileProvider.h"
#include "core/Bytes.h"
#include "core/Formats.h"
#include "tests/support/Fixture.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace zor {
namespace {

using test::Fixture;
using test::TempDir;
using test::WriteFile;

// One mainlist.ind block written by hand: slot names, variant counts and variant names.
std::string
Block(int L, const std::vector<std::tuple<int, std::string, int, std::vector<std::string>>>& slots,
      int count) {
    ByteWriter w;
    w.i16(int16_t(count));
    for (int s = 0; s < GroupSlots; ++s) {
        std::string name = "*";
        int vc = 0;
        std::vector<std::string> vn;
        for (const auto& [slot, n, c, v] : slots)
            if (slot == s) {
                name = n;
                vc = c;
                vn = v;
            }
        w.name(name, size_t(L));
        w.i16(int16_t(vc));
        for (int v = 0; v < VariantSlots; ++v)
            w.name(v < int(vn.size()) ? vn[size_t(v)] : "*", size_t(L));
    }
    return w.data();
}

TEST(IndicatorBlock, SlotsAndVariants) {
    const int L = 12;
    std::string block = Block(L,
                              {{0, "First", 3, {"v1", "*", "v3"}},
                               {4, "Fifth", 0, {"ignored", "ignored too"}},
                               {99, "Last", 1, {"*", "*", "*", "*", "*", "*", "*", "*", "v9"}}},
                              3);
    auto parsed = ParseIndicatorBlock(block, L, 7);
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(parsed->count, 3);
    const auto& inds = parsed->indicators;
    ASSERT_EQ(inds.size(), 3u);
    EXPECT_EQ(inds[0].code, 7000);
    // A "*" variant is skipped; the following ones keep their own codes.
    ASSERT_EQ(inds[0].variants.size(), 2u);
    EXPECT_EQ(inds[0].variants[0].code, 7001);
    EXPECT_EQ(inds[0].variants[1].code, 7003);
    EXPECT_EQ(inds[0].variants[1].name, "v3");
    // Variant count 0: no variants even though names follow.
    EXPECT_EQ(inds[1].code, 7040);
    EXPECT_TRUE(inds[1].variants.empty());
    EXPECT_EQ(inds[2].code, 7990);
    ASSERT_EQ(inds[2].variants.size(), 1u);
    EXPECT_EQ(inds[2].variants[0].code, 7999);

    // A block whose count is 0 is empty whatever its slots hold.
    auto empty = ParseIndicatorBlock(Block(L, {{0, "Hidden", 0, {}}}, 0), L, 7);
    ASSERT_TRUE(empty.has_value());
    EXPECT_TRUE(empty->indicators.empty());
    // A short block fails.
    EXPECT_FALSE(ParseIndicatorBlock(block.substr(0, block.size() - 1), L, 7).has_value());
}

TEST(IndicatorBlock, GroupSlotsMarkedWithStarProduceNoGroup) {
    ByteWriter w;
    w.bytes("MGF");
    w.i16(8);
    const char* names[10] = {"Zero", "*One", "Two", "*", "", "Five", "*", "*", "*", "Nine"};
    for (auto n : names) w.name(n, 8);
    auto groups = ParseGroupNames(w.data());
    ASSERT_TRUE(groups.has_value());
    std::vector<int> ids;
    for (const auto& g : *groups) ids.push_back(g.id);
    EXPECT_EQ(ids, (std::vector<int>{0, 2, 5, 9}));
    EXPECT_EQ((*groups)[2].name, "Five");
}

TEST(Formats, NamesCutAtZeroAndFullFieldsWithoutTerminator) {
    RegionSet s;
    s.topCount = 2;
    s.regions = {{1, "ABCDEFGH"}, {2, "Tot"}};
    std::string bytes = WriteParFile(s, 8);
    RegionSet back;
    ASSERT_TRUE(ParseParFile(bytes, back));
    EXPECT_EQ(back.regions[0].name, "ABCDEFGH");
    EXPECT_EQ(back.regions[1].name, "Tot");
    EXPECT_EQ(back.smallCount, 0);

    // Sixteen-byte period names have no terminator in the file.
    auto periods = ParseTimePeriods(WriteTimePeriods({{2000, "0123456789abcdef"}}));
    ASSERT_TRUE(periods.has_value());
    EXPECT_EQ((*periods)[0].name, "0123456789abcdef");
}

TEST(Formats, AbsurdCountsNeverAllocateBeyondTheFile) {
    // Counts larger than the bytes that follow fail cleanly.
    EXPECT_FALSE(ParseTimePeriods(std::string("\xff\x7f", 2)).has_value());
    EXPECT_FALSE(ParseSetList(std::string("CLF\xff\x7f\xff\x7f", 7)).has_value());
    EXPECT_FALSE(ParseSetList(std::string("CLF\x00\x00\x01\x00", 7)).has_value()); // L = 0
    RegionSet s;
    EXPECT_FALSE(ParseParFile(std::string("CIF\x10\x00\xff\x7f", 7), s));
    EXPECT_FALSE(
        ParseParFile(std::string("CIF\x10\x00\x00\x00\x00\x00\x00\x00", 11), s)); // no total
    EXPECT_FALSE(ParseIndFile(std::string("\x10\x00\x01\x00", 4), s));
    EXPECT_FALSE(ParseIndFile(std::string("\xfe\xff", 2), s));
    std::vector<RegionSet> sets(1);
    EXPECT_FALSE(ApplySetCodes(std::string("\x05\x00\x10\x27", 4), sets));
    EXPECT_FALSE(ParseTempListHeader(std::string("TIF\x00\x00\x00\x00", 7)).has_value());
    EXPECT_FALSE(ParseTempList(WriteTempList({}).substr(0, 500)).has_value());
}

TEST(Formats, SetCodesOfUnknownSetsAreIgnored) {
    std::vector<RegionSet> sets(2);
    sets[0].id = 10000;
    sets[1].id = 10100;
    ByteWriter w;
    w.i16(2);
    w.i16(10100);
    w.name("ABC", 3);
    w.i16(12345);
    w.name("XYZ", 3);
    ASSERT_TRUE(ApplySetCodes(w.data(), sets));
    EXPECT_EQ(sets[0].code, "");
    EXPECT_EQ(sets[1].code, "ABC");
}

TEST(Formats, TempListRoundTrip) {
    TempIndicatorDef d;
    d.code = 10042;
    d.name = "Growth";
    d.operation = 6;
    d.operandA = 1010;
    d.operandB = -1;
    d.parameters[0] = 100.0f;
    std::string bytes = WriteTempList({d});
    EXPECT_EQ(bytes.size(), 7u + 100u * 168u);
    auto list = ParseTempList(bytes);
    ASSERT_TRUE(list.has_value());
    EXPECT_EQ((*list)[42].name, "Growth");
    EXPECT_EQ((*list)[42].operation, 6);
    EXPECT_EQ((*list)[42].operandA, 1010);
    EXPECT_EQ((*list)[42].parameters[0], 100.0f);
    EXPECT_EQ((*list)[41].name, "*");
    EXPECT_EQ((*list)[41].spare, -1);
    auto h = ParseTempListHeader(bytes.substr(0, 7));
    ASSERT_TRUE(h.has_value());
    EXPECT_EQ(h->usedCount, 1);
    EXPECT_EQ(h->nameLength, 128);
}

class ValueReading : public ::testing::Test {
protected:
    void SetUp() override {
        Fixture f(dir.path());
        f.Set(10000, "Top", {"A", "B", "Total"}).SetIndicators({10, 20, 30});
        f.Group(0, "G").Indicator(10, "x").Indicator(20, "y").Indicator(30, "z");
        f.Periods({2000, 2001});
        f.Values(10000, 2000, 20, {1.5f, 2.5f, 4.0f});
        f.Values(10000, 2000, 30, {7, 8, 9});
        f.Write();
        request.dataSource = dir.path();
        request.setIndicators = &codes;
        request.rows = 3;
        request.recordLength = 3;
        files.BeginValueReading();
    }
    TempDir dir;
    std::vector<int16_t> codes{10, 20, 30};
    ValueRequest request;
    FileProvider files{dir.path(), "T"};
};

TEST_F(ValueReading, ReadsTheRecordOfTheIndicator) {
    float out[3] = {0, 0, 0};
    ASSERT_EQ(files.ReadValues(out, 10000, 2000, 20, request), 1);
    EXPECT_EQ(out[0], 1.5f);
    EXPECT_EQ(out[2], 4.0f);
    ASSERT_EQ(files.ReadValues(out, 10000, 2000, 10, request), 1);
    EXPECT_EQ(out[1], MissingValue);
    request.rows = 2;
    float part[3] = {-1, -1, -1};
    ASSERT_EQ(files.ReadValues(part, 10000, 2000, 30, request), 1);
    EXPECT_EQ(part[1], 8.0f);
    EXPECT_EQ(part[2], -1.0f); // only `rows` values are written
}

TEST_F(ValueReading, FailedReadsLeaveTheDestinationUntouched) {
    float out[3] = {5, 5, 5};
    EXPECT_EQ(files.ReadValues(out, 10000, 2000, 40, request), -1); // not in the set's list
    EXPECT_EQ(files.ReadValues(out, 10000, 2001, 10, request), -1); // no value file
    EXPECT_EQ(files.ReadValues(out, 10100, 2000, 10, request), -1);
    // A truncated value file: the last record is cut short.
    std::filesystem::resize_file(dir.file("10000.2000"), 3 * 3 * 4 - 2);
    FileProvider fresh(dir.path(), "T");
    fresh.BeginValueReading();
    EXPECT_EQ(fresh.ReadValues(out, 10000, 2000, 30, request), -1);
    EXPECT_EQ(fresh.ReadValues(out, 10000, 2000, 20, request), 1);
    EXPECT_EQ(out[0], 1.5f);
    request.setIndicators = nullptr;
    EXPECT_EQ(files.ReadValues(out, 10000, 2000, 20, request), -1);
}

TEST_F(ValueReading, CacheKeepsSixtyFourFilesAndDropsTheOldest) {
    // 70 distinct files: the cache never holds more than 64.
    std::vector<int16_t> one{10};
    ValueRequest r;
    r.dataSource = dir.path();
    r.setIndicators = &one;
    r.rows = 1;
    r.recordLength = 1;
    for (int i = 0; i < 70; ++i)
        WriteFile(dir.file("5." + std::to_string(i)), WriteValueFile({{float(i)}}));
    float v = 0;
    for (int i = 0; i < 64; ++i) ASSERT_EQ(files.ReadValues(&v, 5, i, 10, r), 1);
    EXPECT_EQ(files.CachedFiles(), 64u);
    // The 65th file closes the one opened longest ago (file 0): delete it and it can no longer
    // be read, while file 1 is still served from the cache.
    ASSERT_EQ(files.ReadValues(&v, 5, 64, 10, r), 1);
    EXPECT_EQ(files.CachedFiles(), 64u);
    std::filesystem::remove(dir.file("5.0"));
    std::filesystem::remove(dir.file("5.1"));
    EXPECT_EQ(files.ReadValues(&v, 5, 0, 10, r), -1);
    ASSERT_EQ(files.ReadValues(&v, 5, 1, 10, r), 1);
    EXPECT_EQ(v, 1.0f);
    files.EndValueReading();
    EXPECT_EQ(files.CachedFiles(), 0u);
    EXPECT_EQ(files.ReadValues(&v, 5, 1, 10, r), -1);
}

} // namespace
} // namespace zor
