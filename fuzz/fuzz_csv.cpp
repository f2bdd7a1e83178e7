// The importer's value files: the input is split into two CSV files, one with a set column and
// one given set 10100 by the manifest, read into the value store of a fixed small manifest.
#include "core/Catalogue.h"
#include "fuzz/FuzzInput.h"
#include "tools/zorimport/Manifest.h"
#include "tools/zorimport/Values.h"

#include <cmath>

namespace {

const char* const ManifestText = R"({
  "regionSets": [
    {"id": 10000, "name": "Top", "regions": [{"id": 1, "name": "North"}, {"id": 2, "name": "Total"}]},
    {"id": 10100, "name": "North", "regions": [{"id": 1, "name": "A"}, {"id": 2, "name": "North"}],
     "smallRegions": [{"id": 3, "name": "Town"}]}],
  "groups": [{"id": 0, "name": "People", "indicators": [
    {"code": 0, "name": "Population", "variants": [{"code": 1, "name": "Growth"}]},
    {"code": 10, "name": "Births"}]}],
  "periods": [2000, 2001, 2002],
  "values": ["all.csv", {"file": "north.csv", "set": 10100}]
})";

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zor::import;
    static const zor::import::Manifest manifest = [] {
        Diagnostics d;
        auto m = ParseManifest(ManifestText, d);
        if (!m) __builtin_trap();
        return *m;
    }();
    auto parts = zor::fuzz::SplitParts(zor::fuzz::AsView(data, size), 2);
    Diagnostics diag;
    ValueStore values(manifest);
    values.ReadText(manifest.values[0], parts[0], diag);
    if (parts.size() > 1) values.ReadText(manifest.values[1], parts[1], diag);
    // Every value kept is a float the files can hold, never the missing-value marker.
    size_t kept = 0;
    for (size_t s = 0; s < manifest.sets.size(); ++s)
        for (size_t c = 0; c < values.codes().size(); ++c)
            for (size_t p = 0; p < manifest.periods.size(); ++p)
                for (int r = 0; r < manifest.sets[s].stride(); ++r) {
                    float v = values.Get(int(s), int(c), int(p), r);
                    if (v == zor::MissingValue) continue;
                    if (!std::isfinite(v)) __builtin_trap();
                    ++kept;
                }
    if (kept != values.valueCount()) __builtin_trap();
    return 0;
}
