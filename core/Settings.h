// Installation settings: the data directory, zorgui.cfg and what the platform tells us.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace zor {

struct AppSettings {
    std::string providerName;
    std::string dataSource;    // directory of the statistical database, with a trailing '/'
    std::string passwordFile;  // kept; the built-in provider does not use it
    std::string dataDirectory; // per-installation directory, with a trailing '/'
    uint8_t charset = 0;       // font charset of every font and of the names in the data files
    char decimalSymbol = '.';
    // The seven map colours (0xBBGGRR) when "MAP COLORS" gave exactly seven.
    std::optional<std::array<uint32_t, 7>> mapColors;
};

// What start-up needs of the platform.
struct PlatformInfo {
    std::string executableDirectory; // with a trailing '/'
    std::string commandLine;         // the program's arguments joined by blanks
    char localeDecimal = '.';        // the user locale's decimal separator
    uint8_t screenCharset = 0;       // text charset of the screen
    // Whether an "Arial" font with this charset is installed.
    std::function<bool(int charset)> arialWithCharset;
};

// The platform as this process sees it: the executable's directory, the C locale's decimal
// separator of the user's environment, charset 0, and a charset check that accepts the charsets
// the installed Arial-compatible fonts cover.
PlatformInfo DefaultPlatform(int argc, char** argv);

// Adds a trailing '/' when missing; Windows separators become '/'.
std::string WithTrailingSeparator(std::string path);

// Applies the command line: when its upper-cased copy contains "DIR=", the data directory
// becomes the command line without its first four characters, unquoted at both ends, with a
// trailing separator.
void ApplyCommandLine(AppSettings& s, std::string_view commandLine);

// Applies one line of zorgui.cfg. Keys are found anywhere in the upper-cased line, in the order
// PROVIDER, DATA SOURCE, PWD FILE, CHARSET, MAP COLORS, DECIMAL SYMBOL; the first key with a
// later "=" decides; the value is everything after that "=" as written.
void ApplyConfigLine(AppSettings& s, std::string_view line, const PlatformInfo& platform);

// Parses the whole configuration text line by line.
void ApplyConfigText(AppSettings& s, std::string_view text, const PlatformInfo& platform);

// Parses a "MAP COLORS" value: up to seven "RGB(r,g,b)" entries. Returns the colours only when
// exactly seven were taken. An "RGB" without a following "(" ... ")" ends the scan.
std::optional<std::array<uint32_t, 7>> ParseMapColors(std::string_view value);

// Completes the data source for the built-in provider: empty -> data directory; trailing '/';
// a relative path (not starting with '/') is prefixed with the data directory.
void CompleteDataSource(AppSettings& s);

// Whether the provider name is the built-in file provider's ("ZOR-2", any case, whole text).
bool IsFileProviderName(std::string_view name);

// Where the definitions file, the help files, the start-up picture and the files of the
// sub-level maps are: the data source with the built-in provider, else the data directory.
const std::string& DefinitionsDirectory(const AppSettings& s);

} // namespace zor
