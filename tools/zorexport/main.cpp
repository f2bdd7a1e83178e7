// zorexport: console access to what the program reads and computes, as JSON.
#include "tools/zorexport/Command.h"
#include "tools/zorexport/QtMessages.h"

#include <cstdio>
#include <string>
#include <vector>

namespace zor::exporter {

namespace {
std::vector<CommandInfo>& Registry() {
    static std::vector<CommandInfo> commands;
    return commands;
}
} // namespace

void RegisterCommand(const CommandInfo& info) {
    Registry().push_back(info);
}
const std::vector<CommandInfo>& Commands() {
    return Registry();
}

int UsageError(const CommandInfo& info, const std::string& why) {
    if (!why.empty()) std::fprintf(stderr, "zorexport %s: %s\n", info.name, why.c_str());
    std::fprintf(stderr, "usage: %s\n", info.usage);
    return ExitUsage;
}

} // namespace zor::exporter

int main(int argc, char** argv) {
    using namespace zor::exporter;
    InstallQtMessageFilter();
    std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty()) {
        for (const auto& c : Commands())
            if (args[0] == c.name) return c.run({args.begin() + 1, args.end()});
    }
    std::fprintf(stderr, "usage: zorexport COMMAND [DIR=<data directory>] [options]\ncommands:\n");
    for (const auto& c : Commands()) std::fprintf(stderr, "  %s\n", c.usage);
    return ExitUsage;
}
