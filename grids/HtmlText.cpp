#include "grids/HtmlText.h"

#include "core/Texts.h"

#include <cstdio>

namespace zor::grids {

std::string_view Template(HtmlTemplate id) {
    const char* text = BuiltinString(id);
    return text ? std::string_view(text) : std::string_view();
}

std::string Fill(std::string_view pattern, std::initializer_list<std::string_view> args) {
    std::string out;
    out.reserve(pattern.size() + 64);
    const auto* arg = args.begin();
    for (size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c != '%' || i + 1 >= pattern.size()) {
            out += c;
            continue;
        }
        const char f = pattern[i + 1];
        if (f == '%') {
            out += '%';
            ++i;
        } else if (f == 's' || f == 'd' || f == 'u') {
            if (arg != args.end()) out += *arg++;
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

std::string Fill(HtmlTemplate id, std::initializer_list<std::string_view> args) {
    return Fill(Template(id), args);
}

std::string EscapeHtml(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

int WindowsCodePage(int charset) {
    switch (charset) {
    case 0:
    case 1:
        return 1252;
    case 128:
        return 932;
    case 129:
        return 949;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    default:
        return -1;
    }
}

std::string WithCrLf(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (const char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

namespace {

constexpr std::string_view FragmentStart = "<!--StartFragment -->";
constexpr std::string_view FragmentEnd = "<!--EndFragment-->";

// Writes an 8-digit number over the zeros of `field` ("StartHTML:00000000").
void PutOffset(std::string& s, std::string_view field, size_t value) {
    const size_t at = s.find(field);
    if (at == std::string::npos) return;
    char digits[16];
    std::snprintf(digits, sizeof digits, "%08u", static_cast<unsigned>(value));
    s.replace(at + field.size(), 8, digits, 8);
}

} // namespace

std::string ClipboardHtmlFormat(std::string_view fragment) {
    std::string s = "Version:0.9\r\nStartHTML:00000000\r\nEndHTML:00000000\r\n"
                    "StartFragment:00000000\r\nEndFragment:00000000\r\n<html><body>\r\n";
    s += FragmentStart;
    s += "\r\n";
    s += fragment;
    s += "\r\n";
    s += FragmentEnd;
    s += "\r\n</body>\r\n</html>";
    // The offsets do not move the text: each field keeps its eight digits.
    PutOffset(s, "StartHTML:", s.find("<html>"));
    PutOffset(s, "EndHTML:", s.size());
    PutOffset(s, "StartFragment:", s.find(FragmentStart));
    PutOffset(s, "EndFragment:", s.rfind(FragmentEnd));
    return s;
}

} // namespace zor::grids
