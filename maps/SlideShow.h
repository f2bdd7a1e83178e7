// The slide show of a map, apart from its window: how many frames a show has, which period (and
// how far towards the next) each frame shows, the interpolated values, the player that steps
// through the frames on the 600 ms timer, and the dialog models of the show.
#pragma once

#include "charts/ViewHost.h"
#include "draw/Raster.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace zor::maps {

inline constexpr int SlideIntervalMs = 600;
inline constexpr int MaxFramesBetween = 5;

// F = (f + 1)(T - 1) + 1 with f frames between periods (f > 0), else T. Fewer than one period
// gives 0 frames.
int SlideFrameCount(int periods, int between);

// What a frame shows: the values of `period`, or, when `fraction` > 0, the way from `period`
// towards period + 1 (labelled with `period`).
struct SlideFramePlan {
    int period = 0;
    double fraction = 0;
    bool operator==(const SlideFramePlan&) const = default;
};
// Frame b of F over T periods: F = T shows period b; otherwise c = b (T - 1) / (F - 1), i =
// trunc(c), interpolated when c - i > 1e-6, else period trunc(c × 1.00001).
SlideFramePlan PlanSlideFrame(int frameCount, int periods, int frame);

// v_a + (v_b - v_a) × fraction per row; missing where either value is.
std::vector<float> InterpolateValues(const float* a, const float* b, int rows, double fraction);

// The frame counter of the status bar: " %d : %d     " with frame + 1 and F.
std::string SlideCounterText(int frame, int frameCount);

// Steps through the frames: stopped, or playing once ("Single") or in a loop ("Continue").
class SlidePlayer {
public:
    enum class Mode { Stopped, Single, Continue };
    explicit SlidePlayer(int frameCount) : frames_(frameCount < 1 ? 1 : frameCount) {}

    int FrameCount() const { return frames_; }
    int Current() const { return current_; }
    Mode PlayMode() const { return mode_; }
    bool Playing() const { return mode_ != Mode::Stopped; }

    // "Single" or "Continue": from frame 0.
    void Play(bool loop);
    // "Stop": the current frame stays.
    void Stop() { mode_ = Mode::Stopped; }
    // A timer tick after the current frame was shown: the next frame, frame 0 again when
    // looping, or stopped after the last frame of a single run. Returns whether it still plays.
    bool Advance();

private:
    int frames_;
    int current_ = 0;
    Mode mode_ = Mode::Stopped;
};

// The 'Slide view parameters' dialog (20018): frames between two periods (0 to 5, a typed value
// outside corrected at once) and "Continue play".
struct SlideParamsModel : charts::DialogModel {
    int between = 0;
    bool loop = true; // "Continue play", checked at first
};
// A typed frame count brought into 0..5.
int ClampFramesBetween(int typed);

// What the slide window asks of the map view for each frame (the window message 1027): the
// frame count, the frame, and the client size to render at.
struct SlideFrameRequest {
    int frameCount = 0;
    int frame = 0;
    draw::Size client;
    draw::Color background = draw::White; // the window's button-face colour
};
// The answer (message 1029): the frame's bitmap, owned by the receiver from then on; none when
// the map view is gone or cannot paint.
using SlideRenderer = std::function<std::unique_ptr<draw::Raster>(const SlideFrameRequest&)>;

// Opening the slide window of a map view: its host runs this model (the window stays open
// after the call and asks the renderer for its frames).
struct SlideShowModel : charts::DialogModel {
    int frameCount = 0;
    bool loop = true;
    SlideRenderer render;
};

} // namespace zor::maps
