#include "tools/zorimport/Importer.h"

#include "core/Bitmap.h"
#include "core/Bytes.h"
#include "core/Catalogue.h"
#include "core/Charset.h"
#include "core/FileUtil.h"
#include "core/Formats.h"
#include "core/Ids.h"
#include "core/MapFormat.h"
#include "core/Texts.h"
#include "tools/zorimport/Boundaries.h"
#include "tools/zorimport/Geometry.h"
#include "tools/zorimport/Manifest.h"
#include "tools/zorimport/Values.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <random>

#if defined(__unix__) || defined(__APPLE__)
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#define ZOR_HAVE_POSIX_SPAWN 1
#endif

namespace zor::import {

namespace fs = std::filesystem;

namespace {

// ------------------------------------------------------------------ definitions

struct Definition {
    int code = 0;
    int group = 0;
    std::string text; // encoded, lines ending with '\n'
};

// Longest source line the compiler reads as one line.
constexpr size_t MaxDefinitionLine = 5000;

std::optional<Definition> ReadDefinition(const std::string& sourceDir, const std::string& file,
                                         int code, int charset, Diagnostics& diag) {
    auto text = ReadWholeFile(JoinPath(sourceDir, file), size_t(16) << 20);
    if (!text) {
        diag.Error(file, 0, "cannot be read");
        return std::nullopt;
    }
    std::string_view rest = *text;
    if (rest.substr(0, 3) == "\xEF\xBB\xBF") rest.remove_prefix(3);
    std::vector<std::string> lines;
    bool ok = true;
    for (int line = 1; !rest.empty(); ++line) {
        size_t nl = rest.find('\n');
        std::string_view l = rest.substr(0, nl);
        rest = nl == std::string_view::npos ? std::string_view() : rest.substr(nl + 1);
        if (!l.empty() && l.back() == '\r') l.remove_suffix(1);
        while (!l.empty() && (l.back() == ' ' || l.back() == '\t')) l.remove_suffix(1);
        auto enc = EncodeFromUtf8(l, charset);
        if (!enc) {
            diag.Error(file, line,
                       "is not valid UTF-8 or holds a character that " +
                           std::string(CodePageOfCharset(charset)) + " cannot encode");
            ok = false;
            continue;
        }
        if (!enc->empty() && (*enc)[0] == '.') {
            diag.Error(file, line, "begins with '.', which would start a new definition");
            ok = false;
        }
        if (enc->size() > MaxDefinitionLine) {
            diag.Error(file, line,
                       "is longer than " + std::to_string(MaxDefinitionLine) +
                           " characters; split it into paragraphs");
            ok = false;
        }
        lines.push_back(std::move(*enc));
    }
    if (!ok) return std::nullopt;
    while (!lines.empty() && lines.back().empty()) lines.pop_back();
    size_t first = 0;
    while (first < lines.size() && lines[first].empty()) ++first;
    Definition d;
    d.code = code;
    for (size_t i = first; i < lines.size(); ++i) d.text += lines[i] + "\n";
    if (d.text.empty()) {
        diag.Warning(file, 0,
                     "is empty; indicator " + std::to_string(code) + " gets no definition");
        return std::nullopt;
    }
    return d;
}

// ------------------------------------------------------------------ output

class Output {
public:
    explicit Output(std::string dir) : dir_(std::move(dir)) {}
    bool Write(const std::string& name, std::string_view data) {
        std::ofstream f(JoinPath(dir_, name), std::ios::binary | std::ios::trunc);
        f.write(data.data(), std::streamsize(data.size()));
        f.close();
        if (!f) {
            failed_ = name;
            return false;
        }
        ++files_;
        bytes_ += data.size();
        return true;
    }
    const std::string& failed() const { return failed_; }
    int files() const { return files_; }
    uint64_t bytes() const { return bytes_; }

private:
    std::string dir_;
    std::string failed_;
    int files_ = 0;
    uint64_t bytes_ = 0;
};

// A fresh directory next to `target` (same file system, so that it can be renamed there).
std::optional<std::string> MakeSiblingDir(const std::string& target, const char* tag) {
    std::random_device rd;
    std::mt19937_64 rng((uint64_t(rd()) << 32) ^ rd());
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".%s-%08x", tag, unsigned(rng()));
        std::string dir = target + suffix;
        std::error_code ec;
        if (fs::create_directory(dir, ec)) return dir;
        if (ec && ec != std::errc::file_exists) return std::nullopt;
    }
    return std::nullopt;
}

// Runs the definitions compiler in `dir`. Its messages are collected; a source it reports as
// missing is an error.
bool RunInddefc(const std::string& inddefc, const std::string& dir, std::string& why) {
#ifdef ZOR_HAVE_POSIX_SPAWN
    int pipefd[2];
    if (pipe(pipefd) != 0) {
        why = "cannot create a pipe";
        return false;
    }
    pid_t pid = fork();
    if (pid < 0) {
        why = "cannot start a process";
        close(pipefd[0]);
        close(pipefd[1]);
        return false;
    }
    if (pid == 0) {
        dup2(pipefd[1], 1);
        dup2(pipefd[1], 2);
        close(pipefd[0]);
        close(pipefd[1]);
        if (chdir(dir.c_str()) != 0) _exit(126);
        execl(inddefc.c_str(), inddefc.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipefd[1]);
    std::string out;
    char buf[4096];
    for (;;) {
        ssize_t n = read(pipefd[0], buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        if (out.size() < (1u << 20)) out.append(buf, size_t(n));
    }
    close(pipefd[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        why = WIFEXITED(status) && WEXITSTATUS(status) == 127 ? "cannot run " + inddefc
                                                              : inddefc + " failed: " + out;
        return false;
    }
    if (out.find("is not found!") != std::string::npos) {
        why = inddefc + " reported: " + out;
        return false;
    }
    return true;
#else
    (void)inddefc;
    (void)dir;
    why = "running the definitions compiler is not supported on this platform";
    return false;
#endif
}

// Puts the finished directory in the target's place; an existing target is swapped out and
// removed.
bool ReplaceTarget(const std::string& temp, const std::string& target, std::string& why) {
    std::error_code ec;
    if (!fs::exists(target, ec)) {
        fs::rename(temp, target, ec);
        if (ec) why = "cannot rename " + temp + " to " + target + ": " + ec.message();
        return !ec;
    }
    auto old = MakeSiblingDir(target, "old");
    if (!old) {
        why = "cannot create a directory next to " + target;
        return false;
    }
    fs::remove(*old, ec);
    fs::rename(target, *old, ec);
    if (ec) {
        why = "cannot move the old " + target + " aside: " + ec.message();
        return false;
    }
    fs::rename(temp, target, ec);
    if (ec) {
        why = "cannot rename " + temp + " to " + target + ": " + ec.message();
        std::error_code back;
        fs::rename(*old, target, back);
        return false;
    }
    fs::remove_all(*old, ec);
    return true;
}

// The target may be replaced when it is absent, an empty directory or a data source.
bool TargetReplaceable(const std::string& target, std::string& why) {
    std::error_code ec;
    if (!fs::exists(target, ec)) return true;
    if (!fs::is_directory(target, ec)) {
        why = target + " exists and is not a directory";
        return false;
    }
    if (fs::is_empty(target, ec) || fs::exists(fs::path(target) / "zorgui.cfg", ec) ||
        fs::exists(fs::path(target) / "clist.bin", ec))
        return true;
    why = target + " exists and is not a data source; choose another directory or remove it";
    return false;
}

// Everything a map is read with: sets that agree on it share the features read.
std::string Key(const SourceMap& m) {
    return m.file + '\n' + m.layer + '\n' + std::to_string(int(m.coordinates)) + '\n' + m.crs +
           '\n' + std::to_string(int(m.projection)) + '\n' + m.projectionCrs + '\n' +
           std::to_string(m.centralMeridian) + '\n' + m.featureKey;
}

std::vector<Definition> ReadDefinitions(const ImportOptions& opt, const Manifest& m,
                                        Diagnostics& diag) {
    std::vector<Definition> definitions;
    for (const auto& g : m.groups)
        for (const auto& ind : g.indicators) {
            std::vector<const SourceIndicator*> all{&ind};
            for (const auto& v : ind.variants) all.push_back(&v);
            for (const SourceIndicator* x : all) {
                if (x->definition.empty()) continue;
                if (auto d =
                        ReadDefinition(opt.sourceDir, x->definition, x->code, m.charset, diag)) {
                    d->group = g.id;
                    definitions.push_back(std::move(*d));
                }
            }
        }
    return definitions;
}

std::string ReadPicture(const ImportOptions& opt, const Manifest& m, Diagnostics& diag) {
    if (m.picture.empty()) return {};
    auto bytes = ReadWholeFile(JoinPath(opt.sourceDir, m.picture), size_t(64) << 20);
    if (!bytes) {
        diag.Error(m.picture, 0, "cannot be read");
        return {};
    }
    if (!ParseBitmapFile(*bytes)) {
        diag.Error(m.picture, 0,
                   "is not a bitmap file the program can show (uncompressed, 1, 4, 8, 16 or 24 "
                   "bits per pixel)");
        return {};
    }
    return std::move(*bytes);
}

// The map of every set that has one; a file shared by several sets is read once.
std::vector<std::optional<MapFile>> BuildMaps(const ImportOptions& opt, const Manifest& m,
                                              const ValueStore& values, Diagnostics& diag,
                                              MapStats& stats) {
    std::map<std::string, std::optional<std::vector<Feature>>> features;
    std::vector<std::optional<MapFile>> maps(m.sets.size());
    for (size_t i = 0; i < m.sets.size(); ++i) {
        const SourceSet& s = m.sets[i];
        if (!s.map) {
            diag.Warning(ManifestFileName, s.line,
                         "set " + std::to_string(s.id) + " has no map; its map view stays empty");
            continue;
        }
        std::string key = Key(*s.map);
        auto it = features.find(key);
        if (it == features.end())
            it = features.emplace(key, ReadFeatures(opt.sourceDir, *s.map, diag)).first;
        if (!it->second) continue;
        MapBuildOptions build;
        build.simplify = s.map->simplify;
        build.simplifier = &TopologyPreservingSimplifier();
        maps[i] = BuildMap(s, *it->second, s.map->file, diag, build, &stats);
        if (!maps[i]) continue;
        // A region on the map without any value is drawn in the no-data colour only.
        for (size_t r = 0; r + 1 < s.regions.size(); ++r)
            if (!values.RegionHasValue(int(i), int(r)))
                diag.Warning(s.map->file, 0,
                             "region " + std::to_string(s.regions[r].id) + " \"" +
                                 s.regions[r].name.utf8 + "\" of set " + std::to_string(s.id) +
                                 " has a polygon but no values");
    }
    return maps;
}

// The region sets of the catalogue, each listing the codes with at least one value, ascending.
std::vector<RegionSet> CatalogueSets(const Manifest& m, const ValueStore& values,
                                     Diagnostics& diag) {
    std::vector<RegionSet> sets;
    for (size_t i = 0; i < m.sets.size(); ++i) {
        const SourceSet& s = m.sets[i];
        RegionSet rs;
        rs.id = int16_t(s.id);
        rs.name = s.name.bytes;
        rs.code = s.code;
        rs.topCount = int16_t(s.regions.size());
        rs.smallCount = int16_t(s.small.size());
        for (const auto& r : s.regions) rs.regions.push_back({int16_t(r.id), r.name.bytes});
        for (const auto& r : s.small) rs.regions.push_back({int16_t(r.id), r.name.bytes});
        for (size_t c = 0; c < values.codes().size(); ++c)
            if (values.HasCode(int(i), int(c))) rs.indicators.push_back(int16_t(values.codes()[c]));
        if (rs.indicators.empty())
            diag.Warning(ManifestFileName, s.line,
                         "set " + std::to_string(s.id) + " has no values");
        sets.push_back(std::move(rs));
    }
    for (size_t c = 0; c < values.codes().size(); ++c) {
        bool any = false;
        for (size_t i = 0; i < m.sets.size() && !any; ++i) any = values.HasCode(int(i), int(c));
        if (!any)
            diag.Warning(ManifestFileName, 0,
                         "indicator " + std::to_string(values.codes()[c]) + " has no values");
    }
    return sets;
}

std::vector<IndicatorGroup> CatalogueGroups(const Manifest& m) {
    std::vector<IndicatorGroup> groups;
    for (const auto& g : m.groups) {
        IndicatorGroup ig;
        ig.id = int16_t(g.id);
        ig.name = g.name.bytes;
        for (const auto& ind : g.indicators) {
            Indicator x;
            x.code = int16_t(ind.code);
            x.name = ind.name.bytes;
            for (const auto& v : ind.variants)
                x.variants.push_back({int16_t(v.code), v.name.bytes});
            ig.indicators.push_back(std::move(x));
        }
        ig.announced = int(ig.indicators.size());
        groups.push_back(std::move(ig));
    }
    return groups;
}

// The whole source, read and checked.
struct Source {
    const Manifest& m;
    const ValueStore& values;
    std::vector<Definition> definitions;
    std::string picture;
    std::vector<std::optional<MapFile>> maps;
    std::vector<RegionSet> sets;
    std::vector<IndicatorGroup> groups;
    std::vector<TimePeriod> periods;
};

// The catalogue, each set's files and the values, the maps and the picture.
bool WriteCatalogueAndValues(const Source& src, Output& out, Diagnostics& diag, bool& mapFailed) {
    const Manifest& m = src.m;
    std::string cfg = "PROVIDER=ZOR-2\nCHARSET=" + std::to_string(m.charset) + "\n";
    if (!m.decimalSymbol.empty()) cfg += "DECIMAL SYMBOL=" + m.decimalSymbol + "\n";
    bool ok = out.Write("zorgui.cfg", cfg) &&
              out.Write("clist.bin", WriteSetList(src.sets, m.lengths.regionSet)) &&
              out.Write("cid.bin", WriteSetCodes(src.sets)) &&
              out.Write("tmscl.bin", WriteTimePeriods(src.periods)) &&
              out.Write("mainlist.grp", WriteGroupNames(src.groups, m.lengths.group)) &&
              out.Write("mainlist.ind", WriteMainlist(src.groups, m.lengths.indicator)) &&
              out.Write("tmplist.ind", WriteTempList({}));
    for (size_t i = 0; ok && i < src.sets.size(); ++i) {
        const RegionSet& rs = src.sets[i];
        const std::string id = std::to_string(rs.id);
        ok = out.Write(id + ".par", WriteParFile(rs, m.lengths.region)) &&
             out.Write(id + ".ind", WriteIndFile(rs));
        const size_t stride = size_t(rs.Stride());
        for (size_t p = 0; ok && p < src.periods.size(); ++p) {
            if (!src.values.HasPeriod(int(i), int(p))) continue; // no file reads as all missing
            std::vector<std::vector<float>> records;
            for (int16_t code : rs.indicators) {
                std::vector<float> rec(stride);
                int ci = src.values.CodeIndex(code);
                for (size_t r = 0; r < stride; ++r)
                    rec[r] = src.values.Get(int(i), ci, int(p), int(r));
                records.push_back(std::move(rec));
            }
            ok = out.Write(id + "." + std::to_string(src.periods[p].code), WriteValueFile(records));
        }
        if (ok && src.maps[i]) {
            std::string mapWhy;
            auto bytes = WriteMapFile(*src.maps[i], &mapWhy);
            if (!bytes) {
                diag.Error(m.sets[i].map->file, 0, "cannot be written as a map: " + mapWhy);
                mapFailed = true;
                return false;
            }
            ok = out.Write(id + ".map", *bytes);
        }
    }
    if (ok && !src.picture.empty()) ok = out.Write("front.bmp", src.picture);
    // The credit line under every chart: string 7000 of the titles file.
    if (ok && !m.source.bytes.empty())
        ok = out.Write(
            "wtitles.bin",
            WriteTitlesFile({{TextSourceLine, BuiltinString(TextSourceLine), m.source.bytes}}));
    return ok;
}

// Definition sources, one per group, and the project naming them.
bool WriteDefinitionSources(const Source& src, Output& out) {
    std::string project;
    std::map<int, std::string> sources;
    for (const auto& d : src.definitions)
        sources[d.group] += "." + std::to_string(d.code) + "\n" + d.text;
    for (const auto& [g, text] : sources) {
        std::string name = "inddef" + std::to_string(g) + ".txt";
        project += name + "\n";
        if (!out.Write(name, text)) return false;
    }
    return out.Write("inddef.prj", project);
}

// Writes everything into a fresh directory next to the target, compiles the definitions there
// and puts the directory in the target's place.
int WriteDataSource(const ImportOptions& opt, const Source& src, Diagnostics& diag,
                    ImportSummary& summary) {
    auto temp = MakeSiblingDir(opt.targetDir, "import");
    if (!temp) {
        diag.Error("", 0, "cannot create a directory next to " + opt.targetDir);
        return ExitOutputFailed;
    }
    struct Cleanup {
        std::string dir;
        ~Cleanup() {
            std::error_code ec;
            if (!dir.empty()) fs::remove_all(dir, ec);
        }
    } cleanup{*temp};
    const std::string dir = *temp + "/";
    Output out(dir);
    bool mapFailed = false;
    const bool ok =
        WriteCatalogueAndValues(src, out, diag, mapFailed) && WriteDefinitionSources(src, out);
    if (mapFailed) return ExitInputErrors;
    if (!ok) {
        diag.Error("", 0, "cannot write " + out.failed() + " in " + dir);
        return ExitOutputFailed;
    }
    std::string why;
    if (!RunInddefc(opt.inddefc, dir, why)) {
        diag.Error("", 0, why);
        return ExitOutputFailed;
    }
    auto bin = ReadWholeFile(dir + "inddef.bin");
    if (!bin || bin->size() < 2 || ByteReader(*bin).i16() != int16_t(src.definitions.size())) {
        diag.Error("", 0,
                   opt.inddefc + " did not write the " + std::to_string(src.definitions.size()) +
                       " definitions into inddef.bin");
        return ExitOutputFailed;
    }
    if (!ReplaceTarget(*temp, opt.targetDir, why)) {
        diag.Error("", 0, why);
        return ExitOutputFailed;
    }
    cleanup.dir.clear();
    summary.files = out.files() + 1;
    summary.bytes = out.bytes() + bin->size();
    return ExitImported;
}

} // namespace

int RunImport(const ImportOptions& opt, Diagnostics& diag, ImportSummary& summary) {
    auto manifest = ReadManifest(opt.sourceDir, diag);
    if (!manifest) return ExitInputErrors;
    const Manifest& m = *manifest;
    ValueStore values(m);
    values.ReadFiles(opt.sourceDir, diag);

    MapStats stats;
    Source src{m,
               values,
               ReadDefinitions(opt, m, diag),
               ReadPicture(opt, m, diag),
               BuildMaps(opt, m, values, diag, stats),
               {},
               CatalogueGroups(m),
               {}};
    src.sets = CatalogueSets(m, values, diag);
    for (const auto& p : m.periods) src.periods.push_back({int16_t(p.code), p.name.bytes});

    std::string why;
    if (!TargetReplaceable(opt.targetDir, why)) diag.Error("", 0, why);
    if (diag.failed()) return ExitInputErrors;

    const int status = WriteDataSource(opt, src, diag, summary);
    if (status != ExitImported) return status;
    summary.sets = int(src.sets.size());
    for (const auto& s : src.sets) summary.regions += s.Stride();
    summary.indicators = int(values.codes().size());
    summary.periods = int(src.periods.size());
    summary.values = values.valueCount();
    summary.definitions = int(src.definitions.size());
    summary.verticesRead = stats.read;
    summary.verticesWritten = stats.written;
    return ExitImported;
}

} // namespace zor::import
