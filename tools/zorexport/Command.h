// zorexport subcommands register themselves here; each lives in its own source file.
#pragma once

#include <string>
#include <vector>

namespace zor::exporter {

// Exit statuses shared by the subcommands.
inline constexpr int ExitOk = 0;
inline constexpr int ExitWriteFailed = 1; // the result could not be written
inline constexpr int ExitStartupFailed = 2;
inline constexpr int ExitLoadFailed = 3;
inline constexpr int ExitUsage = 64;

using CommandFn = int (*)(const std::vector<std::string>& args);

struct CommandInfo {
    const char* name;
    const char* usage; // one usage line, printed on bad arguments
    CommandFn run;
};

// Registers a subcommand; use through a static `CommandRegistrar` in the command's file.
void RegisterCommand(const CommandInfo& info);
const std::vector<CommandInfo>& Commands();

struct CommandRegistrar {
    explicit CommandRegistrar(const CommandInfo& info) { RegisterCommand(info); }
};

// Prints "usage: <usage>" to standard error and returns ExitUsage.
int UsageError(const CommandInfo& info, const std::string& why);

} // namespace zor::exporter
