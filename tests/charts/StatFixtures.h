// The small databases of the scattergram and histogram tests (view logic and widgets).
#pragma once

#include "core/Selection.h"
#include "tests/support/Fixture.h"

namespace zor::charts::test {

// Five regions and their total; income and life expectancy in 2000 and 2001. Income in 2000
// against life expectancy in 2001 lies on Y = 2X - 3; life expectancy in 2000 is 70
// everywhere; income in 2001 is missing.
inline void ScatterCountry(zor::test::Fixture& f) {
    f.Set(10000, "Country", {"A", "B", "C", "D", "E", "Total"});
    f.Group(1, "People");
    f.Indicator(1010, "Income");
    f.Indicator(1020, "Life");
    f.Periods({2000, 2001});
    f.Values(10000, 2000, 1010, {10, 20, 30, 40, 50, 30});
    f.Values(10000, 2001, 1020, {17, 37, 57, 77, 97, 57});
    f.Values(10000, 2000, 1020, {70, 70, 70, 70, 70, 70});
}

// Five regions and their total; income in 2000 and 2001 (B has none in 2001), exports never.
inline void HistCountry(zor::test::Fixture& f) {
    f.Set(10000, "Country", {"A", "B", "C", "D", "E", "Total"});
    f.Group(1, "Economy");
    f.Indicator(1010, "Income");
    f.Indicator(1020, "Exports");
    f.Periods({2000, 2001});
    f.Values(10000, 2000, 1010, {10, 20, 30, 40, 50, 30});
    f.Values(10000, 2001, 1010, {15, MissingValue, 35, 45, 100, 40});
}

// Both indicators of a country above, both years, B and D selected.
inline Selection StatSelection(const char* first, const char* second) {
    Selection s;
    s.Confirm(10000, {{1010, first}, {1020, second}},
              {{MakeRegionKey(10000, 2), "B"}, {MakeRegionKey(10000, 4), "D"}},
              {{2000, "2000"}, {2001, "2001"}});
    return s;
}

} // namespace zor::charts::test
