// The temporary-indicator editor's rules: the fields each type needs, operands, titles, the
// form through Insert / Save current item / Delete, the bytes of tmplist.ind after each, the
// rewrite when writing fails, and what a saved list does to the selection and the catalogue.
#include "indicators/TempEditor.h"

#include "core/DataStore.h"
#include "core/DataTable.h"
#include "core/Selection.h"
#include "tests/support/StartedStore.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <map>

namespace zor::indicators {
namespace {

using test::StartedStore;

// One set (two regions and the total); group 0 "Population" (Inhabitants with the variants Men
// and Women, Density), group 2 "Health" (Doctors); 2000 and 2001. No tmplist.ind: start-up
// makes a new one.
void Catalogue(test::Fixture& f) {
    f.Set(10000, "Country", {"North", "South", "Total"});
    f.Group(0, "Population").Indicator(0, "Inhabitants", {"Men", "Women"}).Indicator(10, "Density");
    f.Group(2, "Health").Indicator(2050, "Doctors");
    f.Periods({2000, 2001});
    f.Values(10000, 2000, 0, {100, 200, 300});
    f.Values(10000, 2000, 10, {1, 2, 3});
}

// --- Expected bytes, packed here without the program's writer ------------------------------------

void Put16(std::string& s, int v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>((v >> 8) & 0xFF);
}
void PutFloat(std::string& s, float f) {
    uint32_t bits;
    std::memcpy(&bits, &f, 4);
    for (int i = 0; i < 4; ++i) s += static_cast<char>((bits >> (8 * i)) & 0xFF);
}
std::string SlotBytes(const std::string& name, int op, int a, int b, int spare, float p0 = 0,
                      float p1 = 0, int length = 128) {
    std::string s = name.substr(0, static_cast<size_t>(length));
    s.resize(static_cast<size_t>(length), '\0');
    Put16(s, op);
    Put16(s, a);
    Put16(s, b);
    Put16(s, spare);
    PutFloat(s, p0);
    PutFloat(s, p1);
    for (int i = 2; i < 8; ++i) PutFloat(s, 0);
    return s;
}
// A file whose slots are those of a new file ("*", 0, -1, -1, -1) except the given ones.
std::string FileBytes(int count, const std::map<int, std::string>& slots, int length = 128) {
    std::string s = "TIF";
    Put16(s, length);
    Put16(s, count);
    for (int i = 0; i < 100; ++i) {
        auto it = slots.find(i);
        s += it != slots.end() ? it->second : SlotBytes("*", 0, -1, -1, -1, 0, 0, length);
    }
    return s;
}

TempForm Form(int type, std::string title, std::string first, std::string second = "",
              std::string c = "", std::string years = "") {
    TempForm f;
    f.type = type;
    f.title = std::move(title);
    f.first = std::move(first);
    f.second = std::move(second);
    f.coefficient = std::move(c);
    f.years = std::move(years);
    return f;
}

TEST(TempEditorRules, EachTypeNeedsTheFieldsOfItsPage) {
    StartedStore db(Catalogue);
    for (int type = Ratio; type <= MovingAverage; ++type) {
        SCOPED_TRACE(type);
        const TypePage page = PageOf(type);
        TempIndicatorDef d;
        // Every field filled: stored.
        EXPECT_EQ(
            StoreForm(Form(type, "T", "0000 Inhabitants", "0010", "2.5", "3"), d, db.store, 128),
            "");
        EXPECT_EQ(d.operation, type);
        // Without I1.
        EXPECT_NE(StoreForm(Form(type, "T", "", "0010", "2.5", "3"), d, db.store, 128), "");
        // Without I2, a C or the years: refused exactly when the page has the field.
        EXPECT_EQ(StoreForm(Form(type, "T", "0", "", "2.5", "3"), d, db.store, 128).empty(),
                  !page.second);
        EXPECT_EQ(StoreForm(Form(type, "T", "0", "10", "abc", "3"), d, db.store, 128).empty(),
                  !page.coefficient);
        EXPECT_EQ(StoreForm(Form(type, "T", "0", "10", "1", ""), d, db.store, 128).empty(),
                  !page.years);
    }
    TempIndicatorDef d;
    EXPECT_EQ(StoreForm(Form(NoType, "T", "0", "10", "1", "3"), d, db.store, 128),
              "Choose the formula type.");
    for (const char* years : {"0", "100", "2.5", "-3", "x"})
        EXPECT_NE(StoreForm(Form(MovingAverage, "T", "0", "", "", years), d, db.store, 128), "")
            << years;
    EXPECT_EQ(StoreForm(Form(MovingAverage, "T", "0", "", "", " 99 "), d, db.store, 128), "");
    EXPECT_EQ(d.parameters[1], 99.0f);
    for (const char* c : {"1e39", "inf", "nan", "1,5", "2x"})
        EXPECT_NE(StoreForm(Form(Ratio, "T", "0", "10", c), d, db.store, 128), "") << c;
}

TEST(TempEditorRules, OnlyThePagesFieldsAreStored) {
    StartedStore db(Catalogue);
    TempIndicatorDef d;
    d.operandB = 2050;
    d.parameters = {7, 9, 0, 0, 0, 0, 0, 0};
    ASSERT_EQ(StoreForm(Form(Change, "Growth", "0010 Density", "0000", "1", "5"), d, db.store, 128),
              "");
    EXPECT_EQ(d.operandA, 10);
    EXPECT_EQ(d.operandB, 2050); // type 5 stores only I
    EXPECT_EQ(d.parameters[0], 7.0f);
    EXPECT_EQ(d.parameters[1], 9.0f);
    ASSERT_EQ(StoreForm(Form(RelativeChange, "Growth", "10", "", "50"), d, db.store, 128), "");
    EXPECT_EQ(d.parameters[0], 50.0f);
    EXPECT_EQ(d.operandB, 2050);
    ASSERT_EQ(StoreForm(Form(Sum, "Sum", "1 Men", "0002 Women", "3", "4"), d, db.store, 128), "");
    EXPECT_EQ(d.operandA, 1);
    EXPECT_EQ(d.operandB, 2);
    EXPECT_EQ(d.parameters[0], 50.0f);
}

TEST(TempEditorRules, OperandsAreStoredIndicatorsOfTheCatalogue) {
    StartedStore db(Catalogue);
    TempIndicatorDef d;
    const std::string temp = StoreForm(Form(Ratio, "T", "10003", "0010", "1"), d, db.store, 128);
    EXPECT_NE(temp.find("temporary indicator"), std::string::npos) << temp;
    EXPECT_NE(StoreForm(Form(Ratio, "T", "0", "10005 Ratio", "1"), d, db.store, 128), "");
    const std::string missing = StoreForm(Form(Ratio, "T", "1234", "0010", "1"), d, db.store, 128);
    EXPECT_EQ(missing, "I1 1234 is not an indicator of the catalogue.");
    EXPECT_NE(StoreForm(Form(Sum, "T", "0", "3"), d, db.store, 128), ""); // no variant 3
    EXPECT_NE(StoreForm(Form(Sum, "T", "-1", "0"), d, db.store, 128), "");
    EXPECT_NE(StoreForm(Form(Sum, "T", "Density", "0"), d, db.store, 128), "");
    // Variants and groups read on demand are operands like any other.
    EXPECT_EQ(StoreForm(Form(Sum, "T", "0002 Women", "2050"), d, db.store, 128), "");
}

TEST(TempEditorRules, Titles) {
    StartedStore db(Catalogue);
    TempIndicatorDef d;
    EXPECT_EQ(StoreForm(Form(Sum, "  ", "0", "10"), d, db.store, 128), "Type a title.");
    EXPECT_NE(StoreForm(Form(Sum, "*hidden", "0", "10"), d, db.store, 128), "");
    // Windows-1252 has no Greek letters.
    EXPECT_NE(StoreForm(Form(Sum, "\xCE\xA9 ratio", "0", "10"), d, db.store, 128), "");
    // Encoded into the charset and cut to the file's name length.
    ASSERT_EQ(StoreForm(Form(Sum, " Caf\xC3\xA9 au lait ", "0", "10"), d, db.store, 6), "");
    EXPECT_EQ(d.name, "Caf\xE9 a");
}

TEST(TempEditorRules, LeadingInteger) {
    EXPECT_EQ(LeadingInteger("1010 GDP"), 1010);
    EXPECT_EQ(LeadingInteger("  0007"), 7);
    EXPECT_EQ(LeadingInteger("-001"), -1);
    // Far too long for a code, without overflowing.
    EXPECT_GT(*LeadingInteger("99999999999999999999"), 99999);
    EXPECT_FALSE(LeadingInteger(""));
    EXPECT_FALSE(LeadingInteger("GDP 1010"));
    EXPECT_FALSE(LeadingInteger("-"));
}

TEST(TempEditorRules, DefaultOperands) {
    {
        StartedStore db(Catalogue); // Inhabitants and Density
        const DefaultOperands d = FindDefaultOperands(db.store);
        EXPECT_EQ(d.first, 0);
        EXPECT_EQ(d.second, 10);
    }
    {
        StartedStore db([](test::Fixture& f) { // one indicator with variants
            f.Set(10000, "C", {"A", "T"}).Group(3, "G").Indicator(3000, "I", {"V"});
            f.Group(4, "H").Indicator(4000, "J").Periods({2000});
        });
        EXPECT_EQ(FindDefaultOperands(db.store).second, 3001);
    }
    {
        StartedStore db([](test::Fixture& f) { // an empty group first, then one indicator each
            f.Set(10000, "C", {"A", "T"}).Group(1, "Empty").Group(3, "G").Indicator(3000, "I");
            f.Group(4, "H").Indicator(4000, "J").Periods({2000});
        });
        const DefaultOperands d = FindDefaultOperands(db.store);
        EXPECT_EQ(d.first, 3000);
        EXPECT_EQ(d.second, 4000);
    }
    {
        StartedStore db([](test::Fixture& f) {
            f.Set(10000, "C", {"A", "T"}).Group(3, "G").Indicator(3000, "I").Periods({2000});
        });
        EXPECT_EQ(FindDefaultOperands(db.store).second, 3000);
    }
    {
        StartedStore db([](test::Fixture& f) {
            f.Set(10000, "C", {"A", "T"}).Group(3, "G").Periods({2000});
        });
        const DefaultOperands d = FindDefaultOperands(db.store);
        EXPECT_EQ(d.first, 0);
        EXPECT_EQ(d.second, 10);
    }
}

// --- The editor ----------------------------------------------------------------------------------

struct EditorDb {
    StartedStore db{Catalogue};
    TempEditor editor{db.store};
    std::string path = db.store.TempListPath();
    EditorDb() { EXPECT_TRUE(editor.Open(path)); }
};

TEST(TempEditor, OpensANewListWithEverySlotEmpty) {
    EditorDb e;
    EXPECT_EQ(e.editor.NameLength(), 128);
    EXPECT_EQ(e.editor.DefinedCount(), 0);
    EXPECT_EQ(e.editor.InitialSlot(), 0);
    EXPECT_EQ(e.editor.ItemText(0), "10000 *");
    // The root: nothing to edit.
    EXPECT_EQ(e.editor.Current(), TempEditor::Root);
    EXPECT_FALSE(e.editor.Form().insertEnabled);
    EXPECT_FALSE(e.editor.Form().titleEnabled);
    // An empty slot: only Insert.
    EXPECT_EQ(e.editor.Select(4), "");
    const TempForm& f = e.editor.Form();
    EXPECT_TRUE(f.insertEnabled);
    EXPECT_FALSE(f.deleteEnabled || f.titleEnabled || f.typeEnabled || f.saveItemEnabled);
    EXPECT_EQ(f.code, "");
    EXPECT_EQ(f.type, NoType);
    EXPECT_FALSE(e.editor.Delete());
}

TEST(TempEditor, InsertThenSaveCurrentItem) {
    EditorDb e;
    ASSERT_EQ(e.editor.Select(4), "");
    ASSERT_TRUE(e.editor.Insert());
    const TempForm& f = e.editor.Form();
    EXPECT_EQ(f.code, "10004");
    EXPECT_EQ(f.title, "10004");
    EXPECT_EQ(e.editor.ItemText(4), "10004 10004");
    EXPECT_EQ(f.type, Ratio);
    EXPECT_EQ(f.first, "0000");  // D1
    EXPECT_EQ(f.second, "0010"); // D2
    EXPECT_EQ(f.coefficient, "100.000000");
    EXPECT_TRUE(f.titleEnabled && f.typeEnabled && f.saveItemEnabled && f.deleteEnabled);
    EXPECT_FALSE(f.insertEnabled);
    // Nothing of the operands is stored until Save current item.
    EXPECT_EQ(e.editor.Slots()[4].operandA, 0);
    EXPECT_EQ(e.editor.Slots()[4].operandB, 0);

    e.editor.SetTitle("Density per head");
    e.editor.SetFirst("0010 Density");
    e.editor.SetSecond("0000 Inhabitants");
    ASSERT_EQ(e.editor.SaveCurrentItem(), "");
    EXPECT_EQ(e.editor.ItemText(4), "10004 Density per head");
    const TempIndicatorDef& d = e.editor.Slots()[4];
    EXPECT_EQ(d.operation, Ratio);
    EXPECT_EQ(d.operandA, 10);
    EXPECT_EQ(d.operandB, 0);
    EXPECT_EQ(d.parameters[0], 100.0f);
    EXPECT_EQ(e.editor.DefinedCount(), 1);
}

TEST(TempEditor, ChangingTheTypeToChangeKeepsI2AndC) {
    EditorDb e;
    e.editor.Select(2);
    e.editor.Insert();
    e.editor.SetTitle("T");
    e.editor.SetCoefficient("2.5");
    ASSERT_EQ(e.editor.SaveCurrentItem(), "");
    e.editor.SetType(Change);
    e.editor.SetFirst("2050");
    ASSERT_EQ(e.editor.SaveCurrentItem(), "");
    const TempIndicatorDef& d = e.editor.Slots()[2];
    EXPECT_EQ(d.operation, Change);
    EXPECT_EQ(d.operandA, 2050);
    EXPECT_EQ(d.operandB, 10);
    EXPECT_EQ(d.parameters[0], 2.5f);
}

TEST(TempEditor, LeavingASlotStoresItOrStaysWithTheMessage) {
    EditorDb e;
    e.editor.Select(4);
    e.editor.Insert();
    e.editor.SetTitle("");
    EXPECT_EQ(e.editor.Select(5), "10004: Type a title.");
    EXPECT_EQ(e.editor.Current(), 4);
    EXPECT_EQ(e.editor.Slots()[4].name, "10004"); // Insert's, untouched
    e.editor.SetTitle("Fine");
    EXPECT_EQ(e.editor.Select(TempEditor::Root), "");
    EXPECT_EQ(e.editor.Slots()[4].name, "Fine");
    EXPECT_EQ(e.editor.Slots()[4].operandA, 0);
    EXPECT_EQ(e.editor.Slots()[4].operandB, 10);
    // Selecting a defined slot shows it.
    e.editor.Select(4);
    EXPECT_EQ(e.editor.Form().code, "10004");
    EXPECT_EQ(e.editor.Form().first, "0000");
    EXPECT_EQ(e.editor.Form().second, "0010");
    EXPECT_FALSE(e.editor.FormChanged());
}

TEST(TempEditor, ASlotWithoutATypeStaysAsItIsUntilItIsChanged) {
    StartedStore db([](test::Fixture& f) {
        Catalogue(f);
        TempIndicatorDef legacy;
        legacy.code = 10003;
        legacy.name = "Old";
        legacy.operation = 0;
        f.Temp(legacy);
    });
    ASSERT_FALSE(HasFailure());
    TempEditor editor(db.store);
    ASSERT_TRUE(editor.Open(db.store.TempListPath()));
    EXPECT_EQ(editor.InitialSlot(), 3);
    editor.Select(3);
    EXPECT_EQ(editor.Form().type, NoType);
    EXPECT_TRUE(editor.Form().deleteEnabled);
    EXPECT_EQ(editor.Select(4), ""); // untouched: nothing to check
    editor.Select(3);
    editor.SetTitle("Older");
    EXPECT_EQ(editor.Select(4), "10003: Choose the formula type.");
    editor.SetType(Sum);
    editor.SetFirst("0");
    editor.SetSecond("10");
    EXPECT_EQ(editor.Select(4), "");
    EXPECT_EQ(editor.Slots()[3].operation, Sum);
}

TEST(TempEditor, AllHundredSlotsDefined) {
    EditorDb e;
    for (int s = 0; s < TempSlotCount; ++s) {
        ASSERT_EQ(e.editor.Select(s), "");
        ASSERT_TRUE(e.editor.Insert()) << s;
    }
    ASSERT_EQ(e.editor.Select(TempEditor::Root), "");
    EXPECT_EQ(e.editor.DefinedCount(), 100);
    for (int s = 0; s < TempSlotCount; ++s) {
        e.editor.Select(s);
        EXPECT_FALSE(e.editor.Form().insertEnabled);
        EXPECT_FALSE(e.editor.Insert());
    }
    ASSERT_EQ(e.editor.SaveList(nullptr), "");
    const std::string bytes = test::ReadFile(e.path);
    EXPECT_EQ(bytes.substr(5, 2), std::string("\x64\x00", 2)); // count 100
    EXPECT_EQ(e.db.store.Groups().back().indicators.size(), 100u);
    EXPECT_EQ(e.db.store.Groups().back().announced, 100);
}

TEST(TempEditor, ThreeDefinedAndNinetySevenDeletedSlotsCountThree) {
    EditorDb e;
    for (int s = 0; s < TempSlotCount; ++s) {
        e.editor.Select(s);
        e.editor.Insert();
    }
    for (int s = 3; s < TempSlotCount; ++s) {
        e.editor.Select(s);
        ASSERT_TRUE(e.editor.Delete());
    }
    ASSERT_EQ(e.editor.SaveList(nullptr), "");
    const std::string bytes = test::ReadFile(e.path);
    EXPECT_EQ(bytes.substr(5, 2), std::string("\x03\x00", 2));
    EXPECT_EQ(bytes.substr(7 + 99 * 168, 168), SlotBytes("*", -1, -1, -1, -1));
}

TEST(TempEditor, TheFileAfterNewChangeAndDeleteByteForByte) {
    EditorDb e;
    // New: slot 3 with the defaults and a title.
    e.editor.Select(3);
    e.editor.Insert();
    e.editor.SetTitle("Density per inhabitant");
    e.editor.SetFirst("0010 Density");
    e.editor.SetSecond("0000 Inhabitants");
    e.editor.SetCoefficient("1000");
    ASSERT_EQ(e.editor.SaveList(nullptr), "");
    EXPECT_EQ(test::ReadFile(e.path),
              FileBytes(1, {{3, SlotBytes("Density per inhabitant", 1, 10, 0, -1, 1000)}}));

    // Change: a moving average over 3 years of Doctors, in another editor (as after reopening).
    TempEditor again(e.db.store);
    ASSERT_TRUE(again.Open(e.path));
    EXPECT_EQ(again.InitialSlot(), 3);
    again.Select(3);
    again.SetType(MovingAverage);
    again.SetFirst("2050 Doctors");
    again.SetYears("3");
    ASSERT_EQ(again.SaveList(nullptr), "");
    EXPECT_EQ(test::ReadFile(e.path),
              FileBytes(1, {{3, SlotBytes("Density per inhabitant", 7, 2050, 0, -1, 1000, 3)}}));

    // Delete.
    ASSERT_TRUE(again.Delete());
    ASSERT_EQ(again.SaveList(nullptr), "");
    EXPECT_EQ(test::ReadFile(e.path), FileBytes(0, {{3, SlotBytes("*", -1, -1, -1, -1)}}));
}

TEST(TempEditor, KeepsTheNameLengthOfTheFile) {
    test::TempDir dir;
    test::Fixture f(dir.path());
    Catalogue(f);
    f.Write();
    test::WriteFile(dir.file("tmplist.ind"), FileBytes(0, {}, 8));
    DataStore store;
    PlatformInfo p = DefaultPlatform(0, nullptr);
    p.executableDirectory = dir.path();
    p.commandLine.clear();
    ASSERT_TRUE(store.StartUp(p));
    TempEditor editor(store);
    ASSERT_TRUE(editor.Open(store.TempListPath()));
    EXPECT_EQ(editor.NameLength(), 8);
    editor.Select(0);
    editor.Insert();
    editor.SetTitle("A long title");
    editor.SetType(Sum);
    ASSERT_EQ(editor.SaveList(nullptr), "");
    EXPECT_EQ(test::ReadFile(store.TempListPath()),
              FileBytes(1, {{0, SlotBytes("A long t", 3, 0, 10, -1, 100, 0, 8)}}, 8));
}

TEST(TempEditor, RefusesFilesThatAreNotLists) {
    StartedStore db(Catalogue);
    TempEditor editor(db.store);
    EXPECT_FALSE(editor.OpenBytes(""));
    EXPECT_FALSE(editor.OpenBytes("TIX\x80\0\0\0"));
    EXPECT_FALSE(editor.OpenBytes(std::string("TIF\0\0\0\0", 7))); // name length 0
    EXPECT_FALSE(editor.Open(db.dir.file("missing.ind")));
    // A cut file: the slots it has, the rest empty; saving writes them all.
    const std::string whole = FileBytes(1, {{0, SlotBytes("Kept", 3, 0, 10, -1)}});
    ASSERT_TRUE(editor.OpenBytes(whole.substr(0, 7 + 168 + 50)));
    EXPECT_EQ(editor.Slots()[0].name, "Kept");
    EXPECT_TRUE(IsEmptySlot(editor.Slots()[1]));
    EXPECT_EQ(editor.Slots()[99].code, 10099);
    EXPECT_EQ(editor.DefinedCount(), 1);
}

// --- Save list: the file, the selection and the catalogue
// --------------------------------------------

// Slot 5 holds "Ratio of men" (Men / Inhabitants); the selection has it and Density.
void WithTemporary(test::Fixture& f) {
    Catalogue(f);
    TempIndicatorDef t;
    t.code = 10005;
    t.name = "Ratio of men";
    t.operation = Ratio;
    t.operandA = 1;
    t.operandB = 0;
    t.parameters[0] = 100;
    f.Temp(t);
}

Selection SelectionWithTemporary() {
    Selection s;
    s.Confirm(10000, {{10, "Density"}, {10005, " Ratio of men"}},
              {{MakeRegionKey(10000, 1), "North"}}, {{2000, "2000"}});
    return s;
}

TEST(TempEditorSaveList, AFailedWriteLeavesTheFileTheSelectionAndTheCatalogue) {
    StartedStore db(WithTemporary);
    const std::string path = db.store.TempListPath();
    const std::string before = test::ReadFile(path);
    Selection selection = SelectionWithTemporary();
    db.store.LoadGroupIndicators(db.store.FindGroup(TempGroupId));
    TempEditor editor(db.store);
    ASSERT_TRUE(editor.Open(path));
    editor.Select(5);
    ASSERT_TRUE(editor.Delete());

    std::string written;
    const std::string message =
        editor.SaveList(&selection, [&](const std::string& to, std::string_view bytes) {
            EXPECT_EQ(to, path);
            written = bytes;
            return false;
        });
    EXPECT_EQ(message, "The temporary indicator list could not be written to " + path +
                           "; the file keeps its previous contents.");
    EXPECT_EQ(written, editor.ListBytes());
    EXPECT_EQ(test::ReadFile(path), before);
    EXPECT_EQ(selection.Indicators().size(), 2u);
    ASSERT_EQ(db.store.Groups().back().indicators.size(), 1u);
    EXPECT_EQ(db.store.Groups().back().indicators[0].code, 10005);
    // The editor keeps its state: saving again (now for real) works.
    EXPECT_EQ(editor.SaveList(&selection), "");
    EXPECT_TRUE(db.store.Groups().back().indicators.empty());
}

TEST(TempEditorSaveList, ATargetThatCannotBeReplacedIsReportedAndLeavesNoTemporaryFile) {
    StartedStore db(WithTemporary);
    const std::string path = db.store.TempListPath();
    TempEditor editor(db.store);
    ASSERT_TRUE(editor.Open(path));
    // The list becomes a directory with a file in it: the rename over it fails.
    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
    test::WriteFile(path + "/keep", "x");
    EXPECT_NE(editor.SaveList(nullptr), "");
    EXPECT_TRUE(std::filesystem::is_directory(path));
    EXPECT_EQ(test::ReadFile(path + "/keep"), "x");
    for (const auto& entry : std::filesystem::directory_iterator(db.dir.path()))
        EXPECT_EQ(entry.path().filename().string().find("tmplist.ind.tmp"), std::string::npos)
            << entry.path();
}

TEST(TempEditorSaveList, DeletingASelectedSlotClearsTheSelectionAndReloadsGroupTen) {
    StartedStore db(WithTemporary);
    Selection selection = SelectionWithTemporary();
    const int group = db.store.FindGroup(TempGroupId);
    db.store.LoadGroupIndicators(group);
    ASSERT_EQ(db.store.Groups()[static_cast<size_t>(group)].announced, 1);

    TempEditor editor(db.store);
    ASSERT_TRUE(editor.Open(db.store.TempListPath()));
    editor.Select(5);
    editor.Delete();
    editor.Select(7);
    editor.Insert();
    editor.SetTitle("Sum");
    editor.SetType(Sum);
    ASSERT_EQ(editor.SaveList(&selection), "");

    ASSERT_EQ(selection.Indicators().size(), 1u);
    EXPECT_EQ(selection.Indicators()[0].code, 10);
    const IndicatorGroup& temps = db.store.Groups()[static_cast<size_t>(group)];
    ASSERT_EQ(temps.indicators.size(), 1u);
    EXPECT_EQ(temps.indicators[0].code, 10007);
    EXPECT_EQ(temps.indicators[0].name, "Sum");
    EXPECT_EQ(temps.announced, 1);

    // A table made afterwards computes the new definitions: the deleted one nothing, the new
    // one Inhabitants + Density.
    DataTable table(db.store, 10000, {{10005, "gone"}, {10007, "Sum"}},
                    {{MakeRegionKey(10000, 1), "North"}, {MakeRegionKey(10000, 2), "South"}},
                    {{2000, "2000"}}, 1, false);
    ASSERT_EQ(table.Load(), 0);
    EXPECT_EQ(table.Value(0, 0, 0), MissingValue);
    EXPECT_EQ(table.Value(0, 1, 0), 101.0f);
    EXPECT_EQ(table.Value(0, 1, 1), 202.0f);
}

} // namespace
} // namespace zor::indicators
