// Small test databases shared by the test folders.
#pragma once

#include "tests/support/Fixture.h"

#include <string>

namespace zor::test {

// Three region sets: the top level "Country" (North, South and the total; code "CTY"), "North"
// (N1, N2 and its total, the small region "Village"; code "NOR") and "South" (S1 and its total,
// no code); groups 0 "Population" (Inhabitants with the variants Men and Women, Density) and 2
// "Health" (Doctors); the years 2001, 1999, 2000 in that order in the file.
inline Fixture ThreeSetCatalogue(const std::string& dir) {
    Fixture f(dir);
    f.Set(10000, "Country", {"North", "South", "Total"}, {}, "CTY")
        .Set(10100, "North", {"N1", "N2", "North total"}, {"Village"}, "NOR")
        .Set(10200, "South", {"S1", "South total"})
        .Group(0, "Population")
        .Indicator(0, "Inhabitants", {"Men", "Women"})
        .Indicator(10, "Density")
        .Group(2, "Health")
        .Indicator(2050, "Doctors")
        .Periods({2001, 1999, 2000});
    return f;
}

} // namespace zor::test
