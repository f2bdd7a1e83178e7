#include "core/Catalogue.h"

namespace zor {

namespace {
template <class V, class F> int FindIndex(const V& v, F match) {
    for (size_t i = 0; i < v.size(); ++i)
        if (match(v[i])) return int(i);
    return -1;
}
} // namespace

int FindRegionSetIndex(const std::vector<RegionSet>& sets, int id) {
    return FindIndex(sets, [id](const RegionSet& s) { return s.id == id; });
}
int FindRegionIndex(const RegionSet& set, int regionId) {
    return FindIndex(set.regions, [regionId](const Region& r) { return r.id == regionId; });
}
int FindGroupIndex(const std::vector<IndicatorGroup>& groups, int id) {
    return FindIndex(groups, [id](const IndicatorGroup& g) { return g.id == id; });
}
int FindPeriodIndex(const std::vector<TimePeriod>& periods, int code) {
    return FindIndex(periods, [code](const TimePeriod& p) { return p.code == code; });
}
int FindTempDefIndex(const std::vector<TempIndicatorDef>& defs, int code) {
    return FindIndex(defs, [code](const TempIndicatorDef& d) { return d.code == code; });
}

} // namespace zor
