#include "maps/MapScaleRules.h"

#include "core/Numeric.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace zor::maps {

namespace {

size_t Slot(int m) {
    return static_cast<size_t>(std::clamp(m, MinSections, MaxSections) - MinSections);
}

std::string LimitText(float v) {
    return FormatValue(v);
}

// The values of a list, each a number; none when one is not.
std::optional<std::vector<float>> Numbers(const std::vector<std::string>& values) {
    std::vector<float> out;
    for (const std::string& v : values) {
        const std::optional<float> f = ParseLimit(v);
        if (!f) return std::nullopt;
        out.push_back(*f);
    }
    return out;
}

} // namespace

std::optional<float> ParseLimit(const std::string& text) {
    std::string t = text;
    std::replace(t.begin(), t.end(), ',', '.');
    const size_t first = t.find_first_not_of(" \t");
    if (first == std::string::npos) return std::nullopt;
    const size_t last = t.find_last_not_of(" \t");
    t = t.substr(first, last - first + 1);
    char* end = nullptr;
    const double v = std::strtod(t.c_str(), &end);
    if (end != t.c_str() + t.size() || !std::isfinite(v) || std::fabs(v) > 3.4e38)
        return std::nullopt;
    return static_cast<float>(v);
}

MapScaleRules::MapScaleRules(MapScaleInput input)
    : input_(std::move(input)), sections_(std::clamp(input_.sections, MinSections, MaxSections)),
      builtFor_(sections_) {
    Build(input_.equal[Slot(sections_)]);
}

std::vector<ScalePage> MapScaleRules::Pages() const {
    if (input_.mode == ClassMode::Parts)
        return {ScalePage::Sections, ScalePage::AllRanges, ScalePage::MinMax};
    return {ScalePage::Sections};
}

int MapScaleRules::Step(int delta) {
    const int span = MaxSections - MinSections + 1;
    int m = (sections_ - MinSections + delta) % span;
    if (m < 0) m += span;
    sections_ = m + MinSections;
    return sections_;
}

void MapScaleRules::SetSections(int m) {
    sections_ = std::clamp(m, MinSections, MaxSections);
}

void MapScaleRules::Build(const std::vector<float>& limits) {
    const int m = builtFor_;
    auto at = [&limits](int k) {
        return static_cast<size_t>(k) < limits.size() ? limits[static_cast<size_t>(k)]
                                                      : MissingValue;
    };
    allRanges_.clear();
    allRanges_.emplace_back(input_.texts.max, LimitText(at(0)));
    for (int k = 1; k < m; ++k)
        allRanges_.emplace_back(ScaleRowLabel(m, k, input_.texts), LimitText(at(k)));
    allRanges_.emplace_back(input_.texts.min, LimitText(at(m)));
    minMax_ = {{input_.texts.max, LimitText(at(0))}, {input_.texts.min, LimitText(at(m))}};
}

bool MapScaleRules::CanLeave(ScalePage page, const std::vector<std::string>& values) {
    if (page == ScalePage::Sections) return true;
    const std::optional<std::vector<float>> v = Numbers(values);
    if (!v) return false;
    for (size_t i = 1; i < v->size(); ++i)
        if (!((*v)[i] < (*v)[i - 1])) return false;
    return true;
}

bool MapScaleRules::Enter(ScalePage page) {
    if (page == ScalePage::Sections || sections_ == builtFor_) return false;
    builtFor_ = sections_;
    Build(input_.equal[Slot(builtFor_)]);
    return true;
}

void MapScaleRules::Default() {
    builtFor_ = sections_;
    Build(input_.defaults[Slot(builtFor_)]);
}

std::optional<MapScaleResult> MapScaleRules::Ok(ScalePage page,
                                                const std::vector<std::string>& values) const {
    MapScaleResult result;
    result.sections = sections_;
    if (page == ScalePage::Sections) return result;
    const std::optional<std::vector<float>> v = Numbers(values);
    if (!v) return std::nullopt;
    // The lists hold the count they were built for (the same as the sections whenever a list
    // page can be current).
    const int m = builtFor_;
    result.sections = m;
    if (page == ScalePage::AllRanges) {
        if (v->size() != static_cast<size_t>(m) + 1) return std::nullopt;
        result.limits = *v;
        return result;
    }
    if (v->size() != 2) return std::nullopt;
    const float max = (*v)[0], min = (*v)[1];
    result.limits = EqualLimits(min, max, m);
    return result;
}

} // namespace zor::maps
