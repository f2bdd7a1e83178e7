// Text measurement with the installed fonts, through Qt. Faces resolve through the font
// configuration of the system ("Arial" is Liberation Sans on Debian, "Courier New" Liberation
// Mono, "Tahoma" DejaVu Sans). Advances are read at a large reference size without hinting or
// kerning, so they scale linearly to any size and match what QtDeviceContext draws. Needs a
// QGuiApplication.
#pragma once

#include "draw/TextMeasurer.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>

#include <map>
#include <memory>
#include <tuple>

namespace zor::draw {

// The Qt font for a device context font whose character (em) height is `emPixels` device pixels
// on a device of `dpiY` logical dots per inch. The charset is not needed to find a face: text is
// Unicode by then.
QFont ToQFont(const Font& font, double emPixels, double dpiY);

class QtTextMeasurer final : public TextMeasurer {
public:
    FaceMetrics Metrics(const Font& font) const override;
    void Advances(const Font& font, std::u16string_view text, double* out) const override;

    // The measurer every screen drawing and exported metafile uses.
    static const QtTextMeasurer& Screen();

private:
    struct Face {
        explicit Face(const QFont& f) : metrics(f) {}
        QFontMetricsF metrics;
        FaceMetrics ems;
        QHash<char16_t, double> advances;
    };
    Face& FaceOf(const Font& font) const;

    using Key = std::tuple<std::string, int, bool>;
    mutable std::map<Key, std::unique_ptr<Face>> faces_;
};

} // namespace zor::draw
