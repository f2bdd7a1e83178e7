#include "core/Charset.h"

#include <cerrno>
#include <iconv.h>
#include <mutex>
#include <vector>

namespace zor {

const char* CodePageOfCharset(int charset) {
    switch (charset) {
    case 0: // ANSI
    case 1: // default
        return "CP1252";
    case 128:
        return "CP932";
    case 129:
        return "CP949";
    case 134:
        return "CP936";
    case 136:
        return "CP950";
    case 161:
        return "CP1253";
    case 162:
        return "CP1254";
    case 163:
        return "CP1258";
    case 177:
        return "CP1255";
    case 178:
        return "CP1256";
    case 186:
        return "CP1257";
    case 204:
        return "CP1251";
    case 222:
        return "CP874";
    case 238:
        return "CP1250";
    case 255:
        return "CP437";
    default:
        return nullptr;
    }
}

namespace {

// Converts with iconv; on an invalid sequence either fails (strict) or writes U+FFFD and
// skips one byte.
std::optional<std::string> Convert(std::string_view in, const char* from, const char* to,
                                   bool strict) {
    iconv_t cd = iconv_open(to, from);
    if (cd == iconv_t(-1)) return std::nullopt;
    std::string out;
    out.reserve(in.size() * 2 + 4);
    std::vector<char> buf(in.size() * 4 + 16);
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    while (srcLeft > 0) {
        char* dst = buf.data();
        size_t dstLeft = buf.size();
        size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buf.data(), size_t(dst - buf.data()));
        if (r == size_t(-1)) {
            if (errno == E2BIG) continue;
            if (strict) {
                iconv_close(cd);
                return std::nullopt;
            }
            out += "\xEF\xBF\xBD";
            ++src;
            --srcLeft;
        }
    }
    iconv_close(cd);
    return out;
}

} // namespace

std::string DecodeToUtf8(std::string_view bytes, int charset) {
    bool ascii = true;
    for (const char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
    if (ascii) return std::string(bytes);
    const char* cp = CodePageOfCharset(charset);
    auto r = Convert(bytes, cp ? cp : "CP1252", "UTF-8", false);
    if (r) return *r;
    // No converter available: keep ASCII, mark the rest.
    std::string out;
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) < 0x80)
            out += c;
        else
            out += "\xEF\xBF\xBD";
    }
    return out;
}

std::optional<std::string> EncodeFromUtf8(std::string_view utf8, int charset) {
    const char* cp = CodePageOfCharset(charset);
    return Convert(utf8, "UTF-8", cp ? cp : "CP1252", true);
}

} // namespace zor
