#include "draw/Mapping.h"

#include <gtest/gtest.h>

#include <climits>

namespace zor::draw {
namespace {

// The chart screen mapping: logical extent 8000 × 6000 with y up, origin offset (750, 400),
// onto a client area of w × h pixels.
Mapping ChartScreen(int w, int h) {
    Mapping m;
    m.SetMode(MapMode::Anisotropic);
    EXPECT_TRUE(m.SetWindowExt({8000, -6000}));
    EXPECT_TRUE(m.SetViewportExt({w, h}));
    m.SetWindowOrg({-750, -400});
    m.SetViewportOrg({0, h});
    return m;
}

TEST(Mapping, AnisotropicYUpPutsTheLogicalWindowOnTheClientArea) {
    Mapping m = ChartScreen(800, 600);
    EXPECT_TRUE(m.YUp());
    EXPECT_EQ(m.ToDevice({-750, -400}), (Point{0, 600})); // bottom left
    EXPECT_EQ(m.ToDevice({7250, 5600}), (Point{800, 0})); // top right
    EXPECT_EQ(m.ToDevice({0, 0}), (Point{75, 560}));      // the plot origin
    // Stretched independently: a wide client doubles x only.
    Mapping wide = ChartScreen(1600, 600);
    EXPECT_EQ(wide.ToDevice({0, 0}), (Point{150, 560}));
    EXPECT_DOUBLE_EQ(wide.ScaleX(), 0.2);
    EXPECT_DOUBLE_EQ(wide.ScaleY(), -0.1);
}

TEST(Mapping, ConversionsTruncateTowardZero) {
    Mapping m;
    m.SetMode(MapMode::Anisotropic);
    m.SetWindowExt({10, 10});
    m.SetViewportExt({3, 3});
    // 0.3 steps: 1.5 -> 1, -1.5 -> -1 (not -2), 2.7 -> 2, -2.7 -> -2.
    EXPECT_EQ(m.ToDevice({5, -5}), (Point{1, -1}));
    EXPECT_EQ(m.ToDevice({9, -9}), (Point{2, -2}));
    // The whole result is truncated, origins included: (-5) * 0.3 + 10 = 8.5 -> 8.
    m.SetViewportOrg({10, 10});
    EXPECT_EQ(m.ToDevice({-5, -5}), (Point{8, 8}));
    // Back: device 1 is logical 3.33 -> 3; device -1 is -3.33 -> -3.
    m.SetViewportOrg({0, 0});
    EXPECT_EQ(m.ToLogical({1, -1}), (Point{3, -3}));
}

TEST(Mapping, RoundTrips) {
    // Whole-number scales come back exactly.
    Mapping zoom;
    zoom.SetMode(MapMode::Anisotropic);
    zoom.SetWindowExt({100, -100});
    zoom.SetViewportExt({300, 200});
    zoom.SetWindowOrg({-20, 30});
    zoom.SetViewportOrg({5, 400});
    for (int x = -50; x <= 50; x += 7)
        for (int y = -50; y <= 50; y += 9)
            EXPECT_EQ(zoom.ToLogical(zoom.ToDevice({x, y})), (Point{x, y}));
    // Device pixels of a finer logical space come back exactly; logical points within the
    // logical length of one pixel.
    Mapping chart = ChartScreen(800, 600);
    for (int dx = 0; dx <= 800; dx += 37)
        for (int dy = 0; dy <= 600; dy += 41)
            EXPECT_EQ(chart.ToDevice(chart.ToLogical({dx, dy})), (Point{dx, dy}));
    Mapping odd = ChartScreen(777, 555);
    for (int x = -750; x <= 7250; x += 333) {
        Point back = odd.ToLogical(odd.ToDevice({x, 1234}));
        EXPECT_LE(std::abs(back.x - x), 11) << x;
        EXPECT_LE(std::abs(back.y - 1234), 11);
    }
}

TEST(Mapping, EmptyExtentsAreRefused) {
    Mapping m = ChartScreen(800, 600);
    Mapping before = m;
    EXPECT_FALSE(m.SetWindowExt({0, -6000}));
    EXPECT_FALSE(m.SetWindowExt({8000, 0}));
    EXPECT_FALSE(m.SetViewportExt({0, 0})); // a minimised window
    EXPECT_EQ(m, before);
    EXPECT_EQ(m.ToDevice({0, 0}), (Point{75, 560}));
    // The fixed modes take no extents at all.
    Mapping text;
    EXPECT_FALSE(text.SetWindowExt({5, 5}));
    EXPECT_EQ(text.ToDevice({17, -3}), (Point{17, -3}));
    text.SetMode(MapMode::LoMetric);
    EXPECT_FALSE(text.SetViewportExt({5, 5}));
}

TEST(Mapping, IsotropicShrinksTheLongerAxisAndKeepsTheViewportOrigin) {
    Mapping m;
    m.SetMode(MapMode::Isotropic);
    m.SetWindowExt({8000, -6000});
    m.SetViewportExt({1000, 1000}); // taller than 4:3: y shrinks, keeps its sign
    EXPECT_EQ(m.ViewportExt(), (Size{1000, 750}));
    m.SetViewportOrg({0, 750});
    EXPECT_EQ(m.ToDevice({0, 0}), (Point{0, 750}));
    EXPECT_EQ(m.ToDevice({8000, 6000}), (Point{1000, 0}));

    m.SetViewportExt({2000, 600}); // wider: x shrinks
    EXPECT_EQ(m.ViewportExt(), (Size{800, 600}));
    EXPECT_EQ(m.RequestedViewportExt(), (Size{2000, 600}));

    // The order of the two extent calls does not matter.
    Mapping reversed;
    reversed.SetMode(MapMode::Isotropic);
    reversed.SetViewportExt({2000, 600});
    reversed.SetWindowExt({8000, -6000});
    EXPECT_EQ(reversed.ViewportExt(), (Size{800, 600}));

    // A map in y-down map units on a window of another shape.
    Mapping map;
    map.SetMode(MapMode::Isotropic);
    map.SetWindowExt({640, 480});
    map.SetViewportExt({500, 500});
    EXPECT_EQ(map.ViewportExt(), (Size{500, 375}));
    EXPECT_FALSE(map.YUp());
    EXPECT_EQ(map.ToDevice({640, 480}), (Point{500, 375}));
}

TEST(Mapping, IsotropicAccountsForPixelAspect) {
    // Pixels twice as tall as wide (half as many per metre in y): a square logical space takes
    // twice as many pixels across as down.
    Mapping m(4000, 2000);
    m.SetMode(MapMode::Isotropic);
    m.SetWindowExt({100, 100});
    m.SetViewportExt({400, 400});
    EXPECT_EQ(m.ViewportExt(), (Size{400, 200}));
}

TEST(Mapping, LoMetricIsTenthsOfAMillimetreWithYUp) {
    Mapping m(23622, 23622); // 600 dpi
    m.SetMode(MapMode::LoMetric);
    EXPECT_TRUE(m.YUp());
    EXPECT_EQ(m.ToDevice({100, 100}), (Point{236, -236})); // 1 cm = 236.22 pixels
    m.SetViewportOrg({0, 6000});
    m.SetWindowOrg({-10, -50}); // 1 mm and 5 mm margins
    EXPECT_EQ(m.ToDevice({-10, -50}), (Point{0, 6000}));
    // 5881.89 as a whole truncates to 5881.
    EXPECT_EQ(m.ToDevice({0, 0}), (Point{23, 5881}));
}

TEST(Mapping, ModeSwitchesFollowGdi) {
    Mapping m(4000, 4000);
    m.SetMode(MapMode::Isotropic); // starts from the LoMetric extents
    EXPECT_EQ(m.WindowExt(), (Size{10000, 10000}));
    EXPECT_EQ(m.ViewportExt(), (Size{4000, -4000}));
    m.SetWindowExt({100, 100});
    m.SetViewportExt({300, 200});
    m.SetMode(MapMode::Anisotropic); // keeps the extents in effect
    EXPECT_EQ(m.ViewportExt(), (Size{200, 200}));
    m.SetMode(MapMode::Text);
    EXPECT_EQ(m.ToDevice({7, 9}), (Point{7, 9}));
}

TEST(Mapping, ExtremeCoordinatesSaturateInsteadOfOverflowing) {
    Mapping m;
    m.SetMode(MapMode::Anisotropic);
    m.SetWindowExt({1, 1});
    m.SetViewportExt({INT_MAX, -INT_MAX});
    m.SetWindowOrg({INT_MIN, 0});
    Point p = m.ToDevice({INT_MAX, INT_MAX});
    EXPECT_EQ(p.x, INT_MAX);
    EXPECT_EQ(p.y, INT_MIN);
    EXPECT_EQ(m.ToDeviceLengthX(INT_MAX), INT_MAX);
}

TEST(Mapping, LengthsUseTheMagnitudeOfTheScale) {
    Mapping m = ChartScreen(800, 600);
    EXPECT_EQ(m.ToDeviceLengthX(25), 2);   // a wide chart pen: 2.5 pixels
    EXPECT_EQ(m.ToDeviceLengthY(150), 15); // the axis font
    EXPECT_EQ(m.ToLogicalLengthX(1), 10);  // one pixel
    EXPECT_EQ(m.ToLogicalLengthY(-3), 30);
}

} // namespace
} // namespace zor::draw
