// The EMF writer, parsed back: header, record sizes, handle table, bounds, the y-down mapping,
// text records with their advances, object reuse and determinism.
#include "EmfReader.h"
#include "SamplePictures.h"

#include "draw/EmfWriter.h"
#include "draw/Palette.h"

#include <gtest/gtest.h>

#include <set>

namespace zor::draw {
namespace {

using test::EmfFile;
using test::EmfRecord;

const FixedTextMeasurer kFixed;

void ChartMapping(DeviceContext& dc, Size client = {800, 600}) {
    dc.SetMapMode(MapMode::Anisotropic);
    dc.SetWindowExt(8000, -6000);
    dc.SetViewportExt(client.cx, client.cy);
    dc.SetWindowOrg(-750, -400);
    dc.SetViewportOrg(0, client.cy);
}

// Replays the object records the way a reader's handle table would, and fails on any use of a
// handle that does not exist, any creation over a live one, and any deletion of an object that
// is selected or held by a saved state.
struct HandleCheck {
    struct Selected {
        uint32_t pen = 0, brush = 0, font = 0, palette = 0;
    };
    void Run(const EmfFile& f) {
        const uint32_t nHandles = f.U16(56);
        std::set<uint32_t> live;
        std::map<uint32_t, uint32_t> kind; // handle -> creating record type
        Selected cur;
        std::vector<Selected> saved;
        auto holds = [&](uint32_t h) {
            auto in = [h](const Selected& s) {
                return s.pen == h || s.brush == h || s.font == h || s.palette == h;
            };
            if (in(cur)) return true;
            for (const Selected& s : saved)
                if (in(s)) return true;
            return false;
        };
        for (const EmfRecord& r : f.Records()) {
            uint32_t h = uint32_t(f.Field(r, 0));
            switch (r.type) {
            case emr::CreatePen:
            case emr::CreateBrushIndirect:
            case emr::ExtCreateFontIndirectW:
            case emr::CreatePalette:
                ASSERT_GE(h, 1u);
                ASSERT_LT(h, nHandles);
                ASSERT_FALSE(live.count(h)) << "created over live handle " << h;
                live.insert(h);
                kind[h] = r.type;
                maxHandle = std::max(maxHandle, h);
                ++created;
                break;
            case emr::SelectObject:
            case emr::SelectPalette: {
                uint32_t type = h & 0x80000000u ? 0 : kind[h];
                if (!(h & 0x80000000u)) {
                    ASSERT_TRUE(live.count(h)) << "select of dead " << h;
                }
                if (h == 0x80000008u || type == emr::CreatePen)
                    cur.pen = h;
                else if (h == 0x80000005u || type == emr::CreateBrushIndirect)
                    cur.brush = h;
                else if (type == emr::ExtCreateFontIndirectW)
                    cur.font = h;
                else
                    cur.palette = h;
                break;
            }
            case emr::DeleteObject:
                ASSERT_TRUE(live.count(h));
                ASSERT_FALSE(holds(h)) << "deleted an object in use: " << h;
                live.erase(h);
                ++deleted;
                break;
            case emr::SaveDc:
                saved.push_back(cur);
                break;
            case emr::RestoreDc: {
                int n = -f.Field(r, 0);
                ASSERT_GE(n, 1);
                ASSERT_LE(size_t(n), saved.size());
                cur = saved[saved.size() - size_t(n)];
                saved.resize(saved.size() - size_t(n));
                break;
            }
            default:
                break;
            }
        }
    }
    uint32_t maxHandle = 0;
    int created = 0, deleted = 0;
};

// The mapping a reader has in effect at each record, to check that written coordinates land on
// the same device pixels as the logical ones.
struct FileMapping {
    Size wext{1, 1}, vext{1, 1};
    Point worg, vorg;
    Point ToDevice(Point p) const {
        auto axis = [](int v, int o, int we, int vo, int ve) {
            return int((int64_t(v - o) * ve + int64_t(vo) * we) / we);
        };
        return {axis(p.x, worg.x, wext.cx, vorg.x, vext.cx),
                axis(p.y, worg.y, wext.cy, vorg.y, vext.cy)};
    }
    void Apply(const EmfFile& f, const EmfRecord& r) {
        Point p{f.Field(r, 0), f.Field(r, 1)};
        if (r.type == emr::SetWindowExtEx) wext = {p.x, p.y};
        if (r.type == emr::SetViewportExtEx) vext = {p.x, p.y};
        if (r.type == emr::SetWindowOrgEx) worg = p;
        if (r.type == emr::SetViewportOrgEx) vorg = p;
    }
};

TEST(EmfWriter, StructureOfTheChartSample) {
    EmfContext dc(kFixed, EmfOptions{{800, 600}, std::string("zorgui2\0Graph", 13)});
    test::DrawChartSample(dc, {800, 600});
    EmfFile f(dc.Finish());
    ASSERT_FALSE(f.Malformed());
    const auto& recs = f.Records();
    ASSERT_GE(recs.size(), 3u);

    // Header.
    const EmfRecord& h = recs[0];
    ASSERT_EQ(h.type, emr::Header);
    EXPECT_EQ(f.U32(40), 0x464D4520u); // " EMF"
    EXPECT_EQ(f.U32(44), 0x10000u);
    EXPECT_EQ(f.U32(48), f.Bytes().size());
    EXPECT_EQ(f.U32(52), recs.size());
    EXPECT_EQ(std::u16string(u"zorgui2\0Graph\0\0", 15), f.Utf16(f.U32(64), f.U32(60)));
    EXPECT_EQ(f.U32(60), 15u);
    EXPECT_EQ(f.U32(64), 108u);
    EXPECT_EQ(h.size, 108u + 32u); // description padded to 4 bytes
    // Reference device of exactly 4 pixels per millimetre.
    EXPECT_EQ(f.I32(72) * 1000, f.I32(80) * EmfContext::kPixelsPerMeter);
    EXPECT_EQ(f.I32(100), f.I32(80) * 1000); // micrometres

    // Every record is a multiple of 4 bytes; the end record closes the file.
    for (const EmfRecord& r : recs) EXPECT_EQ(r.size % 4, 0u) << r.type;
    const EmfRecord& eof = recs.back();
    EXPECT_EQ(eof.type, emr::Eof);
    EXPECT_EQ(eof.size, 20u);
    EXPECT_EQ(f.Field(eof, 2), 20);
    EXPECT_EQ(f.Count(emr::Header), 1u);

    // Bounds: the whole picture, inclusive; the frame is the same in 0.01 mm.
    EXPECT_EQ((Rect{f.I32(8), f.I32(12), f.I32(16), f.I32(20)}), (Rect{0, 0, 799, 599}));
    EXPECT_EQ((Rect{f.I32(24), f.I32(28), f.I32(32), f.I32(36)}), (Rect{0, 0, 19999, 14999}));

    // The handle table holds every object; all uses are of live objects.
    HandleCheck check;
    check.Run(f);
    EXPECT_EQ(f.U16(56), check.maxHandle + 1);
    EXPECT_GT(check.created, 5);
    // One palette, selected and realised.
    EXPECT_EQ(f.Count(emr::CreatePalette), 1u);
    EXPECT_EQ(f.Count(emr::RealizePalette), 1u);
    // Its entries (after handle, version and count) are all flagged reserved.
    const EmfRecord pal = f.OfType(emr::CreatePalette).front();
    const size_t entries = f.U16(pal.offset + 14);
    EXPECT_EQ(entries, ChartPalette.size());
    for (size_t i = 0; i < entries; ++i) EXPECT_EQ(f.U16(pal.offset + 16 + 4 * i + 2) >> 8, 1) << i;
}

TEST(EmfWriter, YUpMappingsAreWrittenYDownOnTheSamePixels) {
    EmfContext dc(kFixed);
    ChartMapping(dc);
    dc.Rectangle({0, 5000, 100, 0});
    Point line[3] = {{0, 0}, {2000, 3000}, {7250, 5600}};
    dc.Polyline(line);
    EmfFile f(dc.Finish());

    EXPECT_EQ(f.Count(emr::SetMapMode), 1u);
    EXPECT_EQ(f.Field(f.OfType(emr::SetMapMode)[0], 0), 8); // anisotropic
    FileMapping fm;
    for (const EmfRecord& r : f.Records()) {
        fm.Apply(f, r);
        if (r.type == emr::Rectangle) {
            // Negated and normalised.
            EXPECT_EQ((Rect{f.Field(r, 0), f.Field(r, 1), f.Field(r, 2), f.Field(r, 3)}),
                      (Rect{0, -5000, 100, 0}));
            EXPECT_EQ(fm.ToDevice({0, -5000}), dc.LPtoDP({0, 5000}));
        }
        if (r.type == emr::Polyline16) {
            ASSERT_EQ(f.Field(r, 4), 3);
            for (int i = 0; i < 3; ++i) {
                Point written{f.I16(r.offset + 28 + 4 * size_t(i)),
                              f.I16(r.offset + 30 + 4 * size_t(i))};
                EXPECT_EQ(written, (Point{line[i].x, -line[i].y}));
                EXPECT_EQ(fm.ToDevice(written), dc.LPtoDP(line[i]));
            }
            // Record bounds in device pixels, inclusive.
            EXPECT_EQ((Rect{f.Field(r, 0), f.Field(r, 1), f.Field(r, 2), f.Field(r, 3)}),
                      (Rect{75, 0, 800, 560}));
        }
    }
    // Both extents positive, the y origin negated.
    EXPECT_EQ(fm.wext, (Size{8000, 6000}));
    EXPECT_EQ(fm.vext, (Size{800, 600}));
    EXPECT_EQ(fm.worg, (Point{-750, 400}));
    EXPECT_EQ(fm.vorg, (Point{0, 600}));
}

TEST(EmfWriter, IsotropicAndLoMetricAreWrittenAsAnisotropic) {
    EmfContext dc(kFixed, EmfOptions{{500, 500}, ""});
    dc.SetMapMode(MapMode::Isotropic);
    dc.SetWindowExt(640, 480);
    dc.SetViewportExt(500, 500);
    dc.Rectangle({0, 0, 640, 480});
    dc.SetMapMode(MapMode::LoMetric);
    dc.Rectangle({0, 0, 100, 100});
    EmfFile f(dc.Finish());
    for (const EmfRecord& r : f.OfType(emr::SetMapMode)) EXPECT_EQ(f.Field(r, 0), 8);
    auto vext = f.OfType(emr::SetViewportExtEx);
    auto wext = f.OfType(emr::SetWindowExtEx);
    ASSERT_EQ(vext.size(), 2u);
    EXPECT_EQ((Size{f.Field(vext[0], 0), f.Field(vext[0], 1)}), (Size{500, 375}));
    EXPECT_EQ((Size{f.Field(wext[1], 0), f.Field(wext[1], 1)}), (Size{10000, 10000}));
    EXPECT_EQ((Size{f.Field(vext[1], 0), f.Field(vext[1], 1)}), (Size{4000, 4000}));
    // The 0.1 mm rectangle is flipped to y down.
    auto rects = f.OfType(emr::Rectangle);
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_EQ(f.Field(rects[1], 1), -100);
    EXPECT_EQ(f.Field(rects[1], 3), 0);
    // No bounds record the 500 × 375 map inside the 500 × 500 picture.
    EXPECT_EQ(f.I32(16), 499);
    EXPECT_EQ(f.I32(20), 499);
}

TEST(EmfWriter, TextRecordsCarryUtf16AndAdvancesOfTheMeasurer) {
    FixedTextMeasurer third(1.0 / 3.0);
    EmfContext dc(third);
    ChartMapping(dc);
    dc.SetFont(Font{.face = "Arial", .height = 150, .escapement = 900, .charset = 238});
    dc.SetTextAlign(ta::Right | ta::Baseline);
    const std::string text = "\xC5\xBD"
                             "a\xF0\x9F\x98\x80"; // Ž a 😀
    dc.Text(-120, 1940, text);
    EmfFile f(dc.Finish());

    auto texts = f.OfType(emr::ExtTextOutW);
    ASSERT_EQ(texts.size(), 1u);
    const EmfRecord& r = texts[0];
    const uint32_t n = uint32_t(f.Field(r, 9));
    const uint32_t offString = uint32_t(f.Field(r, 10));
    const uint32_t offDx = uint32_t(f.Field(r, 16));
    ASSERT_EQ(n, 4u);            // the emoji is two code units
    EXPECT_EQ(f.Field(r, 4), 1); // compatible graphics mode
    EXPECT_EQ((Point{f.Field(r, 7), f.Field(r, 8)}), (Point{-120, -1940}));
    EXPECT_EQ(offString, 76u);
    EXPECT_EQ(f.Utf16(r.offset + offString, n), Utf8ToUtf16(text));
    EXPECT_EQ(offDx, 76u + 8u);
    EXPECT_EQ(r.size, offDx + 4 * n);
    std::vector<int> dx;
    for (uint32_t i = 0; i < n; ++i) dx.push_back(f.I32(r.offset + offDx + 4 * i));
    // 50 units a character, truncated cumulatively; nothing for the second surrogate.
    EXPECT_EQ(dx, (std::vector<int>{50, 50, 50, 0}));
    EXPECT_EQ(dx, dc.TextAdvances(Utf8ToUtf16(text)));

    // The font record: orientation follows escapement, face and charset as given.
    auto fonts = f.OfType(emr::ExtCreateFontIndirectW);
    ASSERT_EQ(fonts.size(), 1u);
    const EmfRecord& lf = fonts[0];
    EXPECT_EQ(lf.size, 104u);
    EXPECT_EQ(f.Field(lf, 1), -150); // the character height: cell 150 is one em here
    EXPECT_EQ(f.Field(lf, 3), 900);
    EXPECT_EQ(f.Field(lf, 4), 900);
    EXPECT_EQ(uint8_t(f.Bytes()[lf.offset + 8 + 4 + 23]), 238);
    EXPECT_EQ(f.Utf16(lf.offset + 8 + 4 + 28, 6), std::u16string(u"Arial\0", 6));
    // Alignment written as given.
    EXPECT_EQ(f.Field(f.OfType(emr::SetTextAlign)[0], 0), int(ta::Right | ta::Baseline));
}

TEST(EmfWriter, PensAndBrushes) {
    EmfContext dc(kFixed);
    ChartMapping(dc);
    dc.SetPen(Pen::Solid(0, Rgb(1, 2, 3)));
    dc.MoveTo(0, 0);
    dc.LineTo(10, 10);
    dc.SetPen(GridPen());
    dc.LineTo(20, 20);
    dc.SetPen(Pen::None());
    dc.SetBrush(Brush::Hollow());
    dc.Rectangle({0, 0, 10, 10});
    dc.SetPen(ChartWidePen(2));
    // A palette reference in the high byte is dropped: colours are written as RGB.
    dc.SetBrush(Brush::Hatched(Hatch::DiagonalCross, 0x02000000 | Rgb(0, 0, 128)));
    dc.Ellipse({0, 0, 10, 10});
    EmfFile f(dc.Finish());

    auto pens = f.OfType(emr::CreatePen);
    ASSERT_EQ(pens.size(), 3u);
    // A one-pixel solid pen: one device pixel's worth of logical units (8000 / 800).
    EXPECT_EQ(f.Field(pens[0], 1), 0);
    EXPECT_EQ(f.Field(pens[0], 2), 10);
    EXPECT_EQ(uint32_t(f.Field(pens[0], 4)), Rgb(1, 2, 3));
    // The dotted grid pen stays width 0.
    EXPECT_EQ(f.Field(pens[1], 1), 2);
    EXPECT_EQ(f.Field(pens[1], 2), 0);
    EXPECT_EQ(f.Field(pens[2], 2), 25);
    // Null pen and hollow brush are stock objects.
    std::set<uint32_t> selected;
    for (const EmfRecord& r : f.OfType(emr::SelectObject)) selected.insert(uint32_t(f.Field(r, 0)));
    EXPECT_TRUE(selected.count(0x80000008u));
    EXPECT_TRUE(selected.count(0x80000005u));
    auto brushes = f.OfType(emr::CreateBrushIndirect);
    ASSERT_EQ(brushes.size(), 1u);
    EXPECT_EQ(f.Field(brushes[0], 1), 2); // hatched
    EXPECT_EQ(uint32_t(f.Field(brushes[0], 2)), Rgb(0, 0, 128));
    EXPECT_EQ(f.Field(brushes[0], 3), 5); // diagonal cross
}

TEST(EmfWriter, ObjectsAreReusedAndAttributesWrittenOnlyWhenUsed) {
    EmfContext dc(kFixed);
    for (int i = 0; i < 10; ++i) {
        dc.SetBrush(ChartBrush(i % 2));
        dc.SetTextColor(Rgb(i, 0, 0)); // no text drawn: never written
        dc.Rectangle({i, 0, i + 5, 5});
    }
    EmfFile f(dc.Finish());
    EXPECT_EQ(f.Count(emr::CreateBrushIndirect), 2u);
    EXPECT_EQ(f.Count(emr::CreatePen), 1u);
    EXPECT_EQ(f.Count(emr::SetTextColor), 0u);
    EXPECT_EQ(f.Count(emr::SelectObject), 1u + 10u); // the pen once, the brushes alternating
    EXPECT_EQ(f.Count(emr::Rectangle), 10u);
}

TEST(EmfWriter, ManyObjectsStayWithinTheTableWithoutDeletingOnesInUse) {
    EmfContext dc(kFixed);
    dc.SetBrush(Brush::Solid(Rgb(1, 1, 1)));
    dc.Rectangle({0, 0, 1, 1});
    dc.Save(); // the first brush is held by the saved state
    for (int i = 0; i < 300; ++i) {
        dc.SetBrush(Brush::Solid(Rgb(i, 7, 7)));
        dc.Rectangle({0, 0, 2, 2});
        if (i == 150) dc.Save();
        if (i == 200) dc.Restore();
    }
    dc.Restore();
    dc.Rectangle({0, 0, 3, 3});
    EmfFile f(dc.Finish());
    HandleCheck check;
    check.Run(f);
    EXPECT_LE(check.maxHandle, uint32_t(EmfContext::kMaxObjects) + 1);
    EXPECT_GT(check.deleted, 200);
    // After the restore the first brush is selected again without being created twice.
    int createdFirst = 0;
    for (const EmfRecord& r : f.OfType(emr::CreateBrushIndirect))
        if (uint32_t(f.Field(r, 2)) == Rgb(1, 1, 1)) ++createdFirst;
    EXPECT_EQ(createdFirst, 1);
}

TEST(EmfWriter, SavedStatesResynchroniseAfterRestore) {
    EmfContext dc(kFixed);
    dc.SetPen(Pen::Solid(0, Rgb(9, 0, 0)));
    dc.Save(); // the file has selected nothing yet
    dc.Rectangle({0, 0, 5, 5});
    dc.Restore();
    dc.Rectangle({0, 0, 6, 6}); // the reader lost the pen with the restore: select it again
    EmfFile f(dc.Finish());
    EXPECT_EQ(f.Count(emr::CreatePen), 1u);
    EXPECT_EQ(f.Count(emr::SaveDc), 1u);
    ASSERT_EQ(f.Count(emr::RestoreDc), 1u);
    EXPECT_EQ(f.Field(f.OfType(emr::RestoreDc)[0], 0), -1);
    size_t penSelects = 0;
    for (const EmfRecord& r : f.OfType(emr::SelectObject))
        if (f.Field(r, 0) == 1) ++penSelects;
    EXPECT_EQ(penSelects, 2u);
}

TEST(EmfWriter, ClippedTextBoxAndClipRectangles) {
    EmfContext dc(kFixed);
    ChartMapping(dc);
    dc.SetFont(Font{.height = 150});
    dc.IntersectClipRect({0, 5000, 5750, 0});
    dc.TextBox("one two three four", {0, 3000, 600, 2000}, dt::WordBreak);
    EmfFile f(dc.Finish());
    auto clips = f.OfType(emr::IntersectClipRect);
    ASSERT_EQ(clips.size(), 2u);
    EXPECT_EQ((Rect{f.Field(clips[0], 0), f.Field(clips[0], 1), f.Field(clips[0], 2),
                    f.Field(clips[0], 3)}),
              (Rect{0, -5000, 5750, 0}));
    EXPECT_EQ(f.Field(clips[1], 1), -3000);
    EXPECT_EQ(f.Count(emr::SaveDc), 1u);
    EXPECT_EQ(f.Count(emr::RestoreDc), 1u);
    // "one two" is 525 wide at 75 a character: three lines, each a text record going down.
    auto texts = f.OfType(emr::ExtTextOutW);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(f.Field(texts[0], 8), -3000);
    EXPECT_EQ(f.Field(texts[1], 8), -2850);
    EXPECT_EQ(f.Count(emr::SetTextAlign), 0u); // left top is what a reader starts with
}

TEST(EmfWriter, LargeCoordinatesFallBackToThirtyTwoBitPolygons) {
    EmfContext dc(kFixed);
    ChartMapping(dc);
    Point fits[3] = {{0, 32768}, {10, 0}, {20, 10}};  // -32768 after the flip
    Point wide[3] = {{0, -32768}, {10, 0}, {20, 10}}; // 32768 does not fit 16 bits
    dc.Polygon(fits);
    dc.Polygon(wide);
    EmfFile f(dc.Finish());
    ASSERT_EQ(f.Count(emr::Polygon16), 1u);
    auto big = f.OfType(emr::Polygon);
    ASSERT_EQ(big.size(), 1u);
    EXPECT_EQ(big[0].size, 28u + 3 * 8);
    EXPECT_EQ(f.Field(big[0], 6), 32768);
}

TEST(EmfWriter, BoundsGrowWithInkOutsideThePicture) {
    EmfContext dc(kFixed, EmfOptions{{100, 100}, ""});
    dc.SetPen(Pen::None());
    dc.Rectangle({-20, -10, 150, 50});
    EmfFile f(dc.Finish());
    EXPECT_EQ((Rect{f.I32(8), f.I32(12), f.I32(16), f.I32(20)}), (Rect{-20, -10, 149, 99}));
    EXPECT_EQ(f.I32(24), -20 * 25);
    EXPECT_EQ(f.I32(32), 150 * 25 - 1);
    EXPECT_EQ(f.U32(60), 0u); // no description
    EXPECT_EQ(f.Records()[0].size, 108u);
}

TEST(EmfWriter, SameDrawingSameBytes) {
    auto render = [] {
        EmfContext dc(kFixed, EmfOptions{{800, 600}, std::string("zorgui2\0Graph", 13)});
        test::DrawChartSample(dc, {800, 600});
        return dc.Finish();
    };
    std::string a = render();
    EXPECT_EQ(a, render());
    // Finishing twice gives the same bytes; drawing afterwards changes nothing.
    EmfContext dc(kFixed);
    test::DrawMapSample(dc, {800, 600});
    std::string once = dc.Finish();
    dc.Rectangle({0, 0, 10, 10});
    EXPECT_EQ(dc.Finish(), once);
    EXPECT_FALSE(EmfFile(once).Malformed());
}

} // namespace
} // namespace zor::draw
