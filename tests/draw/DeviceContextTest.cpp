// Saved states, clipping, helpers and the series colours of the device context.
#include "draw/Palette.h"
#include "draw/RecordingContext.h"

#include <gtest/gtest.h>

namespace zor::draw {
namespace {

TEST(SavedState, RestoreByAbsoluteAndRelativeLevel) {
    RecordingContext dc;
    dc.SetPen(Pen::Solid(1, Rgb(1, 0, 0)));
    int first = dc.Save();
    EXPECT_EQ(first, 1);
    dc.SetPen(Pen::Solid(2, Rgb(2, 0, 0)));
    dc.Save();
    dc.SetPen(Pen::Solid(3, Rgb(3, 0, 0)));
    dc.Save();
    dc.SetPen(Pen::Solid(4, Rgb(4, 0, 0)));
    EXPECT_EQ(dc.SaveDepth(), 3);

    EXPECT_TRUE(dc.Restore(-1)); // the last save
    EXPECT_EQ(dc.GetPen().width, 3);
    EXPECT_TRUE(dc.Restore(first)); // drops the save above it as well
    EXPECT_EQ(dc.GetPen().width, 1);
    EXPECT_EQ(dc.SaveDepth(), 0);

    // Nothing to restore: refused, nothing changes.
    EXPECT_FALSE(dc.Restore(-1));
    EXPECT_FALSE(dc.Restore(1));
    EXPECT_FALSE(dc.Restore(0));
    EXPECT_EQ(dc.GetPen().width, 1);
}

TEST(SavedState, GuardRestoresEverythingIncludingMappingAndClip) {
    RecordingContext dc;
    dc.SetMapMode(MapMode::Anisotropic);
    dc.SetWindowExt(100, -100);
    dc.SetViewportExt(200, 200);
    DcState before = dc.State();
    {
        StateSaver saver(dc);
        dc.SetWindowExt(50, 50);
        dc.SetBrush(Brush::Hatched(Hatch::DiagonalCross, Black));
        dc.SetFont(Font{.face = "Courier New", .height = 99});
        dc.SetTextAlign(ta::Right | ta::Baseline);
        dc.SetRop2(Rop2::XorPen);
        dc.IntersectClipRect({0, 0, 10, -10});
        dc.MoveTo(5, 5);
        EXPECT_TRUE(dc.State().clip.has_value());
    }
    const DcState& after = dc.State();
    EXPECT_EQ(after.mapping, before.mapping);
    EXPECT_EQ(after.brush, before.brush);
    EXPECT_EQ(after.font, before.font);
    EXPECT_EQ(after.textAlign, before.textAlign);
    EXPECT_EQ(after.rop2, before.rop2);
    EXPECT_EQ(after.position, before.position);
    EXPECT_FALSE(after.clip.has_value());
    EXPECT_EQ(dc.SaveDepth(), 0);
}

TEST(Clipping, ClipIsKeptInDevicePixelsAndOnlyShrinks) {
    RecordingContext dc;
    dc.SetMapMode(MapMode::Anisotropic);
    dc.SetWindowExt(1000, -1000);
    dc.SetViewportExt(100, 100);
    dc.SetViewportOrg(0, 100);
    dc.IntersectClipRect({100, 900, 500, 500}); // logical, y up
    EXPECT_EQ(*dc.State().clip, (Rect{10, 10, 50, 50}));
    // A later mapping change does not move it.
    dc.SetViewportExt(200, 200);
    EXPECT_EQ(*dc.State().clip, (Rect{10, 10, 50, 50}));
    // Intersecting with a rectangle that overlaps in part...
    dc.SetViewportExt(100, 100);
    dc.IntersectClipRect({300, 700, 900, 100});
    EXPECT_EQ(*dc.State().clip, (Rect{30, 30, 50, 50}));
    // ... and with one that does not: nothing stays visible.
    dc.IntersectClipRect({0, 100, 50, 0});
    EXPECT_TRUE(dc.State().clip->IsEmpty());
}

TEST(Helpers, FillRectLeavesPenAndBrushAlone) {
    RecordingContext dc;
    Pen pen = Pen::Solid(7, Rgb(1, 2, 3));
    dc.SetPen(pen);
    dc.SetBrush(Brush::Hollow());
    FillRect(dc, {0, 0, 10, 10}, Brush::Solid(Rgb(9, 9, 9)));
    EXPECT_EQ(dc.GetPen(), pen);
    EXPECT_EQ(dc.GetBrush().style, BrushStyle::Hollow);
    EXPECT_NE(dc.Recording().find("brush solid #090909\nrect 0 0 10 10\n"), std::string::npos);
}

TEST(Helpers, PenWidthOnTheDevice) {
    RecordingContext dc;
    dc.SetMapMode(MapMode::Anisotropic);
    dc.SetWindowExt(8000, -6000);
    dc.SetViewportExt(800, 600);
    dc.SetPen(ChartWidePen(0));
    EXPECT_EQ(dc.DevicePenWidth(), 2);
    dc.SetPen(ChartThinPen(0));
    EXPECT_EQ(dc.DevicePenWidth(), 1);
    dc.SetPen(Pen::Solid(3, Black)); // less than a pixel still draws one
    EXPECT_EQ(dc.DevicePenWidth(), 1);
    dc.SetPen(Pen::None());
    EXPECT_EQ(dc.DevicePenWidth(), 0);
}

TEST(ChartColors, TableAndCycling) {
    EXPECT_EQ(ChartColor(0), Rgb(255, 0, 0));
    EXPECT_EQ(ChartColor(13), Rgb(25, 25, 112));
    EXPECT_EQ(ChartColor(24), Rgb(106, 85, 211));
    EXPECT_EQ(ChartColor(30), ChartColor(9)); // the table repeats entry 9 at its end
    // Series positions past the table cycle through it; negative ones count from the end.
    EXPECT_EQ(ChartColor(31), ChartColor(0));
    EXPECT_EQ(ChartColor(31 * 3 + 7), ChartColor(7));
    EXPECT_EQ(ChartColor(-1), ChartColor(30));
    EXPECT_EQ(ChartBrush(40), Brush::Solid(ChartColor(9)));
    EXPECT_EQ(GridPen(), (Pen{PenStyle::Dot, 0, Black}));
    // COLORREF layout: red in the low byte.
    EXPECT_EQ(Rgb(0x12, 0x34, 0x56), 0x563412u);
    EXPECT_EQ(BlueOf(ChartColor(2)), 255);
}

} // namespace
} // namespace zor::draw
