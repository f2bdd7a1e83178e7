// inddefc: compiles the indicator definitions of inddef.prj in the current directory into
// inddef.bin. Takes no arguments.
//
// The blanks that justification cannot share out evenly are placed at random. The generator is
// seeded with the current time, or with INDDEFC_SEED (a decimal number) to make runs repeatable.
#include "tools/inddefc/Compiler.h"

#include <cerrno>
#include <cstdlib>
#include <ctime>

namespace {

uint32_t Seed() {
    if (const char* s = std::getenv("INDDEFC_SEED"); s && *s) {
        char* end = nullptr;
        errno = 0;
        unsigned long long v = std::strtoull(s, &end, 10);
        if (errno == 0 && *end == '\0') return uint32_t(v);
    }
    return uint32_t(std::time(nullptr));
}

} // namespace

int main() {
    return zor::inddefc::Compile(Seed());
}
