// The 'Map Scale Parameters' dialog (20003) apart from its widgets: the pages it shows, the
// wrapping number of sections, the rows of its two limit lists, when a page may be left, what
// Default writes and what OK stores.
//
// Pages: "Sections" always; in Parts mode also "All rangs" (every limit, "Max" to "Min") and
// "Min && Max" (the two outer limits; OK spreads the inner ones evenly).
#pragma once

#include "charts/ViewHost.h"
#include "maps/MapClasses.h"

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zor::maps {

enum class ScalePage { Sections, AllRanges, MinMax };

// Rows of a limit list: label and value text (UTF-8).
using ScaleRows = std::vector<std::pair<std::string, std::string>>;

// What the map view hands the dialog: the sections and mode in use and the current indicator's
// equal-interval and default limits for every m (index m - 3).
struct MapScaleInput {
    int sections = 5;
    ClassMode mode = ClassMode::Parts;
    std::array<std::vector<float>, SectionChoices> equal;
    std::array<std::vector<float>, SectionChoices> defaults;
    MapTexts texts;
};

// What OK gives back: the number of sections, and the equal-interval limits of that m to store
// (none when OK was pressed on the sections page).
struct MapScaleResult {
    int sections = 5;
    std::optional<std::vector<float>> limits;
    bool operator==(const MapScaleResult&) const = default;
};

class MapScaleRules {
public:
    explicit MapScaleRules(MapScaleInput input);

    // The tabs in order: Sections, then in Parts mode the two limit pages.
    std::vector<ScalePage> Pages() const;
    bool DefaultEnabled() const { return input_.mode == ClassMode::Parts; }

    // The up-down control: range 3..7, wrapping (above 7 is 3, below 3 is 7).
    int Sections() const { return sections_; }
    int Step(int delta);
    // A number of sections typed or chosen; brought into 3..7.
    void SetSections(int m);

    // The rows of the two limit lists for the count they were last built for.
    const ScaleRows& AllRangesRows() const { return allRanges_; }
    const ScaleRows& MinMaxRows() const { return minMax_; }
    int BuiltFor() const { return builtFor_; }

    // Leaving a page with the values its list holds now: a limit page only when its values
    // are numbers that strictly decrease from row to row.
    static bool CanLeave(ScalePage page, const std::vector<std::string>& values);
    // Going to a page: when the number of sections changed since the lists were built, both are
    // built again from the equal-interval limits of the new count. Returns whether they were.
    bool Enter(ScalePage page);
    // Default: the lists (rebuilt first if the count changed) get the default limits. Nothing is
    // applied until OK.
    void Default();
    // OK on `page` with the values of its list (ignored on the sections page): the result, none
    // when a value is not a number (the dialog stays open).
    std::optional<MapScaleResult> Ok(ScalePage page, const std::vector<std::string>& values) const;

private:
    void Build(const std::vector<float>& limits);

    MapScaleInput input_;
    int sections_;
    int builtFor_;
    ScaleRows allRanges_, minMax_;
};

// A value cell's text as a number (decimal, '.' or ','); none when it is not one.
std::optional<float> ParseLimit(const std::string& text);

// The model a map view hands its host to open the dialog (ViewHost::RunDialog).
struct MapScaleModel : charts::DialogModel {
    MapScaleInput input;
    MapScaleResult result; // once accepted
};

} // namespace zor::maps
