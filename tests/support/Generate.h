// Generated databases of any size for benchmarks and the sample data source.
#pragma once

#include "tests/support/Fixture.h"

#include <cstdint>
#include <string>

namespace zor::test {

struct GenerateParams {
    int subSets = 3;       // sub-region sets below the top level (top level gets one region each)
    int regionsPerSet = 5; // top-level regions of each sub-region set, its total included
    int smallPerSet = 2;   // small regions of each sub-region set
    int groups = 2;        // indicator groups 0..groups-1
    int indicatorsPerGroup = 3; // main indicators per group
    int variantsPerIndicator = 1;
    int firstYear = 2000;
    int periods = 5;
    bool values = true;        // write value files with generated values
    double missingShare = 0.1; // share of values left missing
    uint32_t seed = 1;
};

// Describes the database in a Fixture (set 10000 first, sub-region sets 10000 + 100 r).
Fixture Generate(const std::string& dir, const GenerateParams& p);

} // namespace zor::test
