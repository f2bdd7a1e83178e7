#include "tools/zorexport/SelectionArgs.h"

#include "tools/zorexport/Startup.h"

#include <charconv>
#include <cstdio>

namespace zor::exporter {

std::optional<int64_t> ParseInt(const std::string& s) {
    int64_t v = 0;
    const char* end = s.data() + s.size();
    auto r = std::from_chars(s.data(), end, v);
    if (s.empty() || r.ec != std::errc() || r.ptr != end) return std::nullopt;
    return v;
}

std::optional<std::vector<int64_t>> ParseIntList(const std::string& text, int64_t lo, int64_t hi) {
    std::vector<int64_t> out;
    for (const auto& part : SplitList(text)) {
        auto v = ParseInt(part);
        if (!v || *v < lo || *v > hi) return std::nullopt;
        out.push_back(*v);
    }
    return out;
}

std::optional<draw::Size> ParseSize(const std::string& text, int64_t limit) {
    const size_t x = text.find_first_of("xX");
    if (x == std::string::npos) return std::nullopt;
    const auto w = ParseInt(text.substr(0, x)), h = ParseInt(text.substr(x + 1));
    if (!w || !h || *w < 1 || *h < 1 || *w > limit || *h > limit) return std::nullopt;
    return draw::Size{static_cast<int>(*w), static_cast<int>(*h)};
}

std::string IndicatorName(DataStore& store, int code) {
    const int groupId = code >= TempIndicatorBase ? TempGroupId : code / 1000;
    const int g = code >= 0 ? store.FindGroup(groupId) : -1;
    if (g < 0) return {};
    if (store.Groups()[size_t(g)].indicators.empty()) store.LoadGroupIndicators(g);
    for (const auto& ind : store.Groups()[size_t(g)].indicators) {
        std::string name;
        if (ind.code == code) name = ind.name;
        for (const auto& v : ind.variants)
            if (v.code == code) name = v.name;
        if (name.empty()) continue;
        char prefix[16];
        std::snprintf(prefix, sizeof prefix, "%4.4d ", code);
        return (std::string(prefix) + name).substr(5);
    }
    return {};
}

std::string RegionName(const DataStore& store, int32_t key) {
    const int s = store.FindRegionSet(KeySetId(key));
    if (s < 0) return {};
    const RegionSet& set = store.RegionSets()[size_t(s)];
    const int r = FindRegionIndex(set, KeyRegionId(key));
    if (r < 0) return {};
    std::string name = set.regions[size_t(r)].name;
    if (s > 0 && !set.code.empty()) name += " (" + set.code + ")";
    return name;
}

std::string PeriodName(const DataStore& store, int code) {
    if (code == FirstAvailable) return store.LoadTextOr(1401, "First Available");
    if (code == LastAvailable) return store.LoadTextOr(1402, "Last Available");
    const int p = store.FindPeriod(code);
    return p >= 0 ? store.Periods()[size_t(p)].name : std::string();
}

std::string CheckRegionKeys(const DataStore& store, int setCode, const std::vector<int64_t>& keys) {
    for (const int64_t k : keys) {
        const auto key = static_cast<int32_t>(static_cast<uint32_t>(k));
        const int s = store.FindRegionSet(KeySetId(key));
        if (s < 0 || FindRegionIndex(store.RegionSets()[size_t(s)], KeyRegionId(key)) < 0)
            return "region key " + std::to_string(k) + " is not in the catalogue";
        if (setCode != AllRegionSets && KeySetId(key) != setCode)
            return "region key " + std::to_string(k) + " is not in set " + std::to_string(setCode);
    }
    return {};
}

std::vector<ListItem> IndicatorItems(DataStore& store, const std::vector<int64_t>& codes) {
    std::vector<ListItem> out;
    for (int64_t c : codes) out.push_back({int32_t(c), IndicatorName(store, int(c))});
    return out;
}

std::vector<ListItem> RegionItems(const DataStore& store, const std::vector<int64_t>& keys) {
    std::vector<ListItem> out;
    for (int64_t k : keys) {
        const int32_t key = int32_t(uint32_t(k));
        out.push_back({key, RegionName(store, key)});
    }
    return out;
}

std::vector<ListItem> PeriodItems(const DataStore& store, const std::vector<int64_t>& codes) {
    std::vector<ListItem> out;
    for (int64_t p : codes) out.push_back({int32_t(p), PeriodName(store, int(p))});
    return out;
}

} // namespace zor::exporter
