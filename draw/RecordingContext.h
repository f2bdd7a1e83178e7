// A device context that draws nothing and writes one line of text per call instead: the
// mapping, attribute, state and drawing calls in order, numbers in logical units, pens,
// brushes and fonts by value. The format is stable (docs/recording-format.md); reference
// recordings in the tests are compared line by line. Measurement queries are answered from the
// measurer (fixed metrics unless another is given) and are not recorded.
#pragma once

#include "draw/DeviceContext.h"

#include <string>

namespace zor::draw {

class RecordingContext final : public DeviceContext {
public:
    // With FixedTextMeasurer's default metrics.
    explicit RecordingContext(const DeviceInfo& device = {});
    // The measurer must outlive the context.
    RecordingContext(const TextMeasurer& measurer, const DeviceInfo& device);

    // Everything recorded so far, each line ending in '\n'. The first line describes the device.
    const std::string& Recording() const { return out_; }

protected:
    void DoPolyline(std::span<const Point> points) override;
    void DoPolygon(std::span<const Point> points) override;
    void DoText(Point ref, std::string_view text) override;
    void DoLineTo(Point from, Point to) override;
    void DoRectangle(const Rect& r) override;
    void DoRoundRect(const Rect& r, int ellipseWidth, int ellipseHeight) override;
    void DoEllipse(const Rect& r) override;
    void DoTextBox(const TextBoxLayout& layout) override;
    void OnChange(Change what) override;
    void OnSave() override;
    void OnRestore(int levels) override;
    void OnIntersectClip(const Rect& logical) override;

private:
    void Line(const std::string& s) { out_ += s, out_ += '\n'; }
    std::string out_;
};

// The recording forms of values (as used in recordings): "#rrggbb", a quoted string with C
// escapes, "solid 25 #ff0000" and so on.
std::string RecordColor(Color c);
std::string RecordString(std::string_view s);
std::string RecordPen(const Pen& pen);
std::string RecordBrush(const Brush& brush);
std::string RecordFont(const Font& font);

} // namespace zor::draw
