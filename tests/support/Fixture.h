// Builds data sources for tests and benchmarks from a compact description and writes every
// binary file of one: catalogue, values, tmplist.ind, titles and zorgui.cfg.
#pragma once

#include "core/Catalogue.h"
#include "core/Texts.h"

#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace zor::test {

// A temporary directory (with a trailing '/') removed with everything in it on destruction.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
};

void WriteFile(const std::string& path, const std::string& bytes);

// The bytes of a well-formed inddef.bin with these {code, text} definitions in this order.
using Definitions = std::vector<std::pair<int16_t, std::string>>;
std::string DefinitionsFileBytes(const Definitions& defs);
std::string ReadFile(const std::string& path);

class Fixture {
public:
    // Everything goes into `dir` (data directory = data source) unless DataSourceDir is set.
    explicit Fixture(std::string dir);

    // A region set: top-level names (the last is the set's total) and small region names.
    Fixture& Set(int id, std::string name, std::vector<std::string> top,
                 std::vector<std::string> small = {}, std::string code = "");
    // The indicator codes with data for the last added set (default: every indicator and
    // variant of every group, in code order).
    Fixture& SetIndicators(std::vector<int16_t> codes);
    Fixture& ParValues(std::vector<int16_t> values);

    // An indicator group 0..9 and indicators in it (code g*1000 + slot*10) with variant names
    // (the i-th variant name, counting from 1, gets code + i).
    Fixture& Group(int id, std::string name);
    Fixture& Indicator(int code, std::string name, std::vector<std::string> variants = {});

    Fixture& Periods(std::vector<int> years);

    // Values of one record: set, period, indicator, values in region order (missing padded).
    Fixture& Values(int setId, int period, int code, std::vector<float> values);
    // Writes a value file for every set and period, even with no values given (all missing).
    Fixture& AllValueFiles(bool on = true);

    Fixture& Temp(TempIndicatorDef def);
    Fixture& Title(uint32_t id, std::string defaultText, std::string replacement);

    // Lines of zorgui.cfg; default "PROVIDER=ZOR-2".
    Fixture& Config(std::vector<std::string> lines);
    // Writes the data source into another directory (absolute, with trailing '/') and adds a
    // "DATA SOURCE=" line for it.
    Fixture& DataSourceDir(std::string dir);

    Fixture& NameLengths(int setNames, int regionNames, int groupNames, int indicatorNames);

    // Writes every file. Returns the data directory.
    std::string Write() const;

    const std::vector<RegionSet>& sets() const { return sets_; }
    const std::vector<IndicatorGroup>& groups() const { return groups_; }

private:
    std::vector<int16_t> AllIndicatorCodes() const;

    std::string dir_;
    std::string sourceDir_;
    std::vector<std::string> config_{"PROVIDER=ZOR-2"};
    std::vector<RegionSet> sets_;
    std::vector<bool> explicitIndicators_;
    std::vector<IndicatorGroup> groups_;
    std::vector<TimePeriod> periods_;
    std::map<std::tuple<int, int, int>, std::vector<float>> values_;
    std::vector<TempIndicatorDef> temps_;
    std::vector<TitleEntry> titles_;
    bool allValueFiles_ = false;
    int setNameLen_ = 40, regionNameLen_ = 40, groupNameLen_ = 40, indicatorNameLen_ = 60;
};

} // namespace zor::test
