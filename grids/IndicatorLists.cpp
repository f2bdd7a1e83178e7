#include "grids/IndicatorLists.h"

#include "core/DataStore.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace zor::grids {

namespace {

constexpr int MaxGroups = 10;
constexpr int CodesPerGroup = 1000;

bool HasCodeOfGroup(const RegionSet& set, int groupId) {
    return std::ranges::any_of(set.indicators,
                               [&](int16_t code) { return code / CodesPerGroup == groupId; });
}

} // namespace

std::vector<bool> GroupAvailability(const DataStore& store, int setCode) {
    std::array<int, MaxGroups> announced{};
    const int count = store.GroupSizes(announced.data(), MaxGroups);
    const auto& sets = store.RegionSets();
    const int setIndex = store.FindRegionSet(setCode);
    std::vector<bool> flags(static_cast<size_t>(std::max(0, count)), false);
    for (size_t g = 0; g < flags.size(); ++g) {
        if (announced[g] <= 0) continue;
        const int id = store.Groups()[g].id;
        if (id == TempGroupId) {
            flags[g] = true;
        } else if (setIndex >= 0) {
            flags[g] = HasCodeOfGroup(sets[static_cast<size_t>(setIndex)], id);
        } else {
            flags[g] = std::ranges::any_of(
                sets, [&](const RegionSet& s) { return HasCodeOfGroup(s, id); });
        }
    }
    return flags;
}

std::vector<ListItem> GroupIndicatorList(DataStore& store, int groupPosition) {
    if (groupPosition < 0 || static_cast<size_t>(groupPosition) >= store.Groups().size()) return {};
    if (store.Groups()[static_cast<size_t>(groupPosition)].indicators.empty())
        store.LoadGroupIndicators(groupPosition);
    std::vector<ListItem> out;
    for (const Indicator& i : store.Groups()[static_cast<size_t>(groupPosition)].indicators) {
        out.push_back({i.code, i.name});
        for (const Variant& v : i.variants) out.push_back({v.code, v.name});
    }
    return out;
}

bool IsSubIndicator(int code) {
    return code < TempIndicatorBase && code % 10 != 0;
}

std::string IndicatorLabel(const ListItem& indicator) {
    char code[16];
    std::snprintf(code, sizeof code, "%4.4d ", static_cast<int>(indicator.code));
    return code + indicator.name;
}

} // namespace zor::grids
