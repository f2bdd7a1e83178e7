#include "core/Settings.h"

#include "core/FileUtil.h"

#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <langinfo.h>
#include <locale.h> // NOLINT(modernize-deprecated-headers): newlocale and nl_langinfo_l are POSIX
#include <unistd.h>

namespace zor {

namespace {

constexpr std::string_view kBlanks = " \t\r\n\v\f";

std::string_view Trim(std::string_view s) {
    size_t b = s.find_first_not_of(kBlanks);
    if (b == std::string_view::npos) return {};
    size_t e = s.find_last_not_of(kBlanks);
    return s.substr(b, e - b + 1);
}

// Strips a run of `c` at both ends.
std::string_view StripRun(std::string_view s, char c) {
    while (!s.empty() && s.front() == c) s.remove_prefix(1);
    while (!s.empty() && s.back() == c) s.remove_suffix(1);
    return s;
}

// A decimal integer as C's atoi reads it (leading blanks, optional sign, digits), without
// undefined behaviour on overflow.
long ParseDecimal(std::string_view s) {
    std::string tmp(s);
    errno = 0;
    long v = std::strtol(tmp.c_str(), nullptr, 10);
    return v;
}

} // namespace

std::string WithTrailingSeparator(std::string path) {
    for (char& c : path)
        if (c == '\\') c = '/';
    if (path.empty() || path.back() != '/') path += '/';
    return path;
}

void ApplyCommandLine(AppSettings& s, std::string_view commandLine) {
    if (commandLine.empty()) return;
    if (ToUpperAscii(commandLine).find("DIR=") == std::string::npos) return;
    std::string_view dir = commandLine.size() > 4 ? commandLine.substr(4) : std::string_view{};
    dir = StripRun(dir, '"');
    s.dataDirectory = WithTrailingSeparator(std::string(dir));
}

std::optional<std::array<uint32_t, 7>> ParseMapColors(std::string_view value) {
    std::array<uint32_t, 7> colors{};
    size_t count = 0;
    size_t pos = 0;
    while (count < colors.size()) {
        size_t rgb = value.find("RGB", pos);
        if (rgb == std::string_view::npos) break;
        size_t open = value.find('(', rgb + 3);
        if (open == std::string_view::npos) break;
        size_t close = value.find(')', open + 1);
        // Without both parentheses there is nothing more to take; searching again from the
        // same place would never end.
        if (close == std::string_view::npos) break;
        std::string_view inner = value.substr(open + 1, close - open - 1);
        long part[3] = {0, 0, 0};
        for (long& component : part) {
            size_t comma = inner.find(',');
            component = ParseDecimal(inner.substr(0, comma));
            if (comma == std::string_view::npos) break;
            inner.remove_prefix(comma + 1);
        }
        uint32_t r = uint32_t(part[0]) & 0xFF, g = uint32_t(part[1]) & 0xFF,
                 b = uint32_t(part[2]) & 0xFF;
        colors[count++] = r + g * 256 + b * 65536;
        pos = close + 1;
    }
    if (count != colors.size()) return std::nullopt;
    return colors;
}

void ApplyConfigLine(AppSettings& s, std::string_view rawLine, const PlatformInfo& platform) {
    std::string_view line = Trim(rawLine);
    if (line.empty()) return;
    static constexpr std::string_view keys[] = {"PROVIDER", "DATA SOURCE", "PWD FILE",
                                                "CHARSET",  "MAP COLORS",  "DECIMAL SYMBOL"};
    std::string upper = ToUpperAscii(line);
    for (size_t k = 0; k < std::size(keys); ++k) {
        size_t at = upper.find(keys[k]);
        if (at == std::string::npos) continue;
        size_t eq = line.find('=', at + keys[k].size());
        if (eq == std::string_view::npos) continue;
        std::string_view value = line.substr(eq + 1);
        switch (k) {
        case 0:
            s.providerName = std::string(value);
            break;
        case 1:
            s.dataSource = std::string(value);
            break;
        case 2:
            s.passwordFile = std::string(value);
            break;
        case 3: {
            int cs = int(uint32_t(ParseDecimal(value)) & 0xFF);
            if (platform.arialWithCharset && platform.arialWithCharset(cs)) s.charset = uint8_t(cs);
            break;
        }
        case 4:
            if (auto colors = ParseMapColors(value)) s.mapColors = colors;
            break;
        case 5: {
            std::string_view v = StripRun(StripRun(StripRun(value, '\''), '"'), ' ');
            if (!v.empty()) s.decimalSymbol = v.front();
            break;
        }
        }
        return;
    }
}

void ApplyConfigText(AppSettings& s, std::string_view text, const PlatformInfo& platform) {
    while (!text.empty()) {
        size_t nl = text.find('\n');
        ApplyConfigLine(s, text.substr(0, nl), platform);
        if (nl == std::string_view::npos) break;
        text.remove_prefix(nl + 1);
    }
}

bool IsFileProviderName(std::string_view name) {
    return EqualsNoCase(name, "ZOR-2");
}

const std::string& DefinitionsDirectory(const AppSettings& s) {
    return IsFileProviderName(s.providerName) ? s.dataSource : s.dataDirectory;
}

void CompleteDataSource(AppSettings& s) {
    if (s.dataSource.empty()) s.dataSource = s.dataDirectory;
    s.dataSource = WithTrailingSeparator(s.dataSource);
    if (s.dataSource.front() != '/') s.dataSource = s.dataDirectory + s.dataSource;
}

PlatformInfo DefaultPlatform(int argc, char** argv) {
    PlatformInfo p;
    char buf[4096];
    ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    std::string exe = n > 0 ? std::string(buf, size_t(n)) : (argc > 0 ? argv[0] : "");
    p.executableDirectory = DirectoryOf(exe);
    if (p.executableDirectory.empty()) p.executableDirectory = "./";
    for (int i = 1; i < argc; ++i) {
        if (i > 1) p.commandLine += ' ';
        p.commandLine += argv[i];
    }
    if (locale_t loc = ::newlocale(LC_NUMERIC_MASK, "", nullptr)) {
        const char* radix = ::nl_langinfo_l(RADIXCHAR, loc);
        if (radix && radix[0] && static_cast<unsigned char>(radix[0]) < 0x80)
            p.localeDecimal = radix[0];
        ::freelocale(loc);
    }
    p.screenCharset = 0;
    // The Arial-compatible fonts (Liberation Sans, DejaVu Sans) cover Latin, Greek, Cyrillic,
    // Hebrew, Baltic, Turkish and Vietnamese; not the far-eastern, Arabic or Thai code pages.
    p.arialWithCharset = [](int cs) {
        switch (cs) {
        case 0:
        case 1:
        case 161:
        case 162:
        case 163:
        case 177:
        case 186:
        case 204:
        case 238:
            return true;
        default:
            return false;
        }
    };
    return p;
}

} // namespace zor
