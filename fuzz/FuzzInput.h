// Helpers shared by the fuzz targets.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace zor::fuzz {

inline std::string_view AsView(const uint8_t* data, size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// Where targets that need files make their scratch directory: $ZOR_FUZZ_TMP (the fuzz script
// gives each run its own and removes it afterwards), else /tmp.
inline std::string ScratchBase() {
    const char* dir = std::getenv("ZOR_FUZZ_TMP");
    return dir && *dir ? dir : "/tmp";
}

// Splits the input into parts at each occurrence of the separator "\n--\n" (seeds are made the
// same way), so one input can describe several files.
inline std::vector<std::string_view> SplitParts(std::string_view in, size_t maxParts) {
    std::vector<std::string_view> parts;
    constexpr std::string_view sep = "\n--\n";
    while (parts.size() + 1 < maxParts) {
        size_t p = in.find(sep);
        if (p == std::string_view::npos) break;
        parts.push_back(in.substr(0, p));
        in.remove_prefix(p + sep.size());
    }
    parts.push_back(in);
    return parts;
}

} // namespace zor::fuzz
