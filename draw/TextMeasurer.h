// Font measurement for the device context. A measurer answers in ems (multiples of the font's
// character height), so one measurer serves every size and mapping; the device context turns
// ems into logical units. Tests inject FixedTextMeasurer so that layouts do not depend on the
// fonts installed; the Qt backend measures real fonts.
#pragma once

#include "draw/Style.h"

#include <string_view>

namespace zor::draw {

// Vertical metrics and the average character width of a face, in ems. The cell height is
// ascent + descent.
struct FaceMetrics {
    double ascent = 0.8;
    double descent = 0.2;
    double averageCharWidth = 0.5;
};

class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;
    // Metrics of the font's face, weight and slant; its height and escapement do not matter.
    virtual FaceMetrics Metrics(const Font& font) const = 0;
    // The advance of each UTF-16 code unit of `text`, in ems, into out[0 .. text.size()). The
    // second unit of a surrogate pair gets 0. Advances are not kerned.
    virtual void Advances(const Font& font, std::u16string_view text, double* out) const = 0;
};

// Every character `advance` em wide (0.5 by default), ascent 0.8 em and descent 0.2 em, so the
// cell height equals the em and a font of height 100 has 50-unit characters, ascent 80 and
// descent 20, whatever its face, weight or slant.
class FixedTextMeasurer final : public TextMeasurer {
public:
    explicit FixedTextMeasurer(double advance = 0.5, double ascent = 0.8, double descent = 0.2)
        : advance_(advance), metrics_{ascent, descent, advance} {}
    FaceMetrics Metrics(const Font&) const override { return metrics_; }
    void Advances(const Font&, std::u16string_view text, double* out) const override;

private:
    double advance_;
    FaceMetrics metrics_;
};

// UTF-8 to UTF-16; malformed bytes become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);

} // namespace zor::draw
