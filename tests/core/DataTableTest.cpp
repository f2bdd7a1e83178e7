#include "core/DataTable.h"
#include "core/DataStore.h"
#include "tests/support/Fixture.h"
#include "tests/support/StartedStore.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <limits>

namespace zor {
namespace {

constexpr float M = MissingValue;

// A data source written by `build` and started up.
using Db = test::StartedStore;

std::vector<ListItem> Items(std::initializer_list<int32_t> codes) {
    std::vector<ListItem> out;
    for (int32_t c : codes) out.push_back({c, "item " + std::to_string(c)});
    return out;
}

std::vector<float> Column(const DataTable& t, int period, int indicator) {
    std::vector<float> v;
    for (int r = 0; r < t.RowCount(); ++r) v.push_back(t.Value(period, indicator, r));
    return v;
}

std::vector<int> Matrix(const DataTable& t, int indicator, bool first, int slots) {
    std::vector<int> v;
    for (int s = 0; s < slots; ++s)
        v.push_back(first ? t.FirstAvailablePeriod(indicator, s)
                          : t.LastAvailablePeriod(indicator, s));
    return v;
}

// Value of a set, year, indicator and record index: distinct and exact in float.
float V(int setId, int year, int code, int index) {
    return float((setId - 10000) / 100 * 10000 + (year - 2000) * 1000 + code * 10 + index);
}

// Country (North, South, Total); North: 3 top-level + 2 small regions, code "NO"; South: one
// region and its total, no code, without indicator 20.
void ThreeSets(test::Fixture& f) {
    f.Set(10000, "Country", {"North", "South", "Total"}, {}, "CTY");
    f.Set(10100, "North", {"N1", "N2", "North total"}, {"Ntown1", "Ntown2"}, "NO");
    f.Set(10200, "South", {"S1", "South total"});
    f.SetIndicators({10, 11});
    f.Group(0, "Economy").Indicator(10, "GDP", {"GDP per head"}).Indicator(20, "Jobs");
    f.Periods({2001, 2002, 2003});
    struct S {
        int id, stride;
        std::vector<int> codes;
    };
    for (const S& s : {S{10000, 3, {10, 11, 20}}, S{10100, 5, {10, 11, 20}}, S{10200, 2, {10, 11}}})
        for (int y : {2001, 2002, 2003})
            for (int c : s.codes) {
                std::vector<float> rec;
                for (int i = 0; i < s.stride; ++i) rec.push_back(V(s.id, y, c, i));
                f.Values(s.id, y, c, rec);
            }
}

// ---------------------------------------------------------------- rows

TEST(DataTableRows, AllSetsLeaveOutEachSetsTotal) {
    Db db(ThreeSets);
    DataTable all(db.store, AllRegionSets, Items({10}), {}, Items({2001}), RowsAll, false);
    EXPECT_EQ(all.RowKeys(),
              (std::vector<int32_t>{MakeRegionKey(10100, 1), MakeRegionKey(10100, 2),
                                    MakeRegionKey(10100, 4), MakeRegionKey(10100, 5),
                                    MakeRegionKey(10200, 1), MakeRegionKey(10000, 3)}));
    EXPECT_EQ(all.RowLabels(), (std::vector<std::string>{"N1 (NO)", "N2 (NO)", "Ntown1 (NO)",
                                                         "Ntown2 (NO)", "S1", "Total"}));
    EXPECT_EQ(all.TotalRow(), 5);
    EXPECT_EQ(all.SlotCount(), 6);

    DataTable top(db.store, AllRegionSets, Items({10}), {}, Items({2001}), RowsTopLevel, false);
    EXPECT_EQ(top.RowLabels(), (std::vector<std::string>{"N1 (NO)", "N2 (NO)", "S1", "Total"}));
    EXPECT_EQ(top.TotalRow(), 3);
}

TEST(DataTableRows, SpecificSetAndTopLevel) {
    Db db(ThreeSets);
    DataTable all(db.store, 10100, Items({10}), {}, Items({2001}), RowsAll, false);
    EXPECT_EQ(all.RowLabels(),
              (std::vector<std::string>{"N1", "N2", "North total", "Ntown1", "Ntown2"}));
    EXPECT_EQ(all.RowKeys()[3], MakeRegionKey(10100, 4));
    EXPECT_EQ(all.TotalRow(), 2);
    DataTable top(db.store, 10100, Items({10}), {}, Items({2001}), RowsTopLevel, false);
    EXPECT_EQ(top.RowCount(), 3);
    EXPECT_EQ(top.TotalRow(), 2);
    DataTable country(db.store, TopLevelSetId, Items({10}), {}, Items({2001}), RowsAll, false);
    EXPECT_EQ(country.RowLabels(), (std::vector<std::string>{"North", "South", "Total"}));
    EXPECT_EQ(country.TotalRow(), 2);
    EXPECT_EQ(country.RowIndexByKey(MakeRegionKey(10000, 2)), 1);
    EXPECT_EQ(country.RowIndexByKey(MakeRegionKey(10100, 2)), -1);
}

TEST(DataTableRows, SelectedRegionsKeepSelectionOrder) {
    Db db(ThreeSets);
    std::vector<ListItem> regions = {{MakeRegionKey(10200, 1), "S1"},
                                     {MakeRegionKey(10100, 4), "Ntown1 (NO)"}};
    DataTable all(db.store, AllRegionSets, Items({10}), regions, Items({2001}), RowsSelected,
                  false);
    EXPECT_EQ(all.RowKeys(),
              (std::vector<int32_t>{MakeRegionKey(10200, 1), MakeRegionKey(10100, 4)}));
    EXPECT_EQ(all.RowLabels(), (std::vector<std::string>{"S1", "Ntown1 (NO)"}));
    EXPECT_EQ(all.TotalRow(), -1);
    EXPECT_EQ(all.SlotCount(), 2);
    // Under a specific set the period matrices have room for all of the set's regions.
    DataTable one(db.store, 10100, Items({10}), regions, Items({2001}), RowsSelected, false);
    EXPECT_EQ(one.RowCount(), 2);
    EXPECT_EQ(one.TotalRow(), -1);
    EXPECT_EQ(one.SlotCount(), 5);
}

// ---------------------------------------------------------------- load

TEST(DataTableLoad, AllSetsTakeEachRowFromItsSet) {
    Db db(ThreeSets);
    DataTable t(db.store, AllRegionSets, Items({10, 20}), {}, Items({2001, 2003}), RowsAll, false);
    ASSERT_EQ(t.Load(), 0);
    for (int p = 0; p < 2; ++p) {
        const int y = p == 0 ? 2001 : 2003;
        EXPECT_EQ(Column(t, p, 0),
                  (std::vector<float>{V(10100, y, 10, 0), V(10100, y, 10, 1), V(10100, y, 10, 3),
                                      V(10100, y, 10, 4), V(10200, y, 10, 0), V(10000, y, 10, 2)}));
        // Indicator 20 has no data for the south: its row stays missing.
        EXPECT_EQ(Column(t, p, 1),
                  (std::vector<float>{V(10100, y, 20, 0), V(10100, y, 20, 1), V(10100, y, 20, 3),
                                      V(10100, y, 20, 4), M, V(10000, y, 20, 2)}));
    }
    // Top-level rows only read the top-level part of each record.
    DataTable top(db.store, AllRegionSets, Items({11}), {}, Items({2002}), RowsTopLevel, false);
    ASSERT_EQ(top.Load(), 0);
    EXPECT_EQ(Column(top, 0, 0),
              (std::vector<float>{V(10100, 2002, 11, 0), V(10100, 2002, 11, 1),
                                  V(10200, 2002, 11, 0), V(10000, 2002, 11, 2)}));
}

TEST(DataTableLoad, MissingValueFileLeavesOnlyItsValuesMissing) {
    Db db(ThreeSets);
    std::remove(db.dir.file("10100.2002").c_str());
    DataTable t(db.store, AllRegionSets, Items({10}), {}, Items({2001, 2002}), RowsTopLevel, false);
    ASSERT_EQ(t.Load(), 0);
    EXPECT_EQ(Column(t, 0, 0), (std::vector<float>{V(10100, 2001, 10, 0), V(10100, 2001, 10, 1),
                                                   V(10200, 2001, 10, 0), V(10000, 2001, 10, 2)}));
    EXPECT_EQ(Column(t, 1, 0),
              (std::vector<float>{M, M, V(10200, 2002, 10, 0), V(10000, 2002, 10, 2)}));
}

TEST(DataTableLoad, SelectedRegionsFromSeveralSets) {
    Db db(ThreeSets);
    std::vector<ListItem> regions = {{MakeRegionKey(10100, 4), ""}, {MakeRegionKey(10000, 3), ""},
                                     {MakeRegionKey(10200, 1), ""}, {MakeRegionKey(10100, 1), ""},
                                     {MakeRegionKey(10100, 9), ""},  // region id beyond the set
                                     {MakeRegionKey(10100, 0), ""},  // no region 0
                                     {MakeRegionKey(10900, 1), ""}}; // no such set
    DataTable t(db.store, AllRegionSets, Items({10, 20}), regions, Items({2002}), RowsSelected,
                false);
    ASSERT_EQ(t.Load(), 0);
    EXPECT_EQ(Column(t, 0, 0),
              (std::vector<float>{V(10100, 2002, 10, 3), V(10000, 2002, 10, 2),
                                  V(10200, 2002, 10, 0), V(10100, 2002, 10, 0), M, M, M}));
    EXPECT_EQ(Column(t, 0, 1), (std::vector<float>{V(10100, 2002, 20, 3), V(10000, 2002, 20, 2), M,
                                                   V(10100, 2002, 20, 0), M, M, M}));
}

TEST(DataTableLoad, SpecificSetSelectionUsesTheRegionIdOnly) {
    Db db(ThreeSets);
    std::vector<ListItem> regions = {{MakeRegionKey(10100, 5), ""},
                                     {MakeRegionKey(10200, 2), ""},
                                     {MakeRegionKey(10100, 6), ""}};
    DataTable t(db.store, 10100, Items({10}), regions, Items({2003}), RowsSelected, false);
    ASSERT_EQ(t.Load(), 0);
    EXPECT_EQ(Column(t, 0, 0),
              (std::vector<float>{V(10100, 2003, 10, 4), V(10100, 2003, 10, 1), M}));
}

TEST(DataTableLoad, UnknownSetCodeFailsAndStaysMissing) {
    Db db(ThreeSets);
    DataTable none(db.store, 10500, Items({10}), {}, Items({2001}), RowsAll, false);
    EXPECT_EQ(none.RowCount(), 0);
    EXPECT_EQ(none.Load(), -1);
    DataTable sel(db.store, 10500, Items({10}), {{MakeRegionKey(10100, 1), ""}}, Items({2001}),
                  RowsSelected, false);
    EXPECT_EQ(sel.Load(), -1);
    EXPECT_EQ(Column(sel, 0, 0), (std::vector<float>{M}));
    EXPECT_EQ(sel.ComputedAxis(0), AxisRange{});
}

TEST(DataTableLoad, EmptyTablesAllocateAndStoreNothing) {
    Db db(ThreeSets);
    DataTable noPeriods(db.store, AllRegionSets, Items({10}), {}, {}, RowsAll, false);
    DataTable noIndicators(db.store, AllRegionSets, {}, {}, Items({2001}), RowsAll, false);
    DataTable noRows(db.store, AllRegionSets, Items({10}), {}, Items({2001}), RowsSelected, false);
    for (DataTable* t : {&noPeriods, &noIndicators, &noRows}) {
        EXPECT_FALSE(t->HasValues());
        EXPECT_EQ(t->Load(), 0);
        EXPECT_EQ(t->SlotCount(), 0);
        EXPECT_EQ(t->Value(0, 0, 0), M);
        EXPECT_EQ(t->RowValues(0, 0), nullptr);
        EXPECT_EQ(t->FirstAvailablePeriod(0, 0), 0);
        t->ComputeAxes();
    }
    EXPECT_EQ(noPeriods.RowCount(), 6);
    EXPECT_EQ(noPeriods.ComputedAxis(0), AxisRange{});

    // A cube beyond MaxCells is refused rather than allocated.
    std::vector<ListItem> many(1000, ListItem{10, ""}),
        regions(300, ListItem{MakeRegionKey(10100, 1), ""});
    DataTable huge(db.store, AllRegionSets, many, regions, many, RowsSelected, false);
    EXPECT_EQ(huge.RowCount(), 300);
    EXPECT_FALSE(huge.HasValues());
    EXPECT_EQ(huge.Load(), 0);
}

TEST(DataTableLoad, ReloadStartsFromAnEmptyTable) {
    Db db(ThreeSets);
    DataTable t(db.store, 10200, Items({10}), {}, Items({2001}), RowsAll, false);
    ASSERT_EQ(t.Load(), 0);
    EXPECT_EQ(t.Value(0, 0, 0), V(10200, 2001, 10, 0));
    std::remove(db.dir.file("10200.2001").c_str());
    ASSERT_EQ(t.Load(), 0);
    EXPECT_EQ(Column(t, 0, 0), (std::vector<float>{M, M}));
}

struct Recorder : LoadProgress {
    std::vector<int> ranges, positions;
    void SetRange(int r) override { ranges.push_back(r); }
    void SetPosition(int p) override { positions.push_back(p); }
};

TEST(DataTableLoad, ReportsProgressPerIndicatorRead) {
    Db db(ThreeSets);
    DataTable t(db.store, AllRegionSets, Items({10, 20}), {}, Items({2001, 2002}), RowsAll, false);
    Recorder rec;
    ASSERT_EQ(t.Load(&rec), 0);
    // Three sets contribute rows (the grand total's included), 2 periods x 2 indicators each.
    EXPECT_EQ(rec.ranges, (std::vector<int>{12}));
    std::vector<int> want = {0};
    for (int i = 1; i <= 12; ++i) want.push_back(i);
    want.push_back(0);
    EXPECT_EQ(rec.positions, want);
    EXPECT_EQ(db.store.Files()->CachedFiles(), 0u); // value files are closed after the load
}

TEST(DataTableLoad, MoreRowsThanAnInt16Holds) {
    constexpr int kSmall = 20000;
    Db db([](test::Fixture& f) {
        f.Set(10000, "Country", {"A", "B", "Total"});
        std::vector<std::string> small;
        for (int i = 0; i < kSmall; ++i) small.push_back("t" + std::to_string(i));
        f.Set(10100, "A", {"A total"}, small);
        f.Set(10200, "B", {"B total"}, small);
        f.Group(0, "G").Indicator(10, "X");
        f.Periods({2001});
        std::vector<float> rec(kSmall + 1);
        for (int i = 0; i <= kSmall; ++i) rec[size_t(i)] = float(i);
        f.Values(10100, 2001, 10, rec);
        for (auto& v : rec) v += 100000;
        f.Values(10200, 2001, 10, rec);
        f.Values(10000, 2001, 10, {1, 2, 3});
    });
    DataTable t(db.store, AllRegionSets, Items({10}), {}, Items({2001}), RowsAll, false);
    ASSERT_EQ(t.RowCount(), 2 * kSmall + 1);
    ASSERT_EQ(t.Load(), 0);
    EXPECT_EQ(t.Value(0, 0, 0), 1.0f);                            // first small region of A
    EXPECT_EQ(t.Value(0, 0, 2 * kSmall - 1), 100000.0f + kSmall); // last small region of B
    EXPECT_EQ(t.TotalRow(), 2 * kSmall);
    EXPECT_EQ(t.Value(0, 0, t.TotalRow()), 3.0f);
    EXPECT_EQ(t.RowIndexByKey(MakeRegionKey(10200, kSmall + 1)), 2 * kSmall - 1);
}

TEST(DataTableLoad, ReadSetValuesOutsideALoad) {
    Db db(ThreeSets);
    DataTable t(db.store, AllRegionSets, Items({10}), {}, Items({2001}), RowsAll, false);
    std::vector<float> dest;
    ASSERT_EQ(t.ReadSetValues(dest, 10100, 2002, 11), 1);
    EXPECT_EQ(dest, (std::vector<float>{V(10100, 2002, 11, 0), V(10100, 2002, 11, 1),
                                        V(10100, 2002, 11, 2), V(10100, 2002, 11, 3),
                                        V(10100, 2002, 11, 4)}));
    EXPECT_EQ(t.ReadSetValues(dest, 10200, 2002, 20), -1); // not in the set's list
    EXPECT_EQ(dest, (std::vector<float>{M, M}));
    EXPECT_EQ(t.ReadSetValues(dest, 10200, 1999, 10), -1); // no value file
    EXPECT_EQ(t.ReadSetValues(dest, 10700, 2002, 10), -1); // no such set
    EXPECT_EQ(db.store.Files()->CachedFiles(), 0u);
}

// ---------------------------------------------------------------- pseudo periods

// Country (R1, Total) and R1 (x1, x2, x3, R1 total); values appear and vanish over the years.
void Sparse(test::Fixture& f) {
    f.Set(10000, "Country", {"R1", "Total"});
    f.Set(10100, "R1", {"x1", "x2", "x3", "R1 total"}, {}, "R1");
    f.Group(0, "G").Indicator(10, "X");
    f.Periods({2001, 2002, 2003, 2004});
    f.Values(10100, 2001, 10, {1, M, M, 100});
    f.Values(10100, 2002, 10, {2, 5, M, 200});
    f.Values(10100, 2003, 10, {M, 6, M, 300});
    f.Values(10100, 2004, 10, {M, M, M, M});
    f.Values(10000, 2001, 10, {M, 7});
    f.Values(10000, 2002, 10, {M, 8});
    f.Values(10000, 2003, 10, {M, M});
}

TEST(PseudoPeriods, FirstAndLastAvailablePerRow) {
    Db db(Sparse);
    DataTable t(
        db.store, AllRegionSets, Items({10}), {},
        {{FirstAvailable, "First Available"}, {2002, "2002"}, {LastAvailable, "Last Available"}},
        RowsAll, false);
    ASSERT_EQ(t.Load(), 0);
    EXPECT_EQ(Column(t, 0, 0), (std::vector<float>{1, 5, M, 7}));
    EXPECT_EQ(Column(t, 1, 0), (std::vector<float>{2, 5, M, 8}));
    EXPECT_EQ(Column(t, 2, 0), (std::vector<float>{2, 6, M, 8}));
    // Rows without any value record no period; the grand total records its own.
    EXPECT_EQ(Matrix(t, 0, true, 4), (std::vector<int>{2001, 2002, 0, 2001}));
    EXPECT_EQ(Matrix(t, 0, false, 4), (std::vector<int>{2002, 2003, 0, 2002}));
}

TEST(PseudoPeriods, MatrixSlotsAreTableRows) {
    Db db(Sparse);
    std::vector<ListItem> regions = {{MakeRegionKey(10100, 3), "x3"},
                                     {MakeRegionKey(10100, 2), "x2"}};
    DataTable t(db.store, 10100, Items({10}), regions, {{LastAvailable, "Last Available"}},
                RowsSelected, false);
    ASSERT_EQ(t.Load(), 0);
    EXPECT_EQ(Column(t, 0, 0), (std::vector<float>{M, 6}));
    EXPECT_EQ(t.SlotCount(), 4);
    EXPECT_EQ(Matrix(t, 0, false, 4), (std::vector<int>{0, 2003, 0, 0}));
    EXPECT_EQ(Matrix(t, 0, true, 4), (std::vector<int>{0, 0, 0, 0}));
}

TEST(PseudoPeriods, SelectedRowsUnderAllSets) {
    Db db(Sparse);
    std::vector<ListItem> regions = {{MakeRegionKey(10000, 2), "Total"},
                                     {MakeRegionKey(10100, 1), "x1"}};
    DataTable t(db.store, AllRegionSets, Items({10}), regions,
                {{FirstAvailable, ""}, {LastAvailable, ""}}, RowsSelected, false);
    ASSERT_EQ(t.Load(), 0);
    EXPECT_EQ(Column(t, 0, 0), (std::vector<float>{7, 1}));
    EXPECT_EQ(Column(t, 1, 0), (std::vector<float>{8, 2}));
    EXPECT_EQ(Matrix(t, 0, true, 2), (std::vector<int>{2001, 2001}));
    EXPECT_EQ(Matrix(t, 0, false, 2), (std::vector<int>{2002, 2002}));
}

TEST(PseudoPeriods, ReadSetValuesRecordsAndTheNextLoadClears) {
    Db db(Sparse);
    DataTable t(db.store, AllRegionSets, Items({10}), {}, Items({2002}), RowsAll, false);
    std::vector<float> dest;
    ASSERT_EQ(t.ReadSetValues(dest, 10100, LastAvailable, 10), 1);
    EXPECT_EQ(dest, (std::vector<float>{2, 6, M, 300}));
    EXPECT_EQ(Matrix(t, 0, false, 4), (std::vector<int>{2002, 2003, 0, 0}));
    ASSERT_EQ(t.Load(), 0);
    EXPECT_EQ(Matrix(t, 0, false, 4), (std::vector<int>{0, 0, 0, 0}));
    EXPECT_EQ(Column(t, 0, 0), (std::vector<float>{2, 5, M, 8}));
}

// ---------------------------------------------------------------- axes

// One set of three regions; indicator 10 (i + 1) holds columns[i] in period 2001.
std::function<void(test::Fixture&)> AxisData(std::vector<std::vector<float>> columns) {
    return [columns](test::Fixture& f) {
        f.Set(10000, "Country", {"a", "b", "Total"});
        f.Group(0, "G");
        for (size_t i = 0; i < columns.size(); ++i) f.Indicator(int(i + 1) * 10, "X");
        f.Periods({2001});
        for (size_t i = 0; i < columns.size(); ++i)
            f.Values(10000, 2001, int(i + 1) * 10, columns[i]);
    };
}

TEST(ComputeAxes, ZeroAxisWidensSameSignRangesAndSplitsAtZero) {
    const float inf = std::numeric_limits<float>::infinity();
    const std::vector<std::vector<float>> columns = {
        {5, 8, 6},         {-20, 11, 0},           {M, M, M}, {-8, -5, -6}, {-7, 8, 0},
        {-3e8f, -2e8f, M}, {inf, 2, std::nanf("")}};
    Db db(AxisData(columns));
    auto axes = [&](bool zeroAxis, int mode) {
        DataTable t(db.store, TopLevelSetId, Items({10, 20, 30, 40, 50, 60, 70}), {}, Items({2001}),
                    mode, zeroAxis);
        EXPECT_EQ(t.Load(), 0);
        std::vector<AxisRange> out;
        for (int i = 0; i < 7; ++i) {
            out.push_back(t.ComputedAxis(i));
            EXPECT_EQ(t.CurrentAxis(i), t.ComputedAxis(i));
        }
        return out;
    };
    std::vector<AxisRange> on = axes(true, RowsAll);
    EXPECT_EQ(on[0], (AxisRange{0, 8, 1}));    // 5..8 becomes 0..8
    EXPECT_EQ(on[1], (AxisRange{-20, 15, 5})); // each half scaled, sharing the larger step
    EXPECT_EQ(on[2], AxisRange{});             // no value: missing bounds, step 0
    EXPECT_EQ(on[3], (AxisRange{-8, 0, 1}));   // negative values reach up to 0
    EXPECT_EQ(on[4], (AxisRange{-10, 10, 5})); // 15 intervals: again with 5 per half
    EXPECT_EQ(on[5], (AxisRange{-3e8f, 0, 5e7f}));
    EXPECT_EQ(on[6], (AxisRange{0, 2, 0.5f})); // infinities and NaN are not ranged

    std::vector<AxisRange> off = axes(false, RowsAll);
    EXPECT_EQ(off[0], (AxisRange{5, 8, 0.5f}));
    EXPECT_EQ(off[1], (AxisRange{-20, 20, 10}));
    EXPECT_EQ(off[3], (AxisRange{-8, -5, 0.5f}));
    // Values below -1e8 are ordinary values: the maximum is theirs, not the missing marker.
    EXPECT_EQ(off[5], (AxisRange{-3e8f, -2e8f, 1e7f}));
    // Top-level rows (maps) ignore the zero-axis flag.
    std::vector<AxisRange> top = axes(true, RowsTopLevel);
    EXPECT_EQ(top[0], off[0]);
    EXPECT_EQ(top[1], off[1]);
}

TEST(ComputeAxes, CurrentAxisIsTheViewsToChange) {
    Db db(AxisData({{1, 2, 3}}));
    DataTable t(db.store, TopLevelSetId, Items({10}), {}, Items({2001}), RowsAll, false);
    ASSERT_EQ(t.Load(), 0);
    const AxisRange computed = t.ComputedAxis(0);
    t.SetCurrentAxis(0, {0, 100, 25});
    EXPECT_EQ(t.CurrentAxis(0), (AxisRange{0, 100, 25}));
    EXPECT_EQ(t.ComputedAxis(0), computed);
    t.SetCurrentAxis(5, {0, 1, 1}); // no such indicator: ignored
    EXPECT_EQ(t.CurrentAxis(5), AxisRange{});
    t.ComputeAxes();
    EXPECT_EQ(t.CurrentAxis(0), computed);
}

TEST(ComputeAxes, TenIntervalsOfADecimalStepAreNotRedone) {
    // -0.085 .. 0.0045: the halves share the step 0.01 and give -0.09 .. 0.01, ten intervals
    // in float arithmetic, so the coarser five-per-half split is not needed.
    Db db(AxisData({{-0.085f, 0.0045f, 0}}));
    DataTable t(db.store, TopLevelSetId, Items({10}), {}, Items({2001}), RowsAll, true);
    ASSERT_EQ(t.Load(), 0);
    EXPECT_EQ(t.ComputedAxis(0), (AxisRange{-0.09f, 0.01f, 0.01f}));
}

} // namespace
} // namespace zor
