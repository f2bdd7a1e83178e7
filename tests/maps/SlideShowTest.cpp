// The slide show's frames: the count, what each frame shows, interpolation, the player's single
// and looping runs, the frames field and the counter.
#include "maps/SlideShow.h"
#include "core/Catalogue.h"

#include <gtest/gtest.h>

namespace zor::maps {
namespace {

constexpr float M = MissingValue;

TEST(SlideFrames, ThreePeriodsWithTwoBetweenMakeSevenFrames) {
    EXPECT_EQ(SlideFrameCount(3, 2), 7);
    EXPECT_EQ(SlideFrameCount(3, 0), 3);
    EXPECT_EQ(SlideFrameCount(2, 5), 7);
    EXPECT_EQ(SlideFrameCount(1, 5), 1);
    EXPECT_EQ(SlideFrameCount(0, 2), 0);
    // Frames 0, 3 and 6 show the periods; frame 1 is a third of the way from period 0 to 1,
    // labelled with period 0; frame 5 two thirds from period 1 to 2.
    EXPECT_EQ(PlanSlideFrame(7, 3, 0), (SlideFramePlan{0, 0}));
    EXPECT_EQ(PlanSlideFrame(7, 3, 3), (SlideFramePlan{1, 0}));
    EXPECT_EQ(PlanSlideFrame(7, 3, 6), (SlideFramePlan{2, 0}));
    const SlideFramePlan one = PlanSlideFrame(7, 3, 1);
    EXPECT_EQ(one.period, 0);
    EXPECT_NEAR(one.fraction, 1.0 / 3, 1e-12);
    const SlideFramePlan five = PlanSlideFrame(7, 3, 5);
    EXPECT_EQ(five.period, 1);
    EXPECT_NEAR(five.fraction, 2.0 / 3, 1e-12);
    // Without frames between, frame b is period b.
    EXPECT_EQ(PlanSlideFrame(4, 4, 2), (SlideFramePlan{2, 0}));
    // 40 periods with 5 between: every sixth frame is a period, exactly.
    for (int p = 0; p < 40; ++p) EXPECT_EQ(PlanSlideFrame(235, 40, 6 * p), (SlideFramePlan{p, 0}));
}

TEST(SlideFrames, InterpolatedValuesAreMissingWhereEitherEndIs) {
    const float a[] = {10, M, 5, -4};
    const float b[] = {40, 7, M, 8};
    const std::vector<float> v = InterpolateValues(a, b, 4, 1.0 / 3);
    EXPECT_FLOAT_EQ(v[0], 20);
    EXPECT_EQ(v[1], M);
    EXPECT_EQ(v[2], M);
    EXPECT_NEAR(v[3], 0, 1e-6);
    EXPECT_EQ(InterpolateValues(nullptr, b, 2, 0.5), (std::vector<float>{M, M}));
}

TEST(SlidePlayer, SingleRunStopsAfterTheLastFrameAndALoopStartsAgain) {
    SlidePlayer p(3);
    EXPECT_FALSE(p.Playing());
    p.Play(false);
    EXPECT_EQ(p.PlayMode(), SlidePlayer::Mode::Single);
    EXPECT_EQ(p.Current(), 0);
    EXPECT_TRUE(p.Advance());
    EXPECT_TRUE(p.Advance());
    EXPECT_EQ(p.Current(), 2);
    EXPECT_FALSE(p.Advance()); // after the last frame
    EXPECT_EQ(p.PlayMode(), SlidePlayer::Mode::Stopped);
    EXPECT_EQ(p.Current(), 2);

    p.Play(true);
    EXPECT_EQ(p.Current(), 0);
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(p.Advance());
    EXPECT_EQ(p.Current(), 0); // round again
    p.Stop();
    EXPECT_FALSE(p.Playing());
    EXPECT_EQ(SlidePlayer(0).FrameCount(), 1);
}

TEST(SlideParams, FramesBetweenAndCounter) {
    EXPECT_EQ(ClampFramesBetween(9), 5);
    EXPECT_EQ(ClampFramesBetween(-2), 0);
    EXPECT_EQ(ClampFramesBetween(3), 3);
    EXPECT_EQ(SlideCounterText(0, 7), " 1 : 7     ");
    EXPECT_EQ(SlideCounterText(6, 7), " 7 : 7     ");
}

} // namespace
} // namespace zor::maps
