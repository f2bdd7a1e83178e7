#include "tools/zorexport/Startup.h"

#include "core/Charset.h"
#include "core/FileUtil.h"

#include <cstdio>

namespace zor::exporter {

std::string TakeDirArgument(std::vector<std::string>& args) {
    std::string dir;
    for (auto it = args.begin(); it != args.end();) {
        if (it->size() >= 4 && ToUpperAscii(it->substr(0, 4)) == "DIR=") {
            dir = *it;
            it = args.erase(it);
        } else {
            ++it;
        }
    }
    return dir;
}

bool RunStartUp(DataStore& store, const std::string& dirArg) {
    PlatformInfo platform = DefaultPlatform(0, nullptr);
    platform.commandLine = dirArg;
    if (!store.StartUp(platform)) {
        std::fprintf(stderr, "zorexport: start-up failed: %s\n", store.StartupError().c_str());
        return false;
    }
    return true;
}

std::string Utf8(const DataStore& store, const std::string& bytes) {
    return DecodeToUtf8(bytes, store.Charset());
}

std::vector<std::string> SplitList(const std::string& text) {
    std::vector<std::string> out;
    if (text.empty()) return out;
    size_t start = 0;
    while (true) {
        size_t comma = text.find(',', start);
        out.push_back(
            text.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return out;
}

} // namespace zor::exporter
