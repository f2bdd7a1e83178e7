// Texts in grid cells: decoding the single-byte names of the data for display (once per
// charset, by table), cutting a text that does not fit its cell ("..." at the end), and the
// narrowest widths at which a text fits a height.
#pragma once

#include "draw/DeviceContext.h"

#include <array>
#include <string>
#include <string_view>

namespace zor::grids {

// Decodes text of a charset to UTF-8. Single-byte code pages go through a table of the 128
// upper bytes made once; the others (Japanese, Chinese, Korean) through the converter.
class TextDecoder {
public:
    explicit TextDecoder(int charset = 0);
    std::string operator()(std::string_view bytes) const;

private:
    int charset_;
    bool table_ = false;
    std::array<std::string, 128> upper_;
};

// The ellipsis a cut text ends with.
inline constexpr std::string_view Ellipsis = "...";

// A one-line text (UTF-8) as it fits `width` logical units in the selected font: itself when it
// fits, else the longest beginning (whole characters) followed by "..." that fits, else "".
std::string CutToWidth(const draw::DeviceContext& dc, std::string_view text, int width);

// A word-wrapped text (UTF-8) as it fits a rectangle (normalised size `width` x `height`): the
// same cutting, with the wrapped block's width and height as the measure.
std::string CutToBox(const draw::DeviceContext& dc, std::string_view text, int width, int height);

// Whether a text word-wrapped at `width` is no higher than `height` and no line of it wider than
// `width` (a word longer than the width does not fit it).
bool WrapFits(const draw::DeviceContext& dc, std::string_view text, int width, int height);

} // namespace zor::grids
