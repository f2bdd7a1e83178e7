// zorimport: builds a data source directory from a source folder of a manifest, CSV values,
// boundaries (any vector format GDAL reads) and definition texts (docs/zorimport.md).
//
//   zorimport <source folder> <target directory> [--inddefc=<path>] [--quiet]
//
// Exit status: 0 imported, 1 errors in the source (nothing written), 2 the output could not be
// written, 64 bad arguments. Errors and warnings go to standard error as "file:line: ...".
#include "tools/zorimport/Importer.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

int Usage(const char* why) {
    if (why) std::fprintf(stderr, "zorimport: %s\n", why);
    std::fprintf(stderr, "usage: zorimport <source folder> <target directory> [--inddefc=<path>] "
                         "[--quiet]\n");
    return 64;
}

// The definitions compiler next to this program.
std::string DefaultInddefc(const char* argv0) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (ec || self.empty()) self = fs::absolute(argv0, ec);
    return (self.parent_path() / "inddefc").string();
}

} // namespace

int main(int argc, char** argv) {
    using namespace zor::import;
    ImportOptions opt;
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a.rfind("--inddefc=", 0) == 0)
            opt.inddefc = a.substr(10);
        else if (a == "--quiet")
            opt.quiet = true;
        else if (a.rfind("--", 0) == 0)
            return Usage(("unknown option " + a).c_str());
        else
            positional.push_back(a);
    }
    if (positional.size() != 2) return Usage(nullptr);
    opt.sourceDir = positional[0];
    if (opt.sourceDir.back() != '/') opt.sourceDir += '/';
    opt.targetDir = positional[1];
    while (opt.targetDir.size() > 1 && opt.targetDir.back() == '/') opt.targetDir.pop_back();
    if (opt.inddefc.empty()) opt.inddefc = DefaultInddefc(argv[0]);

    auto start = std::chrono::steady_clock::now();
    Diagnostics diag;
    ImportSummary sum;
    int rc = RunImport(opt, diag, sum);
    diag.Print(stderr);
    if (rc != ExitImported) {
        std::fprintf(stderr, "zorimport: %d errors; nothing was written\n", diag.errorCount());
        return rc;
    }
    double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!opt.quiet)
        std::printf("zorimport: %s: %d sets, %d regions, %d indicators, %d periods, %zu values, "
                    "%d definitions; map vertices %zu read, %zu written; %d files, %llu bytes; "
                    "%d warnings; %.2f s\n",
                    opt.targetDir.c_str(), sum.sets, sum.regions, sum.indicators, sum.periods,
                    sum.values, sum.definitions, sum.verticesRead, sum.verticesWritten, sum.files,
                    (unsigned long long)sum.bytes, diag.warningCount(), secs);
    return 0;
}
