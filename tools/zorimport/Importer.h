// zorimport: turns a source folder (manifest.json, CSV values, boundaries in any vector format
// GDAL reads, definition texts) into a complete data source directory.
#pragma once

#include "tools/zorimport/Diagnostics.h"

#include <cstdint>
#include <string>

namespace zor::import {

struct ImportOptions {
    std::string sourceDir; // ends with '/'
    std::string targetDir; // without a trailing '/'
    std::string inddefc;   // path of the definitions compiler
    bool quiet = false;    // no summary on standard output
};

struct ImportSummary {
    int sets = 0;
    int regions = 0;
    int indicators = 0; // main indicators and variants
    int periods = 0;
    size_t values = 0;
    int definitions = 0;
    int files = 0;
    uint64_t bytes = 0;
    size_t verticesRead = 0;    // of the drawn regions, as read
    size_t verticesWritten = 0; // in the map files
};

inline constexpr int ExitImported = 0;
inline constexpr int ExitInputErrors = 1;
inline constexpr int ExitOutputFailed = 2;

// Reads and checks the whole source, then writes the data source into a temporary directory
// next to the target and puts it in the target's place. On any error nothing is left behind
// and an existing target stays as it was. Returns one of the exit statuses above.
int RunImport(const ImportOptions& options, Diagnostics& diag, ImportSummary& summary);

} // namespace zor::import
