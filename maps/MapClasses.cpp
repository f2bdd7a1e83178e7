#include "maps/MapClasses.h"

#include "core/DataTable.h"
#include "core/Numeric.h"

#include <algorithm>
#include <functional>

namespace zor::maps {

namespace {

size_t Slot(int m) {
    return static_cast<size_t>(m - MinSections);
}

bool ValidSections(int m) {
    return m >= MinSections && m <= MaxSections;
}

} // namespace

// --- MapClassState -------------------------------------------------------------------------

int MapClassState::Sections() const {
    const int high = word >> 8;
    for (int m = MinSections; m <= MaxSections; ++m)
        if ((high & (1 << (m - MinSections))) != 0) return m;
    return 5;
}

void MapClassState::SetSections(int m) {
    if (!ValidSections(m)) return;
    word = static_cast<uint16_t>((1 << (m - MinSections)) << 8 | (word & 0xFF));
}

void MapClassState::ToggleMode() {
    const int low = Mode() == ClassMode::Parts ? 2 : 1;
    word = static_cast<uint16_t>((word & 0xFF00) | low);
}

// --- Limits ----------------------------------------------------------------------------------

std::vector<float> EqualLimits(float min, float max, int m) {
    std::vector<float> limits(static_cast<size_t>(m) + 1);
    limits.front() = max;
    limits.back() = min;
    for (int j = 1; j < m; ++j)
        limits[static_cast<size_t>(j)] =
            max - static_cast<float>(j) * (max - min) / static_cast<float>(m);
    return limits;
}

std::vector<float> QuantileLimits(std::vector<float> values, int m) {
    std::erase_if(values, [](float v) { return IsMissing(v); });
    std::vector<float> limits(static_cast<size_t>(m) + 1, MissingValue);
    if (values.empty()) return limits;
    std::sort(values.begin(), values.end(), std::greater<>());
    const size_t c = values.size();
    const float q = static_cast<float>(c) / static_cast<float>(m);
    limits.front() = values.front();
    limits.back() = values.back();
    for (int k = 1; k < m; ++k) {
        const auto at = static_cast<size_t>(static_cast<float>(k) * q);
        limits[static_cast<size_t>(k)] = values[std::min(at, c - 1)];
    }
    return limits;
}

ClassBreaks ComputeClassBreaks(const DataTable& table) {
    const int indicators = static_cast<int>(table.Indicators().size());
    const int periods = static_cast<int>(table.Periods().size());
    std::vector<IndicatorBreaks> out(static_cast<size_t>(indicators));
    for (int i = 0; i < indicators; ++i) {
        IndicatorBreaks& b = out[static_cast<size_t>(i)];
        const AxisRange axis = table.ComputedAxis(i);
        if (IsMissing(axis.max) || !table.HasValues()) {
            for (int m = MinSections; m <= MaxSections; ++m) {
                const std::vector<float> none(static_cast<size_t>(m) + 1, MissingValue);
                b.equal[Slot(m)] = b.defaults[Slot(m)] = b.quantile[Slot(m)] = none;
            }
            continue;
        }
        std::vector<float> values;
        values.reserve(static_cast<size_t>(periods) * static_cast<size_t>(table.RowCount()));
        for (int p = 0; p < periods; ++p)
            if (const float* row = table.RowValues(p, i))
                values.insert(values.end(), row, row + table.RowCount());
        for (int m = MinSections; m <= MaxSections; ++m) {
            b.equal[Slot(m)] = b.defaults[Slot(m)] = EqualLimits(axis.min, axis.max, m);
            b.quantile[Slot(m)] = QuantileLimits(values, m);
        }
    }
    return ClassBreaks(std::move(out));
}

const IndicatorBreaks* ClassBreaks::Find(int indicator, int m) const {
    if (indicator < 0 || indicator >= IndicatorCount() || !ValidSections(m)) return nullptr;
    return &indicators_[static_cast<size_t>(indicator)];
}

std::span<const float> ClassBreaks::Limits(int indicator, int m, ClassMode mode) const {
    const IndicatorBreaks* b = Find(indicator, m);
    if (!b) return {};
    return mode == ClassMode::Parts ? b->equal[Slot(m)] : b->quantile[Slot(m)];
}

std::span<const float> ClassBreaks::Defaults(int indicator, int m) const {
    const IndicatorBreaks* b = Find(indicator, m);
    if (!b) return {};
    return b->defaults[Slot(m)];
}

bool ClassBreaks::SetEqual(int indicator, int m, std::span<const float> limits) {
    if (!Find(indicator, m) || limits.size() != static_cast<size_t>(m) + 1) return false;
    indicators_[static_cast<size_t>(indicator)].equal[Slot(m)].assign(limits.begin(), limits.end());
    return true;
}

int ClassOf(float value, std::span<const float> limits) {
    if (limits.size() < 2) return 0;
    const int m = static_cast<int>(limits.size()) - 1;
    if (IsMissing(value)) return m;
    if (value == limits.front()) return 0;
    if (value == limits.back()) return m - 1;
    for (int r = 0; r < m; ++r)
        if (limits[static_cast<size_t>(r) + 1] < value && value <= limits[static_cast<size_t>(r)])
            return r;
    return m;
}

// --- Labels ----------------------------------------------------------------------------------

std::vector<std::string> LegendLabels(ClassMode mode, std::span<const float> limits,
                                      const MapTexts& texts) {
    if (limits.size() < 2) return {texts.noData};
    const int m = static_cast<int>(limits.size()) - 1;
    std::vector<std::string> labels(static_cast<size_t>(m) + 1);
    for (int r = 0; r < m; ++r) {
        std::string& label = labels[static_cast<size_t>(r)];
        if (mode == ClassMode::Parts) {
            // An indicator without data has no limits to write.
            const float limit = limits[static_cast<size_t>(r)];
            if (!IsMissing(limit)) label = "<= " + FormatValue(limit);
        } else if (r == 0) {
            label = texts.ranks[0];
        } else {
            label = texts.ranks[static_cast<size_t>(std::clamp(r + 7 - m, 0, 6))];
        }
    }
    labels.back() = texts.noData;
    return labels;
}

std::optional<std::string> MinLine(std::span<const float> limits, const MapTexts& texts) {
    if (limits.empty() || IsMissing(limits.front())) return std::nullopt;
    return texts.min + " = " + FormatValue(limits.back());
}

const std::string& ScaleRowLabel(int m, int k, const MapTexts& texts) {
    // String 1094 - m + k of 1088 .. 1093: index 6 - m + k.
    return texts.scaleRows[static_cast<size_t>(std::clamp(6 - m + k, 0, 5))];
}

// --- Colours ---------------------------------------------------------------------------------

std::span<const draw::Color> MapColorTables::Colors(int m, bool blackAndWhite) const {
    if (!ValidSections(m)) return {};
    return blackAndWhite ? grey[Slot(m)] : color[Slot(m)];
}

MapColorTables MakeMapColorTables(const std::optional<std::array<uint32_t, 7>>& configured) {
    using draw::Rgb;
    const draw::Color w = draw::White;
    MapColorTables t;
    t.color[0] = {Rgb(255, 130, 0), Rgb(255, 180, 0), Rgb(240, 240, 0), w};
    t.color[1] = {Rgb(255, 0, 0), Rgb(255, 130, 0), Rgb(255, 180, 0), Rgb(240, 240, 0), w};
    t.color[2] = {Rgb(200, 0, 0),   Rgb(255, 0, 0),   Rgb(255, 130, 0),
                  Rgb(255, 180, 0), Rgb(240, 240, 0), w};
    t.color[3] = {Rgb(150, 0, 0),
                  Rgb(200, 0, 0),
                  Rgb(255, 0, 0),
                  Rgb(255, 130, 0),
                  Rgb(255, 180, 0),
                  Rgb(240, 240, 0),
                  w};
    t.color[4] = {Rgb(150, 0, 0),   Rgb(200, 0, 0),   Rgb(255, 0, 0),   Rgb(255, 130, 0),
                  Rgb(255, 180, 0), Rgb(255, 220, 0), Rgb(240, 240, 0), w};
    auto greys = [](std::initializer_list<int> levels) {
        std::vector<draw::Color> out;
        for (int g : levels) out.push_back(Rgb(g, g, g));
        return out;
    };
    t.grey[0] = greys({105, 195, 240, 255});
    t.grey[1] = greys({105, 150, 195, 240, 255});
    t.grey[2] = greys({60, 105, 150, 195, 240, 255});
    t.grey[3] = greys({60, 95, 130, 165, 200, 235, 255});
    t.grey[4] = greys({60, 90, 120, 150, 180, 210, 235, 255});
    if (configured) {
        const auto& c = *configured;
        auto col = [&c](size_t i) { return draw::Color(c[i] & 0xFFFFFF); };
        t.color[4] = {col(0), col(1), col(2), col(3), col(4), col(5), col(6), w};
        t.color[3] = {col(0), col(1), col(2), col(3), col(4), col(6), w};
        t.color[2] = {col(1), col(2), col(3), col(4), col(6), w};
        t.color[1] = {col(2), col(3), col(4), col(6), w};
        t.color[0] = {col(3), col(4), col(6), w};
    }
    return t;
}

} // namespace zor::maps
