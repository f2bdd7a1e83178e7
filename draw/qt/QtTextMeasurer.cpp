#include "draw/qt/QtTextMeasurer.h"

#include <QString>

#include <algorithm>

namespace zor::draw {

namespace {

constexpr int kReferencePixels = 1000;

} // namespace

QFont ToQFont(const Font& font, double emPixels, double dpiY) {
    QFont f(QString::fromStdString(font.face));
    f.setWeight(QFont::Weight(std::clamp(font.weight == 0 ? 400 : font.weight, 1, 1000)));
    f.setItalic(font.italic);
    f.setKerning(false);
    f.setHintingPreference(QFont::PreferNoHinting);
    if (emPixels > 0 && dpiY > 0) f.setPointSizeF(emPixels * 72.0 / dpiY);
    return f;
}

QtTextMeasurer::Face& QtTextMeasurer::FaceOf(const Font& font) const {
    Key key{font.face, font.weight, font.italic};
    auto it = faces_.find(key);
    if (it != faces_.end()) return *it->second;
    QFont q = ToQFont(font, 0, 0);
    q.setPixelSize(kReferencePixels);
    auto face = std::make_unique<Face>(q);
    face->ems.ascent = face->metrics.ascent() / kReferencePixels;
    face->ems.descent = face->metrics.descent() / kReferencePixels;
    face->ems.averageCharWidth = face->metrics.averageCharWidth() / kReferencePixels;
    return *faces_.emplace(key, std::move(face)).first->second;
}

FaceMetrics QtTextMeasurer::Metrics(const Font& font) const {
    return FaceOf(font).ems;
}

void QtTextMeasurer::Advances(const Font& font, std::u16string_view text, double* out) const {
    Face& face = FaceOf(font);
    for (size_t i = 0; i < text.size(); ++i) {
        char16_t c = text[i];
        bool pair = c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                    text[i + 1] <= 0xDFFF;
        if (pair) {
            QString s(reinterpret_cast<const QChar*>(text.data() + i), 2);
            out[i] = face.metrics.horizontalAdvance(s) / kReferencePixels;
            out[++i] = 0;
            continue;
        }
        auto it = face.advances.constFind(c);
        if (it == face.advances.constEnd())
            it = face.advances.insert(c,
                                      face.metrics.horizontalAdvance(QChar(c)) / kReferencePixels);
        out[i] = *it;
    }
}

const QtTextMeasurer& QtTextMeasurer::Screen() {
    static const QtTextMeasurer measurer;
    return measurer;
}

} // namespace zor::draw
