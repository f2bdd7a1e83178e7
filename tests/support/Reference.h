// Reference recordings: drawing recordings committed under a test data folder and compared line
// by line, naming the first difference. ZOR_UPDATE_REFERENCE=1 rewrites them instead (review
// the diff before committing).
#pragma once

#include "tests/support/Fixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace zor::test {

inline void ExpectReferenceIn(const std::string& dataDir, const std::string& name,
                              const std::string& recording) {
    const std::string path = dataDir + "/" + name;
    if (const char* update = std::getenv("ZOR_UPDATE_REFERENCE"); update && *update == '1') {
        std::ofstream(path, std::ios::binary) << recording;
        GTEST_SKIP() << "rewrote " << path;
    }
    const std::string expected = ReadFile(path);
    ASSERT_FALSE(expected.empty()) << "missing reference " << path;
    std::istringstream a(expected), b(recording);
    std::string la, lb;
    for (int line = 1;; ++line) {
        const bool ea = !std::getline(a, la), eb = !std::getline(b, lb);
        if (ea && eb) break;
        ASSERT_EQ(la, lb) << name << " line " << line;
    }
}

} // namespace zor::test
