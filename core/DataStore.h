// The one data object of the program: settings, titles, the provider and the catalogue.
#pragma once

#include "core/Catalogue.h"
#include "core/DataProvider.h"
#include "core/FileProvider.h"
#include "core/Settings.h"
#include "core/Texts.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zor {

class DataStore {
public:
    DataStore() = default;
    DataStore(const DataStore&) = delete;
    DataStore& operator=(const DataStore&) = delete;

    // Finds the data directory, reads the titles file and zorgui.cfg, installs the provider and
    // loads region sets, indicator groups and time periods. On failure StartupError() says
    // which file or step failed.
    bool StartUp(const PlatformInfo& platform);
    const std::string& StartupError() const { return error_; }

    const AppSettings& Settings() const { return settings_; }
    const std::string& ProviderName() const { return settings_.providerName; }
    const std::string& DataSource() const { return settings_.dataSource; }
    const std::string& PasswordFile() const { return settings_.passwordFile; }
    const std::string& DataDirectory() const { return settings_.dataDirectory; }
    int Charset() const { return settings_.charset; }
    char DecimalSymbol() const { return settings_.decimalSymbol; }

    const TitlesTable& Titles() const { return titles_; }
    std::optional<std::string> LoadText(int id) const { return zor::LoadText(titles_, id); }
    std::string LoadTextOr(int id, std::string_view fallback) const {
        return zor::LoadTextOr(titles_, id, fallback);
    }
    // A user-interface text as UTF-8 for display (see zor::UiText).
    std::string UiText(int id, std::string_view fallback = {}) const {
        return zor::UiText(titles_, settings_.charset, id, fallback);
    }

    DataProvider& Provider() { return provider_; }
    // The built-in file provider when it is installed, else nullptr.
    FileProvider* Files() { return fileProvider_.get(); }

    const std::vector<RegionSet>& RegionSets() const { return sets_; }
    const std::vector<IndicatorGroup>& Groups() const { return groups_; }
    const std::vector<TimePeriod>& Periods() const { return periods_; }
    // Combined lists {RegionKey, name}; empty with only one set.
    const std::vector<ListItem>& AllRegions() const { return allRegions_; }
    const std::vector<ListItem>& TopRegions() const { return topRegions_; }

    // Fills the indicator list of a group when it is empty; false when it was already filled
    // or could not be read.
    bool LoadGroupIndicators(int groupIndex);
    // Empties a group's list and reads it again (group 10 after tmplist.ind changed).
    bool ReloadGroupIndicators(int groupIndex);

    // Announced indicator counts of the first groups (at most `max`, at most ten), written to
    // `out`; returns how many were reported.
    int GroupSizes(int* out, int max = 10) const;
    // The time periods as a selection-style list, leaving out codes below 0.
    std::vector<ListItem> PeriodList() const;

    int FindRegionSet(int id) const { return FindRegionSetIndex(sets_, id); }
    int FindGroup(int id) const { return FindGroupIndex(groups_, id); }
    int FindPeriod(int code) const { return FindPeriodIndex(periods_, code); }

    std::string TempListPath() const { return settings_.dataDirectory + "tmplist.ind"; }

private:
    bool Fail(std::string why);
    void BuildCombinedLists();

    AppSettings settings_;
    TitlesTable titles_;
    DataProvider provider_;
    std::unique_ptr<FileProvider> fileProvider_;
    std::vector<RegionSet> sets_;
    std::vector<IndicatorGroup> groups_;
    std::vector<TimePeriod> periods_;
    std::vector<ListItem> allRegions_;
    std::vector<ListItem> topRegions_;
    std::string error_;
};

} // namespace zor
