#include "core/TextFormat.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace zor {

namespace {

constexpr int MaxField = 99;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads a decimal number of at most two digits' worth (larger ones are cut to MaxField).
int ReadNumber(std::string_view s, size_t& i) {
    int n = 0;
    while (i < s.size() && IsDigit(s[i])) {
        n = std::min(MaxField, n * 10 + (s[i] - '0'));
        ++i;
    }
    return n;
}

} // namespace

std::string FormatNumbers(std::string_view format, std::initializer_list<double> values) {
    std::string out;
    const double* next = values.begin();
    size_t i = 0;
    while (i < format.size()) {
        const char c = format[i];
        if (c != '%') {
            out += c;
            ++i;
            continue;
        }
        if (i + 1 < format.size() && format[i + 1] == '%') {
            out += '%';
            i += 2;
            continue;
        }
        // %[flags][width][.precision]conversion
        const size_t start = i++;
        std::string directive = "%";
        while (i < format.size() && std::string_view("-+ #0").find(format[i]) != std::string::npos)
            directive += format[i++];
        if (i < format.size() && IsDigit(format[i]))
            directive += std::to_string(ReadNumber(format, i));
        if (i < format.size() && format[i] == '.') {
            ++i;
            directive += '.' + std::to_string(ReadNumber(format, i));
        }
        const char conv = i < format.size() ? format[i] : '\0';
        const bool floating = std::string_view("efgEG").find(conv) != std::string::npos;
        const bool integer = conv == 'd' || conv == 'i';
        if (conv == '\0' || (!floating && !integer) || next == values.end()) {
            // Not a number conversion (or nothing left to put in): the text as written.
            const size_t end = conv == '\0' ? format.size() : i + 1;
            out.append(format.substr(start, end - start));
            i = end;
            continue;
        }
        ++i;
        char buffer[512];
        int written = 0;
        if (floating) {
            directive += conv;
            written = std::snprintf(buffer, sizeof buffer, directive.c_str(), *next);
        } else {
            directive += "lld";
            const double v = std::trunc(*next);
            constexpr double Limit = 9.2e18; // within long long
            const long long n = std::isnan(v) ? 0
                                : v > Limit   ? static_cast<long long>(Limit)
                                : v < -Limit  ? static_cast<long long>(-Limit)
                                              : static_cast<long long>(v);
            written = std::snprintf(buffer, sizeof buffer, directive.c_str(), n);
        }
        ++next;
        if (written > 0)
            out.append(buffer, std::min(static_cast<size_t>(written), sizeof buffer - 1));
    }
    return out;
}

} // namespace zor
