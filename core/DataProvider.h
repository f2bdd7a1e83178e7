// The data provider: the operations that fill the catalogue and read value records.
#pragma once

#include "core/Catalogue.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace zor {

// What one value read needs besides set, period and indicator.
struct ValueRequest {
    std::string dataSource;
    const std::vector<int16_t>* setIndicators = nullptr; // record order of the set's value files
    int rows = 0;         // number of values to read from the start of the record
    int recordLength = 0; // stride of the set's value files (top-level + small count)
    int rowOffset = 0;    // first destination row (used by the caller only)
};

// A table of operations; an operation that is not installed is empty and skipped.
struct DataProvider {
    using LoadSetsFn = std::function<bool(const std::string& provider, const std::string& source,
                                          std::vector<RegionSet>& sets)>;
    using LoadGroupsFn = std::function<bool(const std::string& provider, const std::string& source,
                                            std::vector<IndicatorGroup>& groups)>;
    using LoadPeriodsFn = std::function<bool(const std::string& provider, const std::string& source,
                                             std::vector<TimePeriod>& periods)>;
    using LoadGroupIndicatorsFn =
        std::function<bool(const std::string& provider, const std::string& source,
                           std::vector<IndicatorGroup>& groups, int groupIndex, int groupId)>;
    // Returns 1 when a record was read into dest, -1 when not (dest is then untouched).
    using ReadValuesFn = std::function<int(float* dest, int setId, int periodCode,
                                           int indicatorCode, const ValueRequest& request)>;

    LoadSetsFn loadRegionSets;
    LoadGroupsFn loadIndicatorGroups;
    LoadPeriodsFn loadTimePeriods;
    LoadGroupIndicatorsFn loadGroupIndicators;
    std::function<void()> beginValueReading;
    ReadValuesFn readValues;
    std::function<void()> endValueReading;

    bool HasValueReading() const { return beginValueReading && readValues && endValueReading; }
};

} // namespace zor
