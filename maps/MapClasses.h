// Classification of a map: how many sections (3 to 7) and how their limits are placed ("Parts":
// equal intervals over the indicator's axis range; "Quintiles": values taken from the sorted
// data), the class of a value, the legend labels, and the colour and grey tables of the classes.
//
// A classification with m sections has m + 1 limits, ordered from the highest (index 0) to the
// lowest (index m), and m + 1 classes: 0 .. m-1 for values (class 0 the highest) and m for no data.
#pragma once

#include "core/Catalogue.h"
#include "draw/Style.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zor {
class DataTable;
}

namespace zor::maps {

inline constexpr int MinSections = 3;
inline constexpr int MaxSections = 7;
inline constexpr int SectionChoices = MaxSections - MinSections + 1;

enum class ClassMode { Parts = 1, Quintiles = 2 };

// The classification word of a map view: the high byte has one bit per number of sections m
// (bit m - 3), the low byte is the mode (1 "Parts", 2 "Quintiles"). A new view: 0x0401, five
// sections in Parts mode.
struct MapClassState {
    uint16_t word = 0x0401;

    // The sections of the lowest bit set in the high byte (5 when none is).
    int Sections() const;
    // The mode tests look at bit 0 (set: Parts).
    ClassMode Mode() const { return (word & 1) != 0 ? ClassMode::Parts : ClassMode::Quintiles; }
    // The Default button of the scale dialog is disabled when bit 1 is set.
    bool DefaultDisabled() const { return (word & 2) != 0; }
    // m outside 3..7 is ignored.
    void SetSections(int m);
    // From Parts to Quintiles and back.
    void ToggleMode();
};

// The limits of one indicator for every m from 3 to 7 (index m - 3), each m + 1 values from the
// highest to the lowest.
struct IndicatorBreaks {
    std::array<std::vector<float>, SectionChoices> equal;    // Parts; the scale dialog edits it
    std::array<std::vector<float>, SectionChoices> defaults; // the equal limits as computed
    std::array<std::vector<float>, SectionChoices> quantile; // Quintiles
};

// The limits of every indicator of a map's value table.
class ClassBreaks {
public:
    ClassBreaks() = default;
    explicit ClassBreaks(std::vector<IndicatorBreaks> indicators)
        : indicators_(std::move(indicators)) {}

    int IndicatorCount() const { return int(indicators_.size()); }
    // The limits in use for an indicator, m and mode; an empty list outside the table.
    std::span<const float> Limits(int indicator, int m, ClassMode mode) const;
    std::span<const float> Defaults(int indicator, int m) const;
    // The equal-interval limits the scale dialog replaces; false (nothing stored) outside the
    // table or when `limits` does not hold m + 1 values.
    bool SetEqual(int indicator, int m, std::span<const float> limits);

private:
    const IndicatorBreaks* Find(int indicator, int m) const;
    std::vector<IndicatorBreaks> indicators_;
};

// Equal intervals over [min, max]: max - j (max - min) / m for j = 0..m (single precision; the
// first is max and the last min exactly).
std::vector<float> EqualLimits(float min, float max, int m);
// Quantile limits of some values (missing ones left out; none: all missing): the largest, then
// sorted[trunc(k c / m)] of the c values sorted from the largest, then the smallest.
std::vector<float> QuantileLimits(std::vector<float> values, int m);

// The map's compute step, run whenever its table is loaded: for every indicator its computed axis
// range (the extremes over all periods and rows, rounded outward) gives the equal limits and
// the defaults; all its values over all periods and rows give the quantile limits (the same for
// every period). An indicator without any value gets missing limits throughout.
ClassBreaks ComputeClassBreaks(const DataTable& table);

// The class of a value among m + 1 limits: m for a missing value; 0 on the top limit, m - 1 on
// the bottom one; else the r with limit[r+1] < value <= limit[r]; m (drawn as no data) outside
// the limits, as after the user narrowed the range.
int ClassOf(float value, std::span<const float> limits);

// The texts a map's legend and scale dialog show (UTF-8), from the string table.
struct MapTexts {
    // "Upper", "6-th", "5-th", "4-th", "3-rd", "2-nd", "Lower" (strings 2101 to 2107).
    std::array<std::string, 7> ranks;
    std::string noData = "No data"; // 1095
    std::string min = "Min";        // 1096
    std::string max = "Max";        // 1097
    // The inner rows of the scale dialog's limits page: "6-th" .. "1-st" (strings 1088 to 1093).
    std::array<std::string, 6> scaleRows;
};

// The m + 1 class labels of the legend, the no-data label last. Parts: "<= " and the upper limit
// of the class, left empty when the limits are missing (an indicator without data). Quintiles:
// "Upper", the rank labels r + 7 - m, and "Lower" for class m - 1.
std::vector<std::string> LegendLabels(ClassMode mode, std::span<const float> limits,
                                      const MapTexts& texts);
// "Min = <lowest limit>", none when the highest limit is missing.
std::optional<std::string> MinLine(std::span<const float> limits, const MapTexts& texts);
// The label of row k (1 .. m-1) of the scale dialog's limits page: string 1094 - m + k, so that
// the last inner row is always "1-st".
const std::string& ScaleRowLabel(int m, int k, const MapTexts& texts);

// The class colours for n = m + 1 classes from 4 to 8 (index n - 4), coloured and grey; the last
// of each table, white, is the no-data colour. Built from the defaults, or from the seven colours
// of "MAP COLORS" (0xBBGGRR) when the configuration gave them; the grey tables never change.
struct MapColorTables {
    std::array<std::vector<draw::Color>, SectionChoices> color;
    std::array<std::vector<draw::Color>, SectionChoices> grey;

    // The table for m sections (empty for an m outside 3..7).
    std::span<const draw::Color> Colors(int m, bool blackAndWhite) const;
};
MapColorTables MakeMapColorTables(const std::optional<std::array<uint32_t, 7>>& configured = {});

} // namespace zor::maps
