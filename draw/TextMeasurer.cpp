#include "draw/TextMeasurer.h"

#include <cstdint>

namespace zor::draw {

void FixedTextMeasurer::Advances(const Font&, std::u16string_view text, double* out) const {
    for (size_t i = 0; i < text.size(); ++i) {
        bool low = text[i] >= 0xDC00 && text[i] <= 0xDFFF;
        bool pairedLow = low && i > 0 && text[i - 1] >= 0xD800 && text[i - 1] <= 0xDBFF;
        out[i] = pairedLow ? 0.0 : advance_;
    }
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
    static constexpr uint32_t kMin[] = {0, 0x80, 0x800, 0x10000};
    std::u16string out;
    out.reserve(utf8.size());
    size_t i = 0;
    while (i < utf8.size()) {
        uint8_t b = uint8_t(utf8[i]);
        int extra = b < 0x80 ? 0 : (b >> 5) == 6 ? 1 : (b >> 4) == 14 ? 2 : (b >> 3) == 30 ? 3 : -1;
        uint32_t cp = 0xFFFD;
        size_t len = 1;
        if (extra == 0) {
            cp = b;
        } else if (extra > 0 && size_t(extra) < utf8.size() - i) {
            uint32_t v = b & (0x3Fu >> extra);
            bool ok = true;
            for (int k = 1; ok && k <= extra; ++k) {
                uint8_t c = uint8_t(utf8[i + size_t(k)]);
                ok = (c & 0xC0) == 0x80;
                v = v << 6 | (c & 0x3F);
            }
            if (ok && v >= kMin[extra] && v <= 0x10FFFF && !(v >= 0xD800 && v <= 0xDFFF)) {
                cp = v;
                len = size_t(extra) + 1;
            }
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(char16_t(0xD800 + (cp >> 10)));
            out.push_back(char16_t(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(char16_t(cp));
        }
        i += len;
    }
    return out;
}

} // namespace zor::draw
