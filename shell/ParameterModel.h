// What the "Select Parameters" dialog does, without the window: the three check-box trees, the
// lists of checked items, the limits, the region modes, saved lists and the Selection built on
// OK. The dialog shows this model and forwards the user's clicks to it.
#pragma once

#include "core/Catalogue.h"
#include "core/Selection.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zor {

class DataStore;

// One item of a check-box tree. Labels are single-byte text of the configured charset.
struct CheckItem {
    std::string label;
    int32_t data = 0;
    int parent = -1;
    std::vector<int> children;
    bool checkable = false;
    bool checked = false;
    bool expanded = false;
    bool hasChildrenToLoad = false; // an expand button before the children exist
};

// A tree of check items; indices stay valid as items are added.
class CheckTree {
public:
    int Add(int parent, std::string label, int32_t data, bool checkable);
    void Clear();

    int Size() const { return int(items_.size()); }
    const CheckItem& operator[](int i) const { return items_[size_t(i)]; }
    CheckItem& operator[](int i) { return items_[size_t(i)]; }
    const std::vector<int>& Roots() const { return roots_; }
    // Every item in display order: each root followed by its subtree.
    std::vector<int> InOrder() const;
    // The first item (in display order) with this data, or -1.
    int Find(int32_t data) const;
    // Bumped whenever items are added or removed, so that a view knows to rebuild.
    int Revision() const { return revision_; }

private:
    void Walk(int item, std::vector<int>& out) const;
    std::vector<CheckItem> items_;
    std::vector<int> roots_;
    int revision_ = 0;
};

// An entry of a "Selected ..." list: the item's label and data (code or key).
struct SelectedEntry {
    std::string label;
    int32_t data = 0;
    bool operator==(const SelectedEntry&) const = default;
};

class ParameterModel {
public:
    enum RegionMode { TopLevel = 0, SpecificRegion = 1, SmallRegions = 2 };
    // Item data of a group's root item: group id * 65536 + this.
    static constexpr int32_t GroupMarker = 65535;

    // Fills the trees from the catalogue and checks what the selection holds. Groups whose
    // indicators are already loaded get their items at once.
    ParameterModel(DataStore& store, const Selection& selection, std::string firstAvailable,
                   std::string lastAvailable);

    // --- Indicators
    const CheckTree& Indicators() const { return indicators_; }
    const std::vector<SelectedEntry>& SelectedIndicators() const { return selectedIndicators_; }
    // Expands or collapses a group or indicator item. Expanding a group whose indicators were
    // never loaded loads them and adds their items; a failed load adds nothing.
    void SetIndicatorExpanded(int item, bool expanded);
    // A click on an item's check box: checks it unless the limit is reached, or unchecks it.
    // Returns whether anything changed.
    bool ClickIndicator(int item);
    // Unchecks everything, collapses the groups and empties the list.
    void ClearIndicators();

    // --- Regions
    // Whether there is more than one region set, so that the region modes apply.
    bool HasRegionModes() const { return sets_.size() > 1; }
    const CheckTree& Regions() const { return regions_; }
    const std::vector<SelectedEntry>& SelectedRegions() const { return selectedRegions_; }
    int Mode() const { return mode_; }
    // Switches the region mode: remembers the checked regions of the mode left and restores
    // those of the new mode.
    void SetMode(int mode);
    // The sets of the "Specific region" box ("%d %s": id and name), every set but the first.
    std::vector<std::string> ComboLabels() const;
    // The set the box shows: -1 when it shows none (modes other than "Specific region").
    int ComboIndex() const { return mode_ == SpecificRegion ? combo_ : -1; }
    bool ComboEnabled() const { return mode_ == SpecificRegion; }
    // Chooses another set under "Specific region": unchecks everything and opens its root.
    void ChooseSet(int comboIndex);
    bool ClickRegion(int item);
    // Unchecks the regions that are checkable in the current mode and empties the list.
    void ClearRegions();
    // Whether the user may open and close root items: only under "Small regions", where the
    // small regions are found under their top-level region. In the other modes the dialog
    // decides which root is open.
    bool UserMayExpandRegions() const { return mode_ == SmallRegions; }
    void SetRegionExpanded(int item, bool expanded);

    // --- Periods
    const CheckTree& Periods() const { return periods_; }
    // A click on a period's check box; with `shift`, checks the range from the anchor (the
    // item last checked by a plain click) to this item and unchecks all others, without the
    // limit.
    bool ClickPeriod(int item, bool shift);
    void ClearPeriods();
    int CheckedPeriodCount() const { return periodCount_; }
    // The item to scroll into view: the first checked period, else the first.
    int FirstShownPeriod() const;

    // --- Saved lists
    // The checked indicators and variants in tree order, and the checked regions.
    std::vector<int32_t> CheckedIndicatorCodes() const;
    std::vector<int32_t> CheckedRegionKeys() const;
    // Replaces the indicator checks by a saved list: loads the groups it needs, checks its
    // codes (up to 50, beyond the limit) and opens their parents.
    void ApplySavedIndicators(const std::vector<int16_t>& codes);
    // Replaces the region checks by a saved list: switches to the region mode of its set code
    // (10000 top level, 19900 small regions, else that set) and checks its keys.
    void ApplySavedRegions(int setCode, const std::vector<int32_t>& keys);

    // --- OK
    // The set code of the current mode: 10000, the chosen set's id, or 19900.
    int SetCode() const;
    std::vector<ListItem> IndicatorList() const;
    std::vector<ListItem> RegionList() const;
    std::vector<ListItem> PeriodList() const;
    // Confirms the selection with the four results.
    void ApplyTo(Selection& selection) const;

    int Limit(Selection::List list) const { return limits_[int(list)]; }

private:
    struct RegionInfo {
        int setIndex = 0;
        bool isRoot = false;
        bool isSetTotal = false;   // the last top-level region of its sub-region set
        bool isGrandTotal = false; // the last root
    };

    void BuildIndicatorTree(const Selection& selection);
    void AddGroupItems(int root, int groupIndex, const std::vector<int32_t>& checkedCodes);
    bool LoadGroup(int root);
    void BuildRegionTree(const Selection& selection);
    void ApplyMode(int mode, const std::vector<SelectedEntry>& remembered);
    bool CheckableInMode(int item) const;
    void CheckKeys(const std::vector<int32_t>& keys, bool listInTreeOrder);
    void UpdateRegionExpansion();
    void UncheckRegions();
    int ComboIndexOfSet(int setId) const;
    int RootOfSet(int setId) const;
    void BuildPeriodTree(const Selection& selection);
    static bool Toggle(CheckTree& tree, int item, std::vector<SelectedEntry>& list, int limit);

    DataStore& store_;
    const std::vector<RegionSet>& sets_;
    int limits_[3] = {30, 30, 30};

    CheckTree indicators_;
    std::vector<SelectedEntry> selectedIndicators_;
    std::vector<int> groupOfRoot_; // group index of each root item, by root position
    std::vector<bool> groupLoaded_;

    CheckTree regions_;
    std::vector<RegionInfo> regionInfo_; // by item index
    std::vector<SelectedEntry> selectedRegions_;
    int mode_ = TopLevel;
    int combo_ = 0;
    std::vector<SelectedEntry> remembered_[3];

    CheckTree periods_;
    int periodCount_ = 0;
    int anchor_ = -1;
};

} // namespace zor
