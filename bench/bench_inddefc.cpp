// inddefc on a large project: 10,000 definitions (about 5 MB of text) in 20 sources, most of
// it paragraph lines of several hundred characters that are re-flowed and justified. Reports
// the median wall time of 3 runs and the peak memory of the compiler process.
// Usage: bench_inddefc [path of inddefc]   (default: inddefc beside this program)
#include "core/Bytes.h"
#include "tests/support/Fixture.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kDefinitions = 10000;
constexpr int kSources = 20;

std::string DefaultCompiler(const char* argv0) {
    std::error_code ec;
    fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (ec) self = fs::absolute(argv0, ec);
    return (self.parent_path() / "inddefc").string();
}

// Writes the project and returns the number of text bytes in its sources.
size_t WriteProject(const std::string& dir) {
    static const char* const kWords[] = {
        "the",        "share",    "of",      "population", "aged",        "between",
        "years",      "living",   "in",      "households", "with",        "income",
        "below",      "sixty",    "percent", "median",     "equivalised", "disposable",
        "indicator",  "measured", "per",     "thousand",   "inhabitants", "region",
        "calculated", "from",     "annual",  "survey",     "data",        "weighted",
        "by",         "district", "a",       "municipal",  "statistics",  "and"};
    uint32_t rng = 12345;
    auto next = [&] {
        rng = rng * 1664525u + 1013904223u;
        return rng >> 8;
    };
    auto paragraph = [&](size_t chars) {
        std::string s;
        while (s.size() < chars) {
            if (!s.empty()) s += ' ';
            s += kWords[next() % std::size(kWords)];
        }
        return s;
    };

    std::string project;
    size_t total = 0;
    int code = 0;
    for (int f = 0; f < kSources; ++f) {
        std::string name = std::string("src").append(std::to_string(f)).append(".txt");
        project.append(name).append("\n");
        std::string text;
        for (int d = 0; d < kDefinitions / kSources; ++d, ++code) {
            int16_t c = int16_t((code / 100) * 1000 % 10000 + (code % 100) * 10 + code % 3);
            std::string number = std::to_string(code);
            text.append(".").append(std::to_string(c)).append(" Indicator ").append(number);
            text.append("\nDefinition of indicator ").append(number).append(".\n");
            text.append(paragraph(300 + next() % 300)).append("\nSource: ");
            text.append(paragraph(40)).append("\n");
        }
        total += text.size();
        zor::test::WriteFile(dir + name, text);
    }
    zor::test::WriteFile(dir + "inddef.prj", project);
    return total;
}

// Runs the compiler in `dir`; returns the wall time in milliseconds, or a negative value on
// failure.
double RunOnce(const std::string& compiler, const std::string& dir) {
    auto t0 = std::chrono::steady_clock::now();
    pid_t pid = fork();
    if (pid == 0) {
        if (chdir(dir.c_str()) != 0) _exit(127);
        if (!freopen("/dev/null", "w", stdout)) _exit(127);
        execl(compiler.c_str(), compiler.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid) return -1;
    auto t1 = std::chrono::steady_clock::now();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
    return std::chrono::duration<double, std::milli>(t1 - t0).count();
}

} // namespace

int main(int argc, char** argv) {
    std::string compiler = argc > 1 ? argv[1] : DefaultCompiler(argv[0]);
    if (!fs::exists(compiler)) {
        std::fprintf(stderr, "bench_inddefc: %s not found\n", compiler.c_str());
        return 1;
    }
    zor::test::TempDir dir;
    size_t bytes = WriteProject(dir.path());

    std::vector<double> times;
    for (int i = 0; i < 3; ++i) {
        double ms = RunOnce(compiler, dir.path());
        if (ms < 0) {
            std::fprintf(stderr, "bench_inddefc: %s failed\n", compiler.c_str());
            return 1;
        }
        times.push_back(ms);
    }
    std::sort(times.begin(), times.end());
    struct rusage ru {};
    getrusage(RUSAGE_CHILDREN, &ru);

    std::string out = zor::test::ReadFile(dir.file("inddef.bin"));
    zor::ByteReader r(out);
    int n = r.i16();
    std::printf("inddefc: %d definitions, %.2f MB of sources -> %.2f MB inddef.bin\n", n,
                double(bytes) / 1e6, double(out.size()) / 1e6);
    std::printf("wall time median of 3: %.1f ms (min %.1f, max %.1f)\n", times[1], times[0],
                times[2]);
    std::printf("peak memory (max RSS of the compiler): %.1f MB\n", double(ru.ru_maxrss) / 1024);
    return n == kDefinitions ? 0 : 1;
}
