#include "tools/zorimport/Values.h"

#include "core/Catalogue.h"
#include "core/FileUtil.h"
#include "tools/zorimport/Csv.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace zor::import {

namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

bool ParseInt(std::string_view s, int& out) {
    s = Trim(s);
    if (s.empty()) return false;
    auto r = std::from_chars(s.data(), s.data() + s.size(), out);
    return r.ec == std::errc() && r.ptr == s.data() + s.size();
}

bool ParseDouble(std::string_view s, double& out) {
    s = Trim(s);
    if (s.empty()) return false;
    auto r = std::from_chars(s.data(), s.data() + s.size(), out);
    return r.ec == std::errc() && r.ptr == s.data() + s.size();
}

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return out;
}

} // namespace

ValueStore::ValueStore(const Manifest& m) : m_(m) {
    for (const auto& g : m.groups)
        for (const auto& ind : g.indicators) {
            codes_.push_back(ind.code);
            for (const auto& v : ind.variants) codes_.push_back(v.code);
        }
    std::sort(codes_.begin(), codes_.end());
    for (const auto& p : m.periods) periodCodes_.push_back(p.code);
    blocks_.resize(m.sets.size());
    for (auto& b : blocks_) b.resize(codes_.size());
    hasPeriod_.resize(m.sets.size(), std::vector<uint8_t>(periodCodes_.size(), 0));
}

int ValueStore::CodeIndex(int code) const {
    auto it = std::lower_bound(codes_.begin(), codes_.end(), code);
    return it != codes_.end() && *it == code ? int(it - codes_.begin()) : -1;
}

int ValueStore::PeriodIndex(int code) const {
    auto it = std::lower_bound(periodCodes_.begin(), periodCodes_.end(), code);
    return it != periodCodes_.end() && *it == code ? int(it - periodCodes_.begin()) : -1;
}

const ValueStore::Cells* ValueStore::Block(int set, int codeIndex) const {
    const Cells& c = blocks_[size_t(set)][size_t(codeIndex)];
    return c.periods.empty() ? nullptr : &c;
}

float ValueStore::Get(int set, int code, int period, int regionIndex) const {
    const Cells* c = Block(set, code);
    if (!c || !c->periods[size_t(period)]) return MissingValue;
    return c->periods[size_t(period)]->values[size_t(regionIndex)];
}

bool ValueStore::HasPeriod(int set, int periodIndex) const {
    return hasPeriod_[size_t(set)][size_t(periodIndex)] != 0;
}

bool ValueStore::RegionHasValue(int set, int regionIndex) const {
    for (const auto& c : blocks_[size_t(set)])
        for (const auto& rec : c.periods)
            if (rec && rec->origin[size_t(regionIndex)] != 0) return true;
    return false;
}

std::string ValueStore::Where(uint32_t origin) const {
    size_t k = size_t(std::upper_bound(bases_.begin(), bases_.end(), origin) - bases_.begin());
    if (k == 0) return "?";
    return names_[k - 1] + ":" + std::to_string(origin - bases_[k - 1]);
}

void ValueStore::ReadFiles(const std::string& sourceDir, Diagnostics& diag) {
    for (const auto& file : m_.values) ReadFile(sourceDir, file, diag);
}

void ValueStore::ReadFile(const std::string& sourceDir, const SourceValueFile& f,
                          Diagnostics& diag) {
    auto text = ReadWholeFile(JoinPath(sourceDir, f.file), size_t(2) << 30);
    if (!text) {
        // The file keeps its place in the order of the files.
        bases_.push_back(nextBase_++);
        names_.push_back(f.file);
        diag.Error(f.file, 0, "cannot be read");
        return;
    }
    ReadText(f, *text, diag);
}

void ValueStore::ReadText(const SourceValueFile& f, std::string_view text, Diagnostics& diag) {
    const std::string& name = f.file;
    // Every file gets a base in manifest order, so that an origin names its file and line.
    const uint32_t base = nextBase_;
    bases_.push_back(base);
    names_.push_back(name);
    nextBase_ = base + 1;
    const size_t lines = size_t(std::count(text.begin(), text.end(), '\n')) + 1;
    if (lines >= size_t(std::numeric_limits<uint32_t>::max() - base) - 1) {
        diag.Error(name, 0, "has too many lines");
        return;
    }
    nextBase_ = base + uint32_t(lines) + 1;

    CsvReader csv(text);
    std::vector<std::string> fields;
    if (!csv.Next(fields)) {
        if (!csv.error().empty())
            diag.Error(name, csv.line(), csv.error());
        else
            diag.Error(name, 0, "is empty; it needs a header line");
        return;
    }
    int colSet = -1, colRegion = -1, colIndicator = -1, colYear = -1, colValue = -1;
    for (size_t i = 0; i < fields.size(); ++i) {
        std::string h = Lower(Trim(fields[i]));
        int* col = h == "set"                       ? &colSet
                   : h == "region"                  ? &colRegion
                   : h == "indicator"               ? &colIndicator
                   : (h == "year" || h == "period") ? &colYear
                   : h == "value"                   ? &colValue
                                                    : nullptr;
        if (!col) continue; // other columns are for the reader's eyes
        if (*col >= 0) {
            diag.Error(name, csv.line(), "column \"" + h + "\" appears twice in the header");
            return;
        }
        *col = int(i);
    }
    bool headerOk = true;
    for (auto [col, what] : {std::pair{colRegion, "region"},
                             {colIndicator, "indicator"},
                             {colYear, "year"},
                             {colValue, "value"}})
        if (col < 0) {
            diag.Error(name, csv.line(), std::string("the header has no \"") + what + "\" column");
            headerOk = false;
        }
    if (colSet < 0 && f.set == 0) {
        diag.Error(name, csv.line(),
                   "the header has no \"set\" column and the manifest gives the file no set");
        headerOk = false;
    }
    if (colSet >= 0 && f.set != 0) {
        diag.Error(name, csv.line(),
                   "the file has a \"set\" column and the manifest also gives it a set");
        headerOk = false;
    }
    if (!headerOk) return;
    const size_t needed =
        size_t(std::max({colSet, colRegion, colIndicator, colYear, colValue})) + 1;

    const int fixedSet = f.set != 0 ? FindSet(m_, f.set) : -1;
    if (f.set != 0 && fixedSet < 0) {
        diag.Error(name, 0,
                   "is given set " + std::to_string(f.set) + ", which the manifest does not list");
        return;
    }
    while (csv.Next(fields)) {
        const int line = csv.line();
        if (fields.size() < needed) {
            diag.Error(name, line,
                       "has " + std::to_string(fields.size()) +
                           " fields; the header "
                           "needs at least " +
                           std::to_string(needed));
            continue;
        }
        int setId = 0, region = 0, code = 0, year = 0;
        int set = fixedSet;
        if (colSet >= 0) {
            if (!ParseInt(fields[size_t(colSet)], setId)) {
                diag.Error(name, line, "set \"" + fields[size_t(colSet)] + "\" is not a number");
                continue;
            }
            set = FindSet(m_, setId);
            if (set < 0) {
                diag.Error(name, line, "unknown region set " + std::to_string(setId));
                continue;
            }
        }
        const SourceSet& s = m_.sets[size_t(set)];
        if (!ParseInt(fields[size_t(colRegion)], region)) {
            diag.Error(name, line, "region \"" + fields[size_t(colRegion)] + "\" is not a number");
            continue;
        }
        if (region < 1 || region > s.stride()) {
            diag.Error(name, line,
                       "unknown region id " + std::to_string(region) + " in set " +
                           std::to_string(s.id) + " (it has regions 1 to " +
                           std::to_string(s.stride()) + ")");
            continue;
        }
        if (!ParseInt(fields[size_t(colIndicator)], code)) {
            diag.Error(name, line,
                       "indicator \"" + fields[size_t(colIndicator)] + "\" is not a number");
            continue;
        }
        const int ci = CodeIndex(code);
        if (ci < 0) {
            diag.Error(name, line, "unknown indicator code " + std::to_string(code));
            continue;
        }
        if (!ParseInt(fields[size_t(colYear)], year)) {
            diag.Error(name, line, "year \"" + fields[size_t(colYear)] + "\" is not a number");
            continue;
        }
        const int pi = PeriodIndex(year);
        if (pi < 0) {
            diag.Error(name, line,
                       "year " + std::to_string(year) + " is not one of the manifest's periods");
            continue;
        }
        std::string_view text = Trim(fields[size_t(colValue)]);
        float value = MissingValue;
        if (!text.empty()) {
            double d;
            if (!ParseDouble(text, d) || !std::isfinite(d)) {
                diag.Error(name, line, "value \"" + std::string(text) + "\" is not a number");
                continue;
            }
            if (std::fabs(d) > double(std::numeric_limits<float>::max())) {
                diag.Error(name, line,
                           "value " + std::string(text) + " does not fit a 32-bit float");
                continue;
            }
            value = float(d);
            if (IsMissing(value)) {
                diag.Error(name, line,
                           "value " + std::string(text) +
                               " is the marker of a missing value; leave the field "
                               "empty for a missing value");
                continue;
            }
        }
        Cells& c = blocks_[size_t(set)][size_t(ci)];
        Record* rec = c.periods.empty() ? nullptr : c.periods[size_t(pi)].get();
        // Set and period indexes and region ids stay below 2^15, code indexes below 2^14.
        const uint64_t key =
            uint64_t(set) << 44 | uint64_t(ci) << 30 | uint64_t(pi) << 15 | uint64_t(region - 1);
        uint32_t first = rec ? rec->origin[size_t(region - 1)] : 0;
        if (first == 0)
            if (auto it = empty_.find(key); it != empty_.end()) first = it->second;
        if (first != 0) {
            diag.Error(name, line,
                       "duplicate value for set " + std::to_string(s.id) + ", region " +
                           std::to_string(region) + ", indicator " + std::to_string(code) +
                           ", year " + std::to_string(year) + " (first given at " + Where(first) +
                           ")");
            continue;
        }
        const uint32_t origin = base + uint32_t(line);
        if (IsMissing(value)) {
            // An empty field states that the value is missing; it only takes part in the
            // duplicate check.
            empty_.emplace(key, origin);
            continue;
        }
        if (!rec) {
            if (c.periods.empty()) c.periods.resize(periodCodes_.size());
            c.periods[size_t(pi)] = std::make_unique<Record>();
            rec = c.periods[size_t(pi)].get();
            rec->values.assign(size_t(s.stride()), MissingValue);
            rec->origin.assign(size_t(s.stride()), 0);
        }
        rec->values[size_t(region - 1)] = value;
        rec->origin[size_t(region - 1)] = origin;
        hasPeriod_[size_t(set)][size_t(pi)] = 1;
        ++count_;
    }
    if (!csv.error().empty()) diag.Error(name, csv.line(), csv.error());
}

} // namespace zor::import
