// The start-up every zorexport subcommand runs: the same as the program's, with the data
// directory taken from a DIR= argument.
#pragma once

#include "core/DataStore.h"

#include <string>
#include <vector>

namespace zor::exporter {

// Removes a "DIR=<dir>" argument (any case) from args and returns it ("" when absent).
std::string TakeDirArgument(std::vector<std::string>& args);

// Runs StartUp with the executable's directory as default data directory and `dirArg` as
// command line. On failure prints one line naming the failed file or step to standard error.
bool RunStartUp(DataStore& store, const std::string& dirArg);

// Names decoded for output.
std::string Utf8(const DataStore& store, const std::string& bytes);

// Splits "a,b,c" into its parts (an empty text gives none).
std::vector<std::string> SplitList(const std::string& text);

} // namespace zor::exporter
