#include "grids/GridText.h"

#include "core/Charset.h"

#include <vector>

namespace zor::grids {

namespace {

bool IsMultiByteCharset(int charset) {
    return charset == 128 || charset == 129 || charset == 134 || charset == 136;
}

// Whether a UTF-16 unit starts a character (is not the second half of a surrogate pair).
bool StartsCharacter(char16_t unit) {
    return unit < 0xDC00 || unit > 0xDFFF;
}

// Cuts `text` to its longest beginning that `fits` with "..." after it; "" when none does.
template <class Fits> std::string CutWith(std::string_view text, const Fits& fits) {
    const std::u16string u = draw::Utf8ToUtf16(text);
    for (size_t keep = u.size(); keep-- > 1;) {
        if (!StartsCharacter(u[keep])) continue;
        std::string candidate = draw::Utf16ToUtf8(std::u16string_view(u).substr(0, keep));
        candidate += Ellipsis;
        if (fits(candidate)) return candidate;
    }
    return {};
}

} // namespace

TextDecoder::TextDecoder(int charset) : charset_(charset) {
    if (IsMultiByteCharset(charset)) return;
    table_ = true;
    for (size_t i = 0; i < upper_.size(); ++i) {
        const char byte = static_cast<char>(0x80 + i);
        upper_[i] = DecodeToUtf8(std::string_view(&byte, 1), charset);
    }
}

std::string TextDecoder::operator()(std::string_view bytes) const {
    if (!table_) return DecodeToUtf8(bytes, charset_);
    std::string out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80)
            out += c;
        else
            out += upper_[b - 0x80u];
    }
    return out;
}

std::string CutToWidth(const draw::DeviceContext& dc, std::string_view text, int width) {
    if (text.empty() || dc.TextExtent(text).cx <= width) return std::string(text);
    // Widths of every beginning from the advances (one pass), plus the ellipsis.
    const std::u16string u = draw::Utf8ToUtf16(text);
    const std::vector<int> advances = dc.TextAdvances(u);
    const int dots = dc.TextExtent(Ellipsis).cx;
    std::vector<int> prefix(u.size() + 1, 0);
    for (size_t i = 0; i < u.size(); ++i) prefix[i + 1] = prefix[i] + advances[i];
    for (size_t keep = u.size(); keep-- > 1;) {
        if (!StartsCharacter(u[keep])) continue;
        if (prefix[keep] + dots <= width) {
            std::string out = draw::Utf16ToUtf8(std::u16string_view(u).substr(0, keep));
            out += Ellipsis;
            return out;
        }
    }
    return {};
}

bool WrapFits(const draw::DeviceContext& dc, std::string_view text, int width, int height) {
    if (width <= 0) return false;
    const draw::Rect box = dc.MeasureTextBox(text, {0, 0, width, 0}, draw::dt::WordBreak);
    const draw::Rect n = box.Normalized();
    return n.Width() <= width && n.Height() <= height;
}

std::string CutToBox(const draw::DeviceContext& dc, std::string_view text, int width, int height) {
    if (text.empty() || WrapFits(dc, text, width, height)) return std::string(text);
    return CutWith(text, [&](const std::string& t) { return WrapFits(dc, t, width, height); });
}

} // namespace zor::grids
