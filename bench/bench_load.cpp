// DataTable::Load on a large generated database: 51 sets (the top level and 50 sets of 60
// regions, 3,051 regions), 100 indicators, 40 periods. Loads 30 indicators x 30 periods for
// all sets together (row mode 0) and for one set, and compares each with reading the same
// records by plain open/pread/close calls. Reports medians, bytes read and peak memory of a
// process that only starts up and loads.
// Usage: bench_load [runs]
#include "core/DataStore.h"
#include "core/DataTable.h"
#include "tests/support/Generate.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double, std::milli>(b - a).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// The reads a Load makes, done with plain system calls: per set, per period one open, per
// indicator one pread of the rows read, the files closed after the set.
struct Baseline {
    struct Read {
        int file; // index into paths
        off_t offset;
        size_t bytes;
    };
    std::vector<std::string> paths;
    std::vector<std::vector<Read>> perSet; // reads grouped by set, in Load order

    uint64_t Bytes() const {
        uint64_t n = 0;
        for (const auto& s : perSet)
            for (const auto& r : s) n += r.bytes;
        return n;
    }

    // Returns -1 on any failure.
    double Run() const {
        std::vector<char> buf(1 << 20);
        std::vector<int> fds(paths.size(), -1);
        auto t0 = Clock::now();
        for (const auto& reads : perSet) {
            std::vector<int> opened;
            for (const auto& r : reads) {
                int& fd = fds[size_t(r.file)];
                if (fd < 0) {
                    fd = ::open(paths[size_t(r.file)].c_str(), O_RDONLY | O_CLOEXEC);
                    if (fd < 0) return -1;
                    opened.push_back(r.file);
                }
                if (::pread(fd, buf.data(), r.bytes, r.offset) != ssize_t(r.bytes)) return -1;
            }
            for (int f : opened) {
                ::close(fds[size_t(f)]);
                fds[size_t(f)] = -1;
            }
        }
        return Ms(t0, Clock::now());
    }
};

// The records Load reads for this table: sets in Load order, rows as Load reads them.
Baseline PlanBaseline(const zor::DataStore& store, bool allSets, int setId,
                      const std::vector<zor::ListItem>& inds,
                      const std::vector<zor::ListItem>& periods) {
    Baseline b;
    const auto& sets = store.RegionSets();
    std::vector<size_t> order;
    if (allSets) {
        for (size_t s = 1; s < sets.size(); ++s) order.push_back(s);
        order.push_back(0);
    } else {
        order.push_back(size_t(store.FindRegionSet(setId)));
    }
    for (size_t s : order) {
        const zor::RegionSet& set = sets[s];
        std::vector<Baseline::Read> reads;
        for (const auto& p : periods) {
            b.paths.push_back(store.DataSource() + std::to_string(set.id) + "." +
                              std::to_string(p.code));
            const int file = int(b.paths.size()) - 1;
            for (const auto& ind : inds) {
                auto it = std::find(set.indicators.begin(), set.indicators.end(), ind.code);
                if (it == set.indicators.end()) continue;
                const off_t pos = off_t(it - set.indicators.begin());
                reads.push_back({file, pos * set.Stride() * 4, size_t(set.Stride()) * 4});
            }
        }
        b.perSet.push_back(std::move(reads));
    }
    return b;
}

struct Figures {
    int rows = 0;
    double load = 0, baseline = 0;
    uint64_t loadBytes = 0, baselineBytes = 0;
};

bool Measure(zor::DataStore& store, bool allSets, int setId, const std::vector<zor::ListItem>& inds,
             const std::vector<zor::ListItem>& periods, int runs, Figures& out) {
    const int code = allSets ? zor::AllRegionSets : setId;
    Baseline base = PlanBaseline(store, allSets, setId, inds, periods);
    std::vector<double> loads, bases;
    for (int i = 0; i < runs + 1; ++i) { // the first round warms the page cache
        zor::DataTable table(store, code, inds, {}, periods, zor::RowsAll, false);
        const uint64_t before = store.Files()->BytesRead();
        auto t0 = Clock::now();
        if (table.Load() != 0) return false;
        auto t1 = Clock::now();
        out.rows = table.RowCount();
        out.loadBytes = store.Files()->BytesRead() - before;
        const double b = base.Run();
        if (b < 0) return false;
        if (i == 0) continue;
        loads.push_back(Ms(t0, t1));
        bases.push_back(b);
    }
    out.load = Median(loads);
    out.baseline = Median(bases);
    out.baselineBytes = base.Bytes();
    return true;
}

void Print(const char* what, const Figures& f) {
    std::printf("%s: %d rows\n", what, f.rows);
    std::printf("  Load            median %8.2f ms, %9.3f MB read\n", f.load,
                double(f.loadBytes) / 1e6);
    std::printf("  pread baseline  median %8.2f ms, %9.3f MB read\n", f.baseline,
                double(f.baselineBytes) / 1e6);
    std::printf("  ratio Load / baseline  %8.2f (target <= 1.5)\n",
                f.baseline > 0 ? f.load / f.baseline : 0.0);
}

int LoadOnce(const char* dir, int runs) {
    zor::PlatformInfo platform = zor::DefaultPlatform(0, nullptr);
    platform.commandLine = std::string("DIR=") + dir;
    zor::DataStore store;
    if (!store.StartUp(platform) || !store.Files()) {
        std::fprintf(stderr, "start-up failed: %s\n", store.StartupError().c_str());
        return 1;
    }
    // 30 of the 100 indicators spread over the groups, the last 30 of the 40 periods.
    std::vector<zor::ListItem> inds, periods;
    for (int g = 0; g < 10; ++g)
        for (int s : {1, 4, 8}) inds.push_back({g * 1000 + s * 10, ""});
    for (size_t p = store.Periods().size() - 30; p < store.Periods().size(); ++p)
        periods.push_back({store.Periods()[p].code, store.Periods()[p].name});

    size_t regions = 0;
    for (const auto& s : store.RegionSets()) regions += s.regions.size();
    std::printf("database: %zu sets, %zu regions, 100 indicators, %zu periods; %zu indicators x "
                "%zu periods loaded, %d runs\n",
                store.RegionSets().size(), regions, store.Periods().size(), inds.size(),
                periods.size(), runs);

    Figures all, one;
    if (!Measure(store, true, 0, inds, periods, runs, all) ||
        !Measure(store, false, 10100, inds, periods, runs, one)) {
        std::fprintf(stderr, "load failed\n");
        return 1;
    }
    Print("AllRegionSets, row mode 0", all);
    Print("one set (10100), row mode 0", one);
    struct rusage ru {};
    getrusage(RUSAGE_SELF, &ru);
    std::printf("peak memory of the loading process: %.1f MB\n", double(ru.ru_maxrss) / 1024);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--once") return LoadOnce(argv[2], std::atoi(argv[3]));
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;

    zor::test::TempDir dir;
    zor::test::GenerateParams p;
    p.subSets = 50;
    p.regionsPerSet = 50;
    p.smallPerSet = 10;
    p.groups = 10;
    p.indicatorsPerGroup = 10;
    p.variantsPerIndicator = 0;
    p.periods = 40;
    p.firstYear = 1980;
    // Generate in a child: Linux carries the peak memory of a process across exec, so this
    // process stays small and the loading process reports its own peak.
    std::fflush(stdout);
    pid_t gen = fork();
    if (gen == 0) {
        auto g0 = Clock::now();
        zor::test::Generate(dir.path(), p).Write();
        std::printf("generated in %.0f ms\n", Ms(g0, Clock::now()));
        std::fflush(stdout);
        _exit(0); // the directory belongs to the parent
    }
    int genStatus = 0;
    waitpid(gen, &genStatus, 0);
    if (!WIFEXITED(genStatus) || WEXITSTATUS(genStatus) != 0) return 1;

    // Load in a fresh process so that its peak memory is that of start-up and loading only.
    pid_t pid = fork();
    if (pid == 0) {
        const std::string r = std::to_string(runs);
        execl("/proc/self/exe", argv[0], "--once", dir.path().c_str(), r.c_str(), (char*)nullptr);
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}
