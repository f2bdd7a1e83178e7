// Map geometry files: parse, match polygons to regions, and write back what was read.
#include "core/MapFormat.h"
#include "fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto map = zor::ParseMapFile(zor::fuzz::AsView(data, size));
    if (!map) return 0;
    zor::MatchPolygonRows(map->polygons);
    if (auto bytes = zor::WriteMapFile(*map)) {
        // A file we wrote reads back to the same polygons.
        auto again = zor::ParseMapFile(*bytes);
        if (!again || again->polygons.size() != map->polygons.size()) __builtin_trap();
    }
    return 0;
}
