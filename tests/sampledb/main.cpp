// zor_sampledb: writes a small generated data source into a directory, for trying the tools.
#include "tests/support/Generate.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: zor_sampledb <directory>\n");
        return 64;
    }
    try {
        std::string dir = argv[1];
        if (dir.back() != '/') dir += '/';
        zor::test::Generate(dir, {}).Write();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zor_sampledb: %s\n", e.what());
        return 1;
    }
    return 0;
}
