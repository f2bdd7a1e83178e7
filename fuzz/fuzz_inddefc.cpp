// The definitions compiler's project and source reading and its re-flow: the input is split into
// inddef.prj and two sources, compiled in a scratch directory.
#include "fuzz/FuzzInput.h"
#include "tools/inddefc/Compiler.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {
void Put(const std::string& path, std::string_view bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) std::abort();
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string dir = [] {
        std::string t = zor::fuzz::ScratchBase() + "/zorfuzz-inddefc-XXXXXX";
        if (!mkdtemp(t.data())) std::abort();
        if (chdir(t.c_str()) != 0) std::abort();
        // The compiler reports each source on standard output; keep the fuzzer's output readable.
        if (!std::freopen("/dev/null", "w", stdout)) std::abort();
        return t;
    }();
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(dir, ec))
        std::filesystem::remove(e.path(), ec);
    auto parts = zor::fuzz::SplitParts(zor::fuzz::AsView(data, size), 3);
    Put(dir + "/inddef.prj", parts[0]);
    if (parts.size() > 1) Put(dir + "/a.txt", parts[1]);
    if (parts.size() > 2) Put(dir + "/b.txt", parts[2]);
    zor::inddefc::Compile(12345);
    return 0;
}
