#include "tests/support/Fixture.h"

#include "core/Bytes.h"
#include "core/Formats.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <stdexcept>

namespace zor::test {

namespace fs = std::filesystem;

TempDir::TempDir() {
    std::string tmpl = (fs::temp_directory_path() / "zortest-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
    path_ = tmpl + "/";
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(bytes.data(), std::streamsize(bytes.size()));
    if (!f) throw std::runtime_error("cannot write " + path);
}

std::string ReadFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

std::string DefinitionsFileBytes(const Definitions& defs) {
    ByteWriter w;
    w.i16(int16_t(defs.size()));
    uint32_t offset = uint32_t(2 + 6 * defs.size());
    for (const auto& [code, text] : defs) {
        w.i16(code);
        w.i32(int32_t(offset));
        offset += uint32_t(4 + text.size());
    }
    for (const auto& [code, text] : defs) {
        w.i32(int32_t(text.size()));
        w.bytes(text);
    }
    return w.data();
}

Fixture::Fixture(std::string dir) : dir_(std::move(dir)), sourceDir_(dir_) {}

Fixture& Fixture::Set(int id, std::string name, std::vector<std::string> top,
                      std::vector<std::string> small, std::string code) {
    RegionSet s;
    s.id = int16_t(id);
    s.name = std::move(name);
    s.code = std::move(code);
    s.topCount = int16_t(top.size());
    s.smallCount = int16_t(small.size());
    int16_t rid = 1;
    for (auto& n : top) s.regions.push_back({rid++, std::move(n)});
    for (auto& n : small) s.regions.push_back({rid++, std::move(n)});
    sets_.push_back(std::move(s));
    explicitIndicators_.push_back(false);
    return *this;
}

Fixture& Fixture::SetIndicators(std::vector<int16_t> codes) {
    sets_.back().indicators = std::move(codes);
    explicitIndicators_.back() = true;
    return *this;
}

Fixture& Fixture::ParValues(std::vector<int16_t> values) {
    sets_.back().parValues = std::move(values);
    return *this;
}

Fixture& Fixture::Group(int id, std::string name) {
    IndicatorGroup g;
    g.id = int16_t(id);
    g.name = std::move(name);
    groups_.push_back(std::move(g));
    return *this;
}

Fixture& Fixture::Indicator(int code, std::string name, std::vector<std::string> variants) {
    zor::Indicator ind;
    ind.code = int16_t(code);
    ind.name = std::move(name);
    for (size_t v = 0; v < variants.size(); ++v)
        if (!variants[v].empty()) ind.variants.push_back({int16_t(code + int(v) + 1), variants[v]});
    groups_.back().indicators.push_back(std::move(ind));
    return *this;
}

Fixture& Fixture::Periods(std::vector<int> years) {
    periods_.clear();
    for (int y : years) periods_.push_back({int16_t(y), std::to_string(y)});
    return *this;
}

Fixture& Fixture::Values(int setId, int period, int code, std::vector<float> values) {
    values_[{setId, period, code}] = std::move(values);
    return *this;
}

Fixture& Fixture::AllValueFiles(bool on) {
    allValueFiles_ = on;
    return *this;
}

Fixture& Fixture::Temp(TempIndicatorDef def) {
    temps_.push_back(std::move(def));
    return *this;
}

Fixture& Fixture::Title(uint32_t id, std::string defaultText, std::string replacement) {
    titles_.push_back({id, std::move(defaultText), std::move(replacement)});
    return *this;
}

Fixture& Fixture::Config(std::vector<std::string> lines) {
    config_ = std::move(lines);
    return *this;
}

Fixture& Fixture::DataSourceDir(std::string dir) {
    sourceDir_ = std::move(dir);
    config_.push_back("DATA SOURCE=" + sourceDir_);
    return *this;
}

Fixture& Fixture::NameLengths(int setNames, int regionNames, int groupNames, int indicatorNames) {
    setNameLen_ = setNames;
    regionNameLen_ = regionNames;
    groupNameLen_ = groupNames;
    indicatorNameLen_ = indicatorNames;
    return *this;
}

std::vector<int16_t> Fixture::AllIndicatorCodes() const {
    std::vector<int16_t> codes;
    for (const auto& g : groups_)
        for (const auto& ind : g.indicators) {
            codes.push_back(ind.code);
            for (const auto& v : ind.variants) codes.push_back(v.code);
        }
    std::sort(codes.begin(), codes.end());
    return codes;
}

std::string Fixture::Write() const {
    fs::create_directories(dir_);
    fs::create_directories(sourceDir_);
    std::string cfg;
    for (const auto& l : config_) cfg += l + "\n";
    WriteFile(dir_ + "zorgui.cfg", cfg);
    if (!titles_.empty()) WriteFile(dir_ + "wtitles.bin", WriteTitlesFile(titles_));
    if (!temps_.empty()) WriteFile(dir_ + "tmplist.ind", WriteTempList(temps_));

    std::vector<RegionSet> sets = sets_;
    const auto all = AllIndicatorCodes();
    for (size_t i = 0; i < sets.size(); ++i)
        if (!explicitIndicators_[i]) sets[i].indicators = all;

    const std::string& src = sourceDir_;
    WriteFile(src + "clist.bin", WriteSetList(sets, setNameLen_));
    bool anyCode = false;
    for (const auto& s : sets) {
        WriteFile(src + std::to_string(s.id) + ".par", WriteParFile(s, regionNameLen_));
        WriteFile(src + std::to_string(s.id) + ".ind", WriteIndFile(s));
        anyCode = anyCode || !s.code.empty();
    }
    if (anyCode) WriteFile(src + "cid.bin", WriteSetCodes(sets));
    WriteFile(src + "tmscl.bin", WriteTimePeriods(periods_));
    WriteFile(src + "mainlist.grp", WriteGroupNames(groups_, groupNameLen_));
    WriteFile(src + "mainlist.ind", WriteMainlist(groups_, indicatorNameLen_));

    // Value files: one record per code of the set's list, missing where no value was given.
    std::set<std::pair<int, int>> files;
    for (const auto& [key, v] : values_) files.insert({std::get<0>(key), std::get<1>(key)});
    if (allValueFiles_)
        for (const auto& s : sets)
            for (const auto& p : periods_) files.insert({s.id, p.code});
    for (const auto& [setId, period] : files) {
        int k = FindRegionSetIndex(sets, setId);
        if (k < 0) continue;
        const RegionSet& s = sets[size_t(k)];
        std::vector<std::vector<float>> records;
        for (int16_t code : s.indicators) {
            std::vector<float> rec(size_t(s.Stride()), MissingValue);
            auto it = values_.find({setId, period, code});
            if (it != values_.end())
                for (size_t i = 0; i < rec.size() && i < it->second.size(); ++i)
                    rec[i] = it->second[i];
            records.push_back(std::move(rec));
        }
        WriteFile(src + std::to_string(setId) + "." + std::to_string(period),
                  WriteValueFile(records));
    }
    return dir_;
}

} // namespace zor::test
