// Runs a program of build/bin and captures its exit status and output.
#pragma once

#include <string>
#include <vector>

namespace zor::test {

struct ToolResult {
    int status = -1; // exit status, or -1 when the program did not exit normally
    std::string out;
    std::string err;
};

// Runs ZOR_BIN_DIR/<program> with the arguments (no shell), in `workDir` when it is not empty,
// with `env` entries ("NAME=value") added to the environment.
ToolResult RunTool(const std::string& program, const std::vector<std::string>& args,
                   const std::string& workDir = "", const std::vector<std::string>& env = {});

} // namespace zor::test
