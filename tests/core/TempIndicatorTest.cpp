#include "core/DataStore.h"
#include "core/DataTable.h"
#include "core/Formats.h"
#include "tests/support/Fixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>

namespace zor {
namespace {

constexpr float M = MissingValue;

TempIndicatorDef Def(int slot, int op, int a, int b, float k = 100.0f, float w = 0.0f) {
    TempIndicatorDef d;
    d.name = "T" + std::to_string(slot);
    d.code = int16_t(TempIndicatorBase + slot);
    d.operation = int16_t(op);
    d.operandA = int16_t(a);
    d.operandB = int16_t(b);
    d.parameters[0] = k;
    d.parameters[1] = w;
    return d;
}

enum Slot {
    Ratio = 10000,
    Product,
    Sum,
    Difference,
    Change,
    RelativeChange,
    Average5, // W = 4: five periods
    Average1, // W = 1: the period alone
    Average3, // W = 3: three periods
    RatioOfAbsent,
    Unused,
    AverageNaN,
};

// One set: r1..r4 and the total. A (10) and B (20) have data; C (30) has none for the set.
struct Db {
    test::TempDir dir;
    DataStore store;
    Db() {
        test::Fixture f(dir.path());
        f.Set(10000, "Country", {"r1", "r2", "r3", "r4", "Total"});
        f.SetIndicators({10, 20});
        f.Group(0, "G").Indicator(10, "A").Indicator(20, "B").Indicator(30, "C");
        f.Periods({2001, 2002, 2003, 2004, 2005, 2006});
        f.Values(10000, 2001, 10, {1, 2, 0, M, 10});
        f.Values(10000, 2002, 10, {2, 4, 5, M, 20});
        f.Values(10000, 2003, 10, {4, M, 6, 5, 30});
        f.Values(10000, 2004, 10, {8, 8, 3, 7, 40});
        f.Values(10000, 2005, 10, {16, 10, M, M, 50});
        f.Values(10000, 2006, 10, {32, 12, 4, M, 60});
        f.Values(10000, 2001, 20, {4, 0, 1, 2, 5});
        f.Values(10000, 2002, 20, {8, 0, M, 2, 5});
        f.Values(10000, 2003, 20, {16, 8, M, 2, 4});
        f.AllValueFiles(); // B is missing everywhere after 2003
        f.Temp(Def(0, 1, 10, 20));
        f.Temp(Def(1, 2, 10, 20, 2.0f));
        f.Temp(Def(2, 3, 10, 20));
        f.Temp(Def(3, 4, 10, 20));
        f.Temp(Def(4, 5, 10, -1));
        f.Temp(Def(5, 6, 10, -1));
        f.Temp(Def(6, 7, 10, -1, 0, 4));
        f.Temp(Def(7, 7, 10, -1, 0, 1));
        f.Temp(Def(8, 7, 10, -1, 0, 3));
        f.Temp(Def(9, 1, 10, 30));
        f.Temp(Def(10, 0, 10, 20));
        f.Temp(Def(11, 7, 10, -1, 0, std::nanf("")));
        f.Write();
        PlatformInfo p = DefaultPlatform(0, nullptr);
        p.executableDirectory = dir.path();
        p.commandLine.clear();
        EXPECT_TRUE(store.StartUp(p)) << store.StartupError();
    }

    // Values of the indicators for one period, rows r1..r4 and the total; and the table.
    std::vector<std::vector<float>> Load(std::vector<int> codes, int period,
                                         int* result = nullptr) {
        std::vector<ListItem> inds;
        for (int c : codes) inds.push_back({c, ""});
        table = std::make_unique<DataTable>(store, TopLevelSetId, inds, std::vector<ListItem>{},
                                            std::vector<ListItem>{{period, ""}}, RowsAll, false);
        int r = table->Load();
        if (result)
            *result = r;
        else
            EXPECT_EQ(r, 0);
        std::vector<std::vector<float>> out;
        for (size_t i = 0; i < codes.size(); ++i) {
            std::vector<float> col;
            for (int row = 0; row < table->RowCount(); ++row)
                col.push_back(table->Value(0, int(i), row));
            out.push_back(col);
        }
        return out;
    }
    std::vector<int> Periods(int indicator, bool first) const {
        std::vector<int> v;
        for (int s = 0; s < table->SlotCount(); ++s)
            v.push_back(first ? table->FirstAvailablePeriod(indicator, s)
                              : table->LastAvailablePeriod(indicator, s));
        return v;
    }
    std::unique_ptr<DataTable> table;
};

using Row = std::vector<float>;

TEST(TempIndicators, TwoOperandOperations) {
    Db db;
    auto v = db.Load({Ratio, Product, Sum, Difference}, 2002);
    // r2 has B = 0 (a missing ratio, a present product), r3 misses B, r4 misses A.
    EXPECT_EQ(v[0], (Row{25, M, M, M, 400}));
    EXPECT_EQ(v[1], (Row{32, 0, M, M, 200}));
    EXPECT_EQ(v[2], (Row{10, 4, M, M, 25}));
    EXPECT_EQ(v[3], (Row{-6, 4, M, M, 15}));
}

TEST(TempIndicators, ChangeFromTheYearBefore) {
    Db db;
    auto v = db.Load({Change, RelativeChange}, 2002);
    EXPECT_EQ(v[0], (Row{1, 2, 5, M, 10}));
    EXPECT_EQ(v[1], (Row{100, 100, M, M, 100})); // r3 had 0 the year before
    // The first period has no year before: the read fails and everything stays missing.
    auto first = db.Load({Change, RelativeChange}, 2001);
    EXPECT_EQ(first[0], (Row{M, M, M, M, M}));
    EXPECT_EQ(first[1], (Row{M, M, M, M, M}));
}

TEST(TempIndicators, MovingAverageWindows) {
    Db db;
    auto v = db.Load({Average5, Average1, Average3}, 2003);
    EXPECT_EQ(v[0], (Row{31.0f / 5, M, M, M, 30}));
    EXPECT_EQ(v[1], (Row{4, M, 6, 5, 30}));
    EXPECT_EQ(v[2], (Row{14.0f / 3, M, 14.0f / 3, M, 30}));
    auto late = db.Load({Average3}, 2005);
    EXPECT_EQ(late[0], (Row{56.0f / 3, 10, M, M, 50}));
    // A window reaching past the catalogue cannot be read: all missing.
    auto edge = db.Load({Average5}, 2002);
    EXPECT_EQ(edge[0], (Row{M, M, M, M, M}));
}

TEST(TempIndicators, NothingComputedWithoutAUsableDefinition) {
    Db db;
    // C has no data for the set: the failed operand read leaves every row missing, even those
    // where A is present. An unused slot, a width that is not a number, an empty slot and a
    // slot beyond the list compute nothing.
    auto v = db.Load({RatioOfAbsent, Unused, AverageNaN, 10050, 10150, 10}, 2002);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(v[size_t(i)], (Row{M, M, M, M, M})) << i;
    EXPECT_EQ(v[5], (Row{2, 4, 5, M, 20}));
    EXPECT_EQ(db.table->TempDefinitions().size(), 4u); // 10150 has no slot
}

TEST(TempIndicators, UnreadableListFailsTheLoad) {
    Db db;
    std::string path = db.store.TempListPath();
    test::WriteFile(path, "XIF" + std::string(4, '\0'));
    int result = 0;
    auto v = db.Load({10, Sum}, 2002, &result);
    EXPECT_EQ(result, -1);
    EXPECT_EQ(v[0], (Row{M, M, M, M, M}));
    std::remove(path.c_str());
    db.Load({Sum}, 2002, &result);
    EXPECT_EQ(result, -1);
    // Without temporary indicators the list is not needed.
    auto plain = db.Load({10}, 2002, &result);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(plain[0], (Row{2, 4, 5, M, 20}));
}

TEST(TempIndicators, DefinitionsAreReadAgainOnEveryLoad) {
    Db db;
    EXPECT_EQ(db.Load({Sum}, 2001)[0], (Row{5, 2, 1, M, 15}));
    std::vector<TempIndicatorDef> defs = {Def(2, 4, 10, 20)}; // slot 2 becomes a difference
    test::WriteFile(db.store.TempListPath(), WriteTempList(defs));
    EXPECT_EQ(db.Load({Sum}, 2001)[0], (Row{-3, 2, -1, M, 5}));
}

TEST(TempIndicatorsPseudo, OperandsFindTheirOwnPeriods) {
    Db db;
    // Last available: A from 2006 (r4 2004), B from 2003 (r3 2001).
    auto v = db.Load({Sum, Ratio}, LastAvailable);
    EXPECT_EQ(v[0], (Row{48, 20, 5, 9, 64}));
    EXPECT_EQ(v[1], (Row{200, 150, 400, 350, 1500}));
    // The periods recorded are those of B, read last.
    EXPECT_EQ(db.Periods(0, false), (std::vector<int>{2003, 2003, 2001, 2003, 2003}));
    EXPECT_EQ(db.Periods(1, false), (std::vector<int>{2003, 2003, 2001, 2003, 2003}));
    EXPECT_EQ(db.Periods(0, true), (std::vector<int>{0, 0, 0, 0, 0}));

    auto f = db.Load({Difference}, FirstAvailable);
    EXPECT_EQ(f[0], (Row{-3, 2, -1, 3, 5})); // A: 1 2 0 5(2003) 10; B: 4 0 1 2 5
    EXPECT_EQ(db.Periods(0, true), (std::vector<int>{2001, 2001, 2001, 2001, 2001}));
}

TEST(TempIndicatorsPseudo, ChangePairsEachRowsOwnPeriod) {
    Db db;
    // Last available: y is each row's latest period, paired with y - 1.
    auto last = db.Load({Change, RelativeChange}, LastAvailable);
    EXPECT_EQ(last[0], (Row{16, 2, M, 2, 10})); // r3: 2005 missing; r4: 7 (2004) - 5 (2003)
    EXPECT_EQ(last[1], (Row{100, 20, M, 40, 20}));
    EXPECT_EQ(db.Periods(0, false), (std::vector<int>{2006, 2006, 2006, 2004, 2006}));
    // First available: y is each row's first period, paired with y + 1; the later is recorded.
    auto first = db.Load({Change, RelativeChange}, FirstAvailable);
    EXPECT_EQ(first[0], (Row{1, 2, 5, 2, 10}));
    EXPECT_EQ(first[1], (Row{100, 100, M, 40, 100})); // r3 starts from 0
    EXPECT_EQ(db.Periods(0, true), (std::vector<int>{2002, 2002, 2002, 2004, 2002}));
    EXPECT_EQ(db.Periods(1, true), (std::vector<int>{2002, 2002, 2002, 2004, 2002}));
}

TEST(TempIndicatorsPseudo, MovingAverageCentresInsideThePeriodRange) {
    Db db;
    auto last = db.Load({Average5}, LastAvailable);
    // r1: 2006 - 2 = 2004 is the centre; r4's window (2000..2004) cannot be read.
    EXPECT_EQ(last[0], (Row{62.0f / 5, M, M, M, 40}));
    EXPECT_EQ(db.Periods(0, false), (std::vector<int>{2004, 2004, 2004, 2002, 2004}));
    // The same as the plain average at the centre.
    auto plain = db.Load({Average5}, 2004);
    EXPECT_EQ(plain[0][0], last[0][0]);
    EXPECT_EQ(plain[0][4], last[0][4]);

    auto first = db.Load({Average5}, FirstAvailable);
    EXPECT_EQ(first[0], (Row{31.0f / 5, M, M, M, 30}));
    EXPECT_EQ(db.Periods(0, true), (std::vector<int>{2003, 2003, 2003, 2005, 2003}));

    auto single = db.Load({Average1}, LastAvailable);
    EXPECT_EQ(single[0], (Row{32, 12, 4, 7, 60}));
    EXPECT_EQ(db.Periods(0, false), (std::vector<int>{2006, 2006, 2006, 2004, 2006}));
}

TEST(TempIndicatorsPseudo, PeriodsGoToTheTemporaryIndicatorsOwnRow) {
    Db db;
    // The temporary indicator comes first; its periods must not land on A's row.
    db.Load({Sum, 10}, LastAvailable);
    EXPECT_EQ(db.Periods(0, false), (std::vector<int>{2003, 2003, 2001, 2003, 2003}));
    EXPECT_EQ(db.Periods(1, false), (std::vector<int>{2006, 2006, 2006, 2004, 2006}));
}

TEST(TempIndicatorsPseudo, ReadSetValuesComputesLikeLoad) {
    Db db;
    db.Load({Sum}, 2002);
    std::vector<float> dest;
    ASSERT_EQ(db.table->ReadSetValues(dest, TopLevelSetId, 2001, Sum), 1);
    EXPECT_EQ(dest, (Row{5, 2, 1, M, 15}));
    EXPECT_EQ(db.table->ReadSetValues(dest, TopLevelSetId, 2001, RatioOfAbsent), -1);
    EXPECT_EQ(dest, (Row{M, M, M, M, M}));
}

} // namespace
} // namespace zor
