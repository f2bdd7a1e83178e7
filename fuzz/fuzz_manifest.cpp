// The importer's manifest reader: JSON parsing (nlohmann) into a tree with lines, and every check
// of the catalogue it describes.
#include "fuzz/FuzzInput.h"
#include "tools/zorimport/Manifest.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    zor::import::Diagnostics diag;
    auto m = zor::import::ParseManifest(zor::fuzz::AsView(data, size), diag);
    // A manifest that reads is one the importer can rely on.
    if (m && (diag.failed() || m->sets.empty() || m->sets[0].id != 10000 || m->periods.empty()))
        __builtin_trap();
    if (!m && !diag.failed()) __builtin_trap();
    return 0;
}
