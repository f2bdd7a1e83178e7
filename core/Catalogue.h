// The catalogue: region sets, indicator groups, time periods and temporary indicators.
// Names are single-byte text in the configured charset, kept as bytes.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace zor {

// Values are float32; a value is missing exactly when it equals MissingValue (bits 0xCCBEBC20).
inline constexpr float MissingValue = -1.0e8f;
inline bool IsMissing(float v) {
    return v == MissingValue;
}

// Set code of the top level (the set with id 10000) and of all sets together.
inline constexpr int TopLevelSetId = 10000;
inline constexpr int AllRegionSets = 19900;
// Temporary indicators have codes 10000 + slot and live in group 10.
inline constexpr int TempIndicatorBase = 10000;
inline constexpr int TempGroupId = 10;
inline constexpr int TempSlotCount = 100;
// Pseudo periods of a selection.
inline constexpr int FirstAvailable = -1;
inline constexpr int LastAvailable = -2;

// A region key identifies a region across sets: set id in the upper half, region id in the lower.
inline int32_t MakeRegionKey(int setId, int regionId) {
    return int32_t((uint32_t(uint16_t(setId)) << 16) | uint16_t(regionId));
}
inline int KeySetId(int32_t key) {
    return int(uint32_t(key) >> 16);
}
inline int KeyRegionId(int32_t key) {
    return int(uint32_t(key) & 0xFFFF);
}

struct Region {
    int16_t id = 0; // 1-based position in its set; value index is id - 1
    std::string name;
};

struct RegionSet {
    int16_t id = 0;
    std::string name;
    int16_t topCount = 0;
    int16_t smallCount = 0;
    std::vector<int16_t> indicators; // record order of the set's value files
    std::vector<int16_t> parValues;
    std::vector<Region> regions; // topCount top-level regions, then the small regions
    std::string code;            // up to 3 characters from cid.bin; empty when absent

    // Record length of the set's value files.
    int Stride() const { return int(topCount) + int(smallCount); }
};

struct Variant {
    int16_t code = 0;
    std::string name;
};

struct Indicator {
    int16_t code = 0;
    std::string name;
    std::vector<Variant> variants;
};

struct IndicatorGroup {
    int16_t id = 0;
    std::string name;
    std::vector<Indicator> indicators; // filled on demand
    // Indicators announced for the group: the count of its mainlist.ind block, or for the
    // temporary group the used-slot count of tmplist.ind.
    int announced = 0;
};

struct TimePeriod {
    int16_t code = 0; // the year
    std::string name; // at most 16 characters
};

struct TempIndicatorDef {
    std::string name;
    int16_t code = 0;      // 10000 + slot
    int16_t operation = 0; // 1 ratio .. 7 moving average; anything else computes nothing
    int16_t operandA = -1;
    int16_t operandB = -1;
    int16_t spare = -1;
    std::array<float, 8> parameters{}; // [0] coefficient K, [1] moving-average width W
};

// An entry of a selection-style list or of a combined region list: {code or key, name}.
struct ListItem {
    int32_t code = 0;
    std::string name;
    bool operator==(const ListItem&) const = default;
};

// Lookups; each returns -1 when nothing matches.
int FindRegionSetIndex(const std::vector<RegionSet>& sets, int id);
int FindRegionIndex(const RegionSet& set, int regionId);
int FindGroupIndex(const std::vector<IndicatorGroup>& groups, int id);
int FindPeriodIndex(const std::vector<TimePeriod>& periods, int code);
int FindTempDefIndex(const std::vector<TempIndicatorDef>& defs, int code);

} // namespace zor
