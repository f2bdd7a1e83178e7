// Start-up over a whole small database made from the input: the parts become the catalogue,
// titles, temporary-indicator and value files; then every group is loaded and every value read.
#include "core/DataStore.h"
#include "fuzz/FuzzInput.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

// File names in the order of the input's parts (seeds are written the same way).
const char* const kFiles[] = {"clist.bin",   "10000.par", "10000.ind",    "10100.par",
                              "10100.ind",   "cid.bin",   "mainlist.grp", "mainlist.ind",
                              "tmplist.ind", "tmscl.bin", "wtitles.bin",  "10000.2000",
                              "10100.2000",  "10000.2001"};
constexpr size_t kFileCount = sizeof kFiles / sizeof kFiles[0];

const std::string& Dir() {
    static const std::string dir = [] {
        std::string t = zor::fuzz::ScratchBase() + "/zorfuzz-XXXXXX";
        if (!mkdtemp(t.data())) std::abort();
        return t + "/";
    }();
    return dir;
}

void Put(const std::string& path, std::string_view bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) std::abort();
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& dir = Dir();
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(dir, ec))
        std::filesystem::remove(e.path(), ec);
    auto parts = zor::fuzz::SplitParts(zor::fuzz::AsView(data, size), kFileCount);
    Put(dir + "zorgui.cfg", "PROVIDER=ZOR-2\n");
    for (size_t i = 0; i < parts.size(); ++i) Put(dir + kFiles[i], parts[i]);

    zor::PlatformInfo platform;
    platform.commandLine = "DIR=" + dir;
    platform.arialWithCharset = [](int) { return true; };
    zor::DataStore store;
    if (!store.StartUp(platform)) return 0;
    for (size_t g = 0; g < store.Groups().size(); ++g) store.LoadGroupIndicators(int(g));
    store.PeriodList();
    int sizes[10];
    store.GroupSizes(sizes);

    zor::DataProvider& p = store.Provider();
    p.beginValueReading();
    for (const auto& set : store.RegionSets()) {
        zor::ValueRequest r;
        r.dataSource = store.DataSource();
        r.setIndicators = &set.indicators;
        r.recordLength = set.Stride();
        r.rows = set.Stride();
        std::vector<float> dest(size_t(set.Stride()));
        for (const auto& period : store.Periods())
            for (auto code : set.indicators)
                p.readValues(dest.data(), set.id, period.code, code, r);
    }
    p.endValueReading();
    return 0;
}
