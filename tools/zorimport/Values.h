// The values of an import, read from long-format CSV files with the columns
// set (optional), region, indicator, year, value.
#pragma once

#include "tools/zorimport/Diagnostics.h"
#include "tools/zorimport/Manifest.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zor::import {

// Values of every set, indicator code and period. A record (one set, code and period, a value
// per region) is allocated when its first value arrives, so memory stays within the size of the
// value files written; cells stated empty are kept aside, for the duplicate check only.
class ValueStore {
public:
    explicit ValueStore(const Manifest& m);

    // All indicator and variant codes of the catalogue, ascending.
    const std::vector<int>& codes() const { return codes_; }
    int CodeIndex(int code) const;
    int PeriodIndex(int code) const;

    // The value of a cell, MissingValue when none was given.
    float Get(int set, int code, int period, int regionIndex) const;
    // True when the set has at least one value of the code (in any period).
    bool HasCode(int set, int codeIndex) const { return Block(set, codeIndex) != nullptr; }
    // True when the set has any value in the period.
    bool HasPeriod(int set, int periodIndex) const;
    // True when the region (0-based index) has any value at all.
    bool RegionHasValue(int set, int regionIndex) const;
    size_t valueCount() const { return count_; }

    // Reads every value file of the manifest; reports errors and warnings.
    void ReadFiles(const std::string& sourceDir, Diagnostics& diag);
    // Reads the text of one value file (files are read in manifest order).
    void ReadText(const SourceValueFile& f, std::string_view text, Diagnostics& diag);

private:
    struct Record {
        std::vector<float> values;
        std::vector<uint32_t> origin; // 0 = no value, else the source position of the value
    };
    struct Cells {
        std::vector<std::unique_ptr<Record>> periods; // empty until a value arrives
    };
    const Cells* Block(int set, int codeIndex) const;
    void ReadFile(const std::string& sourceDir, const SourceValueFile& f, Diagnostics& diag);
    std::string Where(uint32_t origin) const;

    const Manifest& m_;
    std::vector<int> codes_;
    std::vector<int> periodCodes_;
    std::vector<std::vector<Cells>> blocks_;      // [set][code index]
    std::vector<std::vector<uint8_t>> hasPeriod_; // [set][period index]
    // Cells given with an empty value: key of set, code, period and region -> origin.
    std::unordered_map<uint64_t, uint32_t> empty_;
    // A value's origin is base of its file + its line; bases_ holds one base per file, names_
    // its name.
    std::vector<uint32_t> bases_;
    std::vector<std::string> names_;
    uint32_t nextBase_ = 1;
    size_t count_ = 0;
};

} // namespace zor::import
