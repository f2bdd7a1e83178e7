#include "shell/ParameterModel.h"

#include "core/DataStore.h"

#include <algorithm>
#include <cstdio>
#include <set>

namespace zor {

namespace {

// "%0Nd %s": a number with at least `digits` digits, a blank and the name.
std::string NumberedLabel(int number, int digits, const std::string& name) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%.*d ", digits, number);
    return buf + name;
}

std::string Rest(const std::string& label, size_t skip) {
    return label.size() > skip ? label.substr(skip) : std::string();
}

// A region's name from its label: what follows the number and its blank. Sub-regions under the
// tenth top-level region and later have four-digit numbers, so a fixed cut of four characters
// would leave a blank in front of their names.
std::string RegionName(const std::string& label) {
    const size_t blank = label.find(' ');
    return blank != std::string::npos ? label.substr(blank + 1) : Rest(label, 4);
}

bool Contains(const std::vector<int32_t>& v, int32_t x) {
    return std::find(v.begin(), v.end(), x) != v.end();
}

} // namespace

// --- CheckTree

int CheckTree::Add(int parent, std::string label, int32_t data, bool checkable) {
    CheckItem item;
    item.label = std::move(label);
    item.data = data;
    item.parent = parent;
    item.checkable = checkable;
    const int index = int(items_.size());
    items_.push_back(std::move(item));
    if (parent < 0)
        roots_.push_back(index);
    else
        items_[size_t(parent)].children.push_back(index);
    ++revision_;
    return index;
}

void CheckTree::Clear() {
    items_.clear();
    roots_.clear();
    ++revision_;
}

void CheckTree::Walk(int item, std::vector<int>& out) const {
    out.push_back(item);
    for (int c : items_[size_t(item)].children) Walk(c, out);
}

std::vector<int> CheckTree::InOrder() const {
    std::vector<int> out;
    out.reserve(items_.size());
    for (int r : roots_) Walk(r, out);
    return out;
}

int CheckTree::Find(int32_t data) const {
    for (int i : InOrder())
        if (items_[size_t(i)].data == data) return i;
    return -1;
}

// --- ParameterModel

ParameterModel::ParameterModel(DataStore& store, const Selection& selection,
                               std::string firstAvailable, std::string lastAvailable)
    : store_(store), sets_(store.RegionSets()) {
    limits_[0] = selection.Limit(Selection::List::Indicators);
    limits_[1] = selection.Limit(Selection::List::Regions);
    limits_[2] = selection.Limit(Selection::List::Periods);
    BuildIndicatorTree(selection);
    BuildRegionTree(selection);
    periods_.Add(-1, std::move(firstAvailable), FirstAvailable, true);
    for (const TimePeriod& p : store_.Periods()) periods_.Add(-1, p.name, p.code, true);
    periods_.Add(-1, std::move(lastAvailable), LastAvailable, true);
    BuildPeriodTree(selection);
}

bool ParameterModel::Toggle(CheckTree& tree, int item, std::vector<SelectedEntry>& list,
                            int limit) {
    if (item < 0 || item >= tree.Size() || !tree[item].checkable) return false;
    CheckItem& it = tree[item];
    if (it.checked) {
        it.checked = false;
        auto pos = std::find_if(list.begin(), list.end(),
                                [&](const SelectedEntry& e) { return e.data == it.data; });
        if (pos != list.end()) list.erase(pos);
        return true;
    }
    if (int(list.size()) >= limit) return false;
    it.checked = true;
    list.push_back({it.label, it.data});
    return true;
}

// --- Indicators

void ParameterModel::BuildIndicatorTree(const Selection& selection) {
    std::vector<int32_t> codes;
    for (const ListItem& i : selection.Indicators()) codes.push_back(i.code);
    const auto& groups = store_.Groups();
    for (size_t gi = 0; gi < groups.size(); ++gi) {
        const IndicatorGroup& g = groups[gi];
        const int root = indicators_.Add(-1, NumberedLabel(g.id + 1, 2, g.name),
                                         int32_t(g.id) * 65536 + GroupMarker, false);
        groupOfRoot_.push_back(int(gi));
        groupLoaded_.push_back(!g.indicators.empty());
        if (!g.indicators.empty())
            AddGroupItems(root, int(gi), codes);
        else
            indicators_[root].hasChildrenToLoad = g.announced > 0;
    }
}

void ParameterModel::AddGroupItems(int root, int groupIndex,
                                   const std::vector<int32_t>& checkedCodes) {
    const IndicatorGroup& g = store_.Groups()[size_t(groupIndex)];
    auto add = [&](int parent, int code, const std::string& name) {
        const int item = indicators_.Add(parent, NumberedLabel(code, 4, name), code, true);
        if (Contains(checkedCodes, code)) {
            indicators_[item].checked = true;
            selectedIndicators_.push_back({indicators_[item].label, code});
            for (int p = parent; p >= 0; p = indicators_[p].parent) indicators_[p].expanded = true;
        }
        return item;
    };
    for (const Indicator& ind : g.indicators) {
        const int item = add(root, ind.code, ind.name);
        for (const Variant& v : ind.variants) add(item, v.code, v.name);
    }
    indicators_[root].hasChildrenToLoad = false;
}

bool ParameterModel::LoadGroup(int root) {
    const auto& roots = indicators_.Roots();
    auto pos = std::find(roots.begin(), roots.end(), root);
    if (pos == roots.end()) return false;
    const size_t r = size_t(pos - roots.begin());
    if (groupLoaded_[r]) return true;
    const int gi = groupOfRoot_[r];
    if (store_.Groups()[size_t(gi)].indicators.empty() && !store_.LoadGroupIndicators(gi)) {
        indicators_[root].hasChildrenToLoad = false;
        return false;
    }
    groupLoaded_[r] = true;
    AddGroupItems(root, gi, {});
    return true;
}

void ParameterModel::SetIndicatorExpanded(int item, bool expanded) {
    if (item < 0 || item >= indicators_.Size()) return;
    if (expanded && indicators_[item].parent < 0) LoadGroup(item);
    indicators_[item].expanded = expanded && !indicators_[item].children.empty();
}

bool ParameterModel::ClickIndicator(int item) {
    return Toggle(indicators_, item, selectedIndicators_, Limit(Selection::List::Indicators));
}

void ParameterModel::ClearIndicators() {
    for (int i = 0; i < indicators_.Size(); ++i) {
        indicators_[i].checked = false;
        indicators_[i].expanded = false;
    }
    selectedIndicators_.clear();
}

// --- Regions

void ParameterModel::BuildRegionTree(const Selection& selection) {
    if (sets_.empty()) return;
    const RegionSet& top = sets_[0];
    if (sets_.size() == 1) {
        for (const Region& r : top.regions) {
            regions_.Add(-1, NumberedLabel(r.id, 3, r.name), MakeRegionKey(top.id, r.id), true);
            regionInfo_.push_back({0, true, false, false});
        }
    } else {
        for (int i = 0; i < top.topCount && size_t(i) < top.regions.size(); ++i) {
            const Region& r = top.regions[size_t(i)];
            const int root = regions_.Add(-1, NumberedLabel(r.id, 3, r.name),
                                          MakeRegionKey(top.id, r.id), false);
            regionInfo_.push_back({0, true, false, i == top.topCount - 1});
            const int number = i + 1; // its position from 1
            const int sub = FindRegionSetIndex(sets_, TopLevelSetId + 100 * number);
            if (sub < 1) continue;
            const RegionSet& set = sets_[size_t(sub)];
            for (size_t k = 0; k < set.regions.size(); ++k) {
                const Region& c = set.regions[k];
                regions_.Add(root, NumberedLabel(c.id + 100 * number, 3, c.name),
                             MakeRegionKey(set.id, c.id), false);
                regionInfo_.push_back({sub, false, int(k) == set.topCount - 1, false});
            }
        }
    }

    int mode = TopLevel;
    if (HasRegionModes()) {
        if (selection.SetCode() == AllRegionSets) {
            mode = SmallRegions;
        } else if (selection.SetCode() != TopLevelSetId) {
            const int idx = ComboIndexOfSet(selection.SetCode());
            if (idx >= 0) {
                mode = SpecificRegion;
                combo_ = idx;
            }
        }
        for (const ListItem& r : selection.ConfirmedRegions())
            remembered_[TopLevel].push_back({r.name, r.code});
    }
    std::vector<SelectedEntry> current;
    for (const ListItem& r : selection.Regions()) current.push_back({r.name, r.code});
    mode_ = mode;
    ApplyMode(mode, current);
}

int ParameterModel::ComboIndexOfSet(int setId) const {
    for (size_t i = 1; i < sets_.size(); ++i)
        if (sets_[i].id == setId) return int(i) - 1;
    return -1;
}

int ParameterModel::RootOfSet(int setId) const {
    const auto& roots = regions_.Roots();
    for (size_t r = 0; r < roots.size(); ++r)
        if (TopLevelSetId + 100 * int(r + 1) == setId) return roots[r];
    return -1;
}

std::vector<std::string> ParameterModel::ComboLabels() const {
    std::vector<std::string> out;
    for (size_t i = 1; i < sets_.size(); ++i)
        out.push_back(std::to_string(sets_[i].id) + " " + sets_[i].name);
    return out;
}

bool ParameterModel::CheckableInMode(int item) const {
    const RegionInfo& info = regionInfo_[size_t(item)];
    if (!HasRegionModes()) return true;
    switch (mode_) {
    case TopLevel:
        return info.isRoot;
    case SpecificRegion:
        return !info.isRoot && info.setIndex == combo_ + 1;
    default:
        return info.isRoot ? info.isGrandTotal : !info.isSetTotal;
    }
}

void ParameterModel::ApplyMode(int mode, const std::vector<SelectedEntry>& remembered) {
    mode_ = mode;
    for (int i = 0; i < regions_.Size(); ++i) {
        regions_[i].checkable = CheckableInMode(i);
        regions_[i].checked = false;
    }
    selectedRegions_.clear();
    std::vector<int32_t> keys;
    for (const SelectedEntry& e : remembered) keys.push_back(e.data);
    CheckKeys(keys, false);
    UpdateRegionExpansion();
}

void ParameterModel::CheckKeys(const std::vector<int32_t>& keys, bool listInTreeOrder) {
    const std::vector<int> order = regions_.InOrder();
    auto check = [&](int i) {
        regions_[i].checked = true;
        selectedRegions_.push_back({regions_[i].label, regions_[i].data});
    };
    if (listInTreeOrder) {
        for (int i : order)
            if (regions_[i].checkable && !regions_[i].checked && Contains(keys, regions_[i].data))
                check(i);
        return;
    }
    for (int32_t key : keys) {
        for (int i : order) {
            if (regions_[i].data == key && regions_[i].checkable && !regions_[i].checked) {
                check(i);
                break;
            }
        }
    }
}

void ParameterModel::UpdateRegionExpansion() {
    if (!HasRegionModes()) return;
    const int chosen = mode_ == SpecificRegion && size_t(combo_ + 1) < sets_.size()
                           ? RootOfSet(sets_[size_t(combo_ + 1)].id)
                           : -1;
    for (int root : regions_.Roots()) {
        bool open = false;
        if (mode_ == SpecificRegion)
            open = root == chosen;
        else if (mode_ == SmallRegions)
            for (int c : regions_[root].children) open = open || regions_[c].checked;
        regions_[root].expanded = open && !regions_[root].children.empty();
    }
}

void ParameterModel::UncheckRegions() {
    for (int i = 0; i < regions_.Size(); ++i) regions_[i].checked = false;
    selectedRegions_.clear();
}

void ParameterModel::SetMode(int mode) {
    if (!HasRegionModes() || mode == mode_ || mode < TopLevel || mode > SmallRegions) return;
    remembered_[mode_].clear();
    for (const SelectedEntry& e : selectedRegions_)
        remembered_[mode_].push_back({RegionName(e.label), e.data});
    ApplyMode(mode, remembered_[mode]);
}

void ParameterModel::ChooseSet(int comboIndex) {
    if (mode_ != SpecificRegion || comboIndex == combo_ || comboIndex < 0 ||
        size_t(comboIndex + 1) >= sets_.size())
        return;
    combo_ = comboIndex;
    UncheckRegions();
    for (int i = 0; i < regions_.Size(); ++i) regions_[i].checkable = CheckableInMode(i);
    UpdateRegionExpansion();
}

bool ParameterModel::ClickRegion(int item) {
    return Toggle(regions_, item, selectedRegions_, Limit(Selection::List::Regions));
}

void ParameterModel::ClearRegions() {
    UncheckRegions();
    UpdateRegionExpansion();
}

void ParameterModel::SetRegionExpanded(int item, bool expanded) {
    if (!UserMayExpandRegions() || item < 0 || item >= regions_.Size()) return;
    regions_[item].expanded = expanded && !regions_[item].children.empty();
}

// --- Periods

void ParameterModel::BuildPeriodTree(const Selection& selection) {
    for (int i = 0; i < periods_.Size(); ++i) {
        for (const ListItem& p : selection.Periods()) {
            if (p.code == periods_[i].data) {
                periods_[i].checked = true;
                ++periodCount_;
                break;
            }
        }
    }
}

bool ParameterModel::ClickPeriod(int item, bool shift) {
    if (item < 0 || item >= periods_.Size()) return false;
    if (shift && anchor_ >= 0) {
        const int lo = std::min(anchor_, item), hi = std::max(anchor_, item);
        for (int i = 0; i < periods_.Size(); ++i) periods_[i].checked = i >= lo && i <= hi;
        periodCount_ = hi - lo + 1;
        return true;
    }
    CheckItem& p = periods_[item];
    if (p.checked) {
        p.checked = false;
        --periodCount_;
        return true;
    }
    if (periodCount_ >= Limit(Selection::List::Periods)) return false;
    p.checked = true;
    ++periodCount_;
    anchor_ = item;
    return true;
}

void ParameterModel::ClearPeriods() {
    for (int i = 0; i < periods_.Size(); ++i) periods_[i].checked = false;
    periodCount_ = 0;
}

int ParameterModel::FirstShownPeriod() const {
    for (int i = 0; i < periods_.Size(); ++i)
        if (periods_[i].checked) return i;
    return periods_.Size() > 0 ? 0 : -1;
}

// --- Saved lists

std::vector<int32_t> ParameterModel::CheckedIndicatorCodes() const {
    std::vector<int32_t> out;
    for (int i : indicators_.InOrder())
        if (indicators_[i].checked) out.push_back(indicators_[i].data);
    return out;
}

std::vector<int32_t> ParameterModel::CheckedRegionKeys() const {
    std::vector<int32_t> out;
    for (int i : regions_.InOrder())
        if (regions_[i].checked) out.push_back(regions_[i].data);
    return out;
}

void ParameterModel::ApplySavedIndicators(const std::vector<int16_t>& codes) {
    ClearIndicators();
    std::set<int> groupIds;
    for (int16_t c : codes)
        if (c >= 0) groupIds.insert(c / 1000); // temporary indicators fall into group 10
    const auto& roots = indicators_.Roots();
    for (int gid : groupIds) {
        const int gi = store_.FindGroup(gid);
        if (gi < 0) continue;
        for (size_t r = 0; r < roots.size(); ++r)
            if (groupOfRoot_[r] == gi) LoadGroup(roots[r]);
    }
    std::vector<int32_t> wanted(codes.begin(), codes.end());
    for (int i : indicators_.InOrder()) {
        CheckItem& it = indicators_[i];
        if (!it.checkable || !Contains(wanted, it.data)) continue;
        it.checked = true;
        selectedIndicators_.push_back({it.label, it.data});
        for (int p = it.parent; p >= 0; p = indicators_[p].parent) indicators_[p].expanded = true;
    }
}

void ParameterModel::ApplySavedRegions(int setCode, const std::vector<int32_t>& keys) {
    if (HasRegionModes()) {
        int target = mode_;
        int combo = -1;
        if (setCode == TopLevelSetId)
            target = TopLevel;
        else if (setCode == AllRegionSets)
            target = SmallRegions;
        else if ((combo = ComboIndexOfSet(setCode)) >= 0)
            target = SpecificRegion;
        SetMode(target);
        if (combo >= 0) {
            combo_ = combo;
            for (int i = 0; i < regions_.Size(); ++i) regions_[i].checkable = CheckableInMode(i);
        }
    }
    UncheckRegions();
    CheckKeys(keys, false);
    UpdateRegionExpansion();
}

// --- OK

int ParameterModel::SetCode() const {
    if (!HasRegionModes()) return TopLevelSetId;
    switch (mode_) {
    case SpecificRegion:
        return sets_[size_t(combo_ + 1)].id;
    case SmallRegions:
        return AllRegionSets;
    default:
        return TopLevelSetId;
    }
}

std::vector<ListItem> ParameterModel::IndicatorList() const {
    std::vector<ListItem> out;
    for (int i : indicators_.InOrder())
        if (indicators_[i].checked)
            out.push_back({indicators_[i].data, Rest(indicators_[i].label, 5)});
    return out;
}

std::vector<ListItem> ParameterModel::RegionList() const {
    std::vector<ListItem> out;
    for (int i : regions_.InOrder()) {
        if (!regions_[i].checked) continue;
        std::string name = RegionName(regions_[i].label);
        const RegionInfo& info = regionInfo_[size_t(i)];
        if (!info.isRoot && !sets_[size_t(info.setIndex)].code.empty())
            name += " (" + sets_[size_t(info.setIndex)].code + ")";
        out.push_back({regions_[i].data, std::move(name)});
    }
    return out;
}

std::vector<ListItem> ParameterModel::PeriodList() const {
    std::vector<ListItem> out;
    for (int i = 0; i < periods_.Size(); ++i)
        if (periods_[i].checked) out.push_back({periods_[i].data, periods_[i].label});
    return out;
}

void ParameterModel::ApplyTo(Selection& selection) const {
    selection.Confirm(SetCode(), IndicatorList(), RegionList(), PeriodList());
}

} // namespace zor
