#include "core/SavedSelections.h"
#include "core/Bytes.h"
#include "tests/support/Fixture.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace zor {
namespace {

SavedIndicatorList Ind(std::string name, std::vector<int16_t> codes) {
    return {std::move(name), std::move(codes), -1};
}
SavedRegionList Reg(std::string name, int16_t setCode, std::vector<int32_t> keys) {
    return {std::move(name), setCode, std::move(keys), -1};
}

// ---------------------------------------------------------------- formats

TEST(SavedSelectionFiles, IndicatorListsRoundTripWithFreeSlotsAfter) {
    std::string bytes = WriteIndicatorLists({Ind("GDP set", {10, 11, 10003}), Ind("empty", {})});
    ASSERT_EQ(bytes.size(), 50 * IndicatorSlotSize);
    auto back = ParseIndicatorLists(bytes);
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0].name, "GDP set");
    EXPECT_EQ(back[0].codes, (std::vector<int16_t>{10, 11, 10003}));
    EXPECT_EQ(back[0].slot, 0);
    EXPECT_EQ(back[1].codes, std::vector<int16_t>{});
    EXPECT_EQ(back[1].slot, 1);
    // Used places after the count and every free slot are zero; a free slot starts with ".".
    ByteReader r(std::string_view(bytes).substr(IndicatorSlotSize));
    r.skip(32 + 2);
    EXPECT_EQ(r.i16(), 0);
    for (size_t s = 2; s < 50; ++s) {
        std::string_view slot =
            std::string_view(bytes).substr(s * IndicatorSlotSize, IndicatorSlotSize);
        EXPECT_EQ(slot[0], '.');
        EXPECT_EQ(slot.substr(1), std::string(IndicatorSlotSize - 1, '\0')) << s;
    }
    EXPECT_EQ(WriteIndicatorLists({}), WriteIndicatorLists({}));
    EXPECT_TRUE(ParseIndicatorLists(WriteIndicatorLists({})).empty());
}

TEST(SavedSelectionFiles, RegionListsKeepSetCodeAndFullKeys) {
    const int32_t big = MakeRegionKey(32000, 65535);
    std::string bytes = WriteRegionLists({Reg("north", 19900, {MakeRegionKey(10100, 4), big}),
                                          Reg("top", 10000, {MakeRegionKey(10000, 1)})});
    ASSERT_EQ(bytes.size(), 50 * RegionSlotSize);
    auto back = ParseRegionLists(bytes);
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0].setCode, 19900);
    EXPECT_EQ(back[0].keys, (std::vector<int32_t>{MakeRegionKey(10100, 4), big}));
    EXPECT_EQ(back[1].name, "top");
    EXPECT_EQ(back[1].setCode, 10000);
    std::string_view free = std::string_view(bytes).substr(2 * RegionSlotSize, RegionSlotSize);
    EXPECT_EQ(free, "." + std::string(RegionSlotSize - 1, '\0'));
}

TEST(SavedSelectionFiles, CutsToFiftyEntriesAndFiftyItems) {
    std::vector<SavedIndicatorList> many;
    for (int i = 0; i < 55; ++i) many.push_back(Ind("list " + std::to_string(i), {int16_t(i)}));
    std::vector<int16_t> longList(70);
    for (size_t i = 0; i < longList.size(); ++i) longList[i] = int16_t(i + 1);
    many[3].codes = longList;
    many[4].name = std::string(40, 'x'); // names are cut to 32 bytes
    std::string bytes = WriteIndicatorLists(many);
    ASSERT_EQ(bytes.size(), 50 * IndicatorSlotSize);
    auto back = ParseIndicatorLists(bytes);
    ASSERT_EQ(back.size(), 50u);
    EXPECT_EQ(back[49].name, "list 49");
    EXPECT_EQ(back[3].codes, std::vector<int16_t>(longList.begin(), longList.begin() + 50));
    EXPECT_EQ(back[4].name, std::string(32, 'x'));

    // A stored count beyond 50 reads 50 codes; a negative one reads none.
    ByteWriter w;
    w.name("odd", 32);
    w.i16(300);
    for (int i = 0; i < 50; ++i) w.i16(int16_t(i));
    w.name("negative", 32);
    w.i16(-5);
    w.zeros(100);
    auto odd = ParseIndicatorLists(w.data());
    ASSERT_EQ(odd.size(), 2u);
    EXPECT_EQ(odd[0].codes.size(), 50u);
    EXPECT_TRUE(odd[1].codes.empty());
}

TEST(SavedSelectionFiles, FreeSlotMarkersAndShortFiles) {
    ByteWriter w;
    auto slot = [&](std::string_view name, int16_t code) {
        w.name(name, 32);
        w.i16(1);
        w.i16(code);
        w.zeros(98);
    };
    slot("", 1);      // empty name: free
    slot(".old", 2);  // "." marks a free slot
    slot("*star", 3); // only "." marks free slots here
    slot("kept", 4);
    std::string bytes = w.data() + std::string(IndicatorSlotSize / 2, 'z'); // half a slot
    auto back = ParseIndicatorLists(bytes);
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0].name, "*star");
    EXPECT_EQ(back[0].slot, 2);
    EXPECT_EQ(back[1].codes, std::vector<int16_t>{4});
    EXPECT_EQ(back[1].slot, 3);
    EXPECT_TRUE(ParseRegionLists("").empty());

    test::TempDir dir;
    EXPECT_FALSE(ReadIndicatorListFile(dir.file("ind.sav")));
    EXPECT_FALSE(ReadRegionListFile(dir.file("reg.sav")));
    // A file with more than 50 slots is read no further than 50.
    test::WriteFile(dir.file("ind.sav"), WriteIndicatorLists({Ind("a", {1})}) + bytes);
    auto file = ReadIndicatorListFile(dir.file("ind.sav"));
    ASSERT_TRUE(file);
    EXPECT_EQ(file->size(), 1u);
}

// ---------------------------------------------------------------- dialog model

TEST(SaveSelectionDialog, InsertRenameDeleteAndResult) {
    SaveSelectionModel m({"first", "second", "third"});
    EXPECT_EQ(m.Count(), 3);
    EXPECT_EQ(m.Position(0), "1");
    EXPECT_EQ(m.Ok(), SaveSelectionModel::None);

    ASSERT_TRUE(m.CanInsert());
    EXPECT_EQ(m.Insert(), 3);
    EXPECT_EQ(m.Selected(), 3);
    EXPECT_EQ(m.Title(3), "");
    EXPECT_EQ(m.Origin(3), -1);
    EXPECT_FALSE(m.CanInsert()); // until a delete
    EXPECT_EQ(m.Insert(), -1);
    EXPECT_TRUE(m.Rename(3, std::string(40, 'n')));
    EXPECT_EQ(m.Title(3), std::string(32, 'n'));
    EXPECT_FALSE(m.Rename(3, ".hidden")); // would read back as a free slot
    EXPECT_EQ(m.Title(3), std::string(32, 'n'));
    EXPECT_FALSE(m.Rename(9, "x"));
    EXPECT_EQ(m.Ok(), 13);

    m.Select(1);
    ASSERT_TRUE(m.Delete());
    EXPECT_EQ(m.Count(), 3);
    EXPECT_EQ(m.Title(1), "third");
    EXPECT_EQ(m.Position(1), "2");
    EXPECT_EQ(m.Origin(1), 2);
    EXPECT_EQ(m.Selected(), SaveSelectionModel::None);
    EXPECT_FALSE(m.Delete());
    EXPECT_TRUE(m.CanInsert());
    m.Select(0);
    EXPECT_EQ(m.Ok(), 10);
    m.Select(7);
    EXPECT_EQ(m.Ok(), SaveSelectionModel::None);
}

TEST(SaveSelectionDialog, NoInsertWithFiftyEntries) {
    std::vector<std::string> titles(50, "t");
    SaveSelectionModel m(titles);
    EXPECT_FALSE(m.CanInsert());
    EXPECT_EQ(m.Insert(), -1);
    m.Select(49);
    ASSERT_TRUE(m.Delete());
    EXPECT_TRUE(m.CanInsert());
    EXPECT_EQ(m.Insert(), 49);
}

// ---------------------------------------------------------------- save flow

TEST(SaveSelection, NothingCheckedCreatesTheFileOnly) {
    test::TempDir dir;
    bool asked = false;
    auto dialog = [&](SaveSelectionModel&) { return asked = true; };
    EXPECT_EQ(SaveIndicatorSelection(dir.file("ind.sav"), {}, dialog), SaveOutcome::NothingChecked);
    EXPECT_FALSE(asked);
    EXPECT_EQ(test::ReadFile(dir.file("ind.sav")), WriteIndicatorLists({}));
    EXPECT_EQ(SaveRegionSelection(dir.file("reg.sav"), 10000, {}, dialog),
              SaveOutcome::NothingChecked);
    EXPECT_EQ(test::ReadFile(dir.file("reg.sav")), WriteRegionLists({}));
    EXPECT_EQ(SaveIndicatorSelection(dir.file("no/such/dir/ind.sav"), {10}, dialog),
              SaveOutcome::FileError);
}

TEST(SaveSelection, InsertedSelectedAndUnselectedTitles) {
    test::TempDir dir;
    const std::string path = dir.file("ind.sav");
    ASSERT_TRUE(
        WriteIndicatorListFile(path, {Ind("old", {20}), Ind("gone", {30}), Ind("last", {40})}));
    auto dialog = [](SaveSelectionModel& m) {
        m.Select(1);
        m.Delete(); // "last" moves up into slot 1
        m.Insert(); // a new title, chosen
        m.Rename(2, "new");
        m.Rename(0, "older");
        return true;
    };
    ASSERT_EQ(SaveIndicatorSelection(path, {10, 11, 10003}, dialog), SaveOutcome::Saved);
    auto back = ReadIndicatorListFile(path);
    ASSERT_TRUE(back);
    ASSERT_EQ(back->size(), 3u);
    EXPECT_EQ((*back)[0].name, "older");
    EXPECT_EQ((*back)[0].codes, std::vector<int16_t>{20});
    EXPECT_EQ((*back)[1].name, "last");
    EXPECT_EQ((*back)[1].slot, 1);
    EXPECT_EQ((*back)[2].name, "new");
    EXPECT_EQ((*back)[2].codes, (std::vector<int16_t>{10, 11, 10003}));

    // An inserted title that is not selected is kept with count 0; nothing else changes.
    auto notChosen = [](SaveSelectionModel& m) {
        m.Rename(m.Insert(), "later");
        m.Select(SaveSelectionModel::None);
        return true;
    };
    ASSERT_EQ(SaveIndicatorSelection(path, {50}, notChosen), SaveOutcome::Saved);
    back = ReadIndicatorListFile(path);
    ASSERT_EQ(back->size(), 4u);
    EXPECT_EQ((*back)[3].name, "later");
    EXPECT_TRUE((*back)[3].codes.empty());
    EXPECT_EQ((*back)[2].codes, (std::vector<int16_t>{10, 11, 10003}));
}

TEST(SaveSelection, CancelChangesNothingAndUntitledChoiceIsKept) {
    test::TempDir dir;
    const std::string path = dir.file("reg.sav");
    ASSERT_TRUE(WriteRegionListFile(path, {Reg("a", 10000, {MakeRegionKey(10000, 1)})}));
    const std::string before = test::ReadFile(path);
    auto cancel = [](SaveSelectionModel& m) {
        m.Select(0);
        m.Delete();
        return false;
    };
    EXPECT_EQ(SaveRegionSelection(path, 19900, {1}, cancel), SaveOutcome::Cancelled);
    EXPECT_EQ(test::ReadFile(path), before);

    // A chosen row left without a title is named by its position, not lost in a free slot.
    std::vector<int32_t> keys;
    for (int i = 1; i <= 60; ++i) keys.push_back(MakeRegionKey(10100, i));
    auto untitled = [](SaveSelectionModel& m) { return m.Insert() >= 0; };
    ASSERT_EQ(SaveRegionSelection(path, 19900, keys, untitled), SaveOutcome::Saved);
    auto back = ReadRegionListFile(path);
    ASSERT_TRUE(back);
    ASSERT_EQ(back->size(), 2u);
    EXPECT_EQ((*back)[1].name, "2");
    EXPECT_EQ((*back)[1].setCode, 19900);
    EXPECT_EQ((*back)[1].keys, std::vector<int32_t>(keys.begin(), keys.begin() + 50));
    // The rewrite left no temporary file behind.
    size_t files = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir.path()))
        files += e.is_regular_file();
    EXPECT_EQ(files, 1u);
}

} // namespace
} // namespace zor
