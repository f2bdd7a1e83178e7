// Start-up on a large generated catalogue: 60 sets x 60 regions, 10 groups x 100 indicators
// with variants, 60 periods. Reports the median start-up time and the peak memory of a process
// that only starts up. Usage: bench_startup [runs]
#include "core/DataStore.h"
#include "tests/support/Generate.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

int StartOnce(const char* dir) {
    zor::PlatformInfo platform = zor::DefaultPlatform(0, nullptr);
    platform.commandLine = std::string("DIR=") + dir;
    zor::DataStore store;
    auto t0 = std::chrono::steady_clock::now();
    bool ok = store.StartUp(platform);
    auto t1 = std::chrono::steady_clock::now();
    if (!ok) {
        std::fprintf(stderr, "start-up failed: %s\n", store.StartupError().c_str());
        return 1;
    }
    std::printf("%.3f %zu\n", std::chrono::duration<double, std::milli>(t1 - t0).count(),
                store.RegionSets().size());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--once") return StartOnce(argv[2]);
    int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;

    zor::test::TempDir dir;
    zor::test::GenerateParams p;
    p.subSets = 59;
    p.regionsPerSet = 55;
    p.smallPerSet = 5;
    p.groups = 10;
    p.indicatorsPerGroup = 100;
    p.variantsPerIndicator = 2;
    p.periods = 60;
    p.firstYear = 1960;
    p.values = false;
    zor::test::Generate(dir.path(), p).Write();

    std::vector<double> times;
    long peakKb = 0;
    for (int i = 0; i < runs; ++i) {
        int fds[2];
        if (pipe(fds) != 0) return 1;
        pid_t pid = fork();
        if (pid == 0) {
            dup2(fds[1], 1);
            close(fds[0]);
            execl("/proc/self/exe", argv[0], "--once", dir.path().c_str(), (char*)nullptr);
            _exit(127);
        }
        close(fds[1]);
        char buf[128] = {};
        ssize_t n = read(fds[0], buf, sizeof buf - 1);
        close(fds[0]);
        int status = 0;
        struct rusage ru {};
        wait4(pid, &status, 0, &ru);
        if (n <= 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            std::fprintf(stderr, "run %d failed\n", i);
            return 1;
        }
        times.push_back(std::atof(buf));
        peakKb = std::max(peakKb, ru.ru_maxrss);
    }
    std::sort(times.begin(), times.end());
    std::printf("start-up: 60 sets x 60 regions, 10 groups x 100 indicators (2 variants each), "
                "60 periods\n");
    std::printf("  median %.2f ms over %d runs (min %.2f, max %.2f); target < 20 ms\n",
                times[times.size() / 2], runs, times.front(), times.back());
    std::printf("  peak memory of a start-up process: %.1f MB; target < 20 MB\n", peakKb / 1024.0);
    return 0;
}
