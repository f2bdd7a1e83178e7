#include "maps/SlideShow.h"

#include "core/Catalogue.h"

#include <algorithm>
#include <cstdio>

namespace zor::maps {

int SlideFrameCount(int periods, int between) {
    if (periods < 1) return 0;
    return between > 0 ? (between + 1) * (periods - 1) + 1 : periods;
}

SlideFramePlan PlanSlideFrame(int frameCount, int periods, int frame) {
    if (frameCount == periods || frameCount < 2 || periods < 2) return {frame, 0};
    const double c = double(frame) * (periods - 1) / (frameCount - 1);
    const int i = static_cast<int>(c);
    if (c - i > 1e-6) return {i, c - i};
    return {static_cast<int>(c * 1.00001), 0};
}

std::vector<float> InterpolateValues(const float* a, const float* b, int rows, double fraction) {
    std::vector<float> out(static_cast<size_t>(std::max(rows, 0)), MissingValue);
    if (!a || !b) return out;
    for (size_t r = 0; r < out.size(); ++r) {
        if (IsMissing(a[r]) || IsMissing(b[r])) continue;
        out[r] = static_cast<float>(a[r] + (double(b[r]) - a[r]) * fraction);
    }
    return out;
}

std::string SlideCounterText(int frame, int frameCount) {
    char text[64];
    std::snprintf(text, sizeof text, " %d : %d     ", frame + 1, frameCount);
    return text;
}

void SlidePlayer::Play(bool loop) {
    current_ = 0;
    mode_ = loop ? Mode::Continue : Mode::Single;
}

bool SlidePlayer::Advance() {
    if (current_ < frames_ - 1) {
        ++current_;
    } else if (mode_ == Mode::Continue) {
        current_ = 0;
    } else {
        mode_ = Mode::Stopped;
    }
    return Playing();
}

int ClampFramesBetween(int typed) {
    return std::clamp(typed, 0, MaxFramesBetween);
}

} // namespace zor::maps
