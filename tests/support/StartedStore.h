// A data store started on a test data source written by a Fixture, and helpers to read drawing
// recordings. Header-only: the test support library stays free of the view layers.
#pragma once

#include "core/DataStore.h"
#include "tests/support/Fixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace zor::test {

// The data directory (also the data source) is a temporary directory, removed afterwards.
struct StartedStore {
    TempDir dir;
    DataStore store;
    explicit StartedStore(const std::function<void(Fixture&)>& build) {
        Fixture f(dir.path());
        build(f);
        f.Write();
        PlatformInfo p = DefaultPlatform(0, nullptr);
        p.executableDirectory = dir.path();
        p.commandLine.clear();
        EXPECT_TRUE(store.StartUp(p)) << store.StartupError();
    }
};

// The lines of a recording (or any text) that start with `prefix`.
inline std::vector<std::string> Lines(const std::string& recording, const std::string& prefix) {
    std::vector<std::string> out;
    std::istringstream in(recording);
    for (std::string line; std::getline(in, line);)
        if (line.rfind(prefix, 0) == 0) out.push_back(line);
    return out;
}

} // namespace zor::test
