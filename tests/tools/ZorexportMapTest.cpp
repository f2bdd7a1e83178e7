// zorexport render map and slides end to end: the map's data with its options, the picture, the
// slide show's frames as JSON and as one PNG per frame, and refused options.
#include "core/MapFormat.h"
#include "tests/support/Fixture.h"
#include "tests/tools/RunTool.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace zor {
namespace {

using test::RunTool;

constexpr float M = MissingValue;

MapPolygon Box(const char* code, int left, int top, int right, int bottom) {
    return {code, {{left, top}, {right, top}, {right, bottom}, {left, bottom}}};
}

struct Db {
    test::TempDir dir;
    Db() {
        test::Fixture f(dir.path());
        f.Set(10000, "Country", {"North", "South", "East", "Total"});
        f.Group(0, "Economy").Indicator(10, "GDP");
        f.Periods({2001, 2002, 2003});
        f.Values(10000, 2001, 10, {1, 2, 3, 6});
        f.Values(10000, 2002, 10, {M, 4, 5, 9});
        f.Values(10000, 2003, 10, {3, 6, 7, 16});
        f.Write();
        MapFile map;
        map.header.width = 640;
        map.header.height = 480;
        map.header.legend = {20, 250};
        map.header.totalLabel = {20, 440};
        map.polygons = {Box("N", 100, 50, 300, 250), Box("S", 300, 50, 500, 250),
                        Box("E", 100, 250, 500, 400)};
        test::WriteFile(dir.file("10000.map"), *WriteMapFile(map));
    }
    test::ToolResult Render(const std::string& view, std::vector<std::string> extra) {
        std::vector<std::string> args = {"render", view,        "DIR=" + dir.path(), "--indicators",
                                         "10",     "--periods", "2001,2002,2003"};
        args.insert(args.end(), extra.begin(), extra.end());
        return RunTool("zorexport", args);
    }
};

TEST(ZorexportMap, JsonOfTheClassesWithTheScaleOptions) {
    Db db;
    auto r = db.Render("map", {"--format", "json"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("{\"map\":10000,\"indicator\":10,\"period\":2001,\"mode\":\"parts\","
                          "\"sections\":5,\"limits\":[20,16,12,8,4,0],",
                          0),
              0u)
        << r.out;
    EXPECT_NE(r.out.find("\"total\":{\"name\":\"Total\",\"value\":6}"), std::string::npos);
    EXPECT_NE(r.out.find("{\"row\":3,"), std::string::npos);

    r = db.Render("map", {"--period", "1", "--limits", "8,6,4,2", "--format", "json"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"period\":2002,\"mode\":\"parts\",\"sections\":3,\"limits\":[8,6,4,2]"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("\"name\":\"North\",\"value\":null,\"class\":3"), std::string::npos);
    EXPECT_NE(r.out.find("\"name\":\"South\",\"value\":4,\"class\":2"), std::string::npos);
    EXPECT_NE(r.out.find("\"name\":\"Total\",\"value\":9,\"class\":3"), std::string::npos);

    r = db.Render("map", {"--mode", "quintiles", "--sections", "3", "--mono", "--format", "json"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"legend\":[\"Upper\",\"2-nd\",\"Lower\",\"No data\"]"),
              std::string::npos);
    EXPECT_NE(r.out.find("\"colors\":[\"#696969\",\"#c3c3c3\",\"#f0f0f0\",\"#ffffff\"]"),
              std::string::npos)
        << r.out;

    for (std::vector<std::string> bad : {std::vector<std::string>{"--sections", "8"},
                                         {"--mode", "quintiles", "--limits", "4,3,2,1"},
                                         {"--limits", "4,3"},
                                         {"--map", "10900"},
                                         {"--between", "1"}}) {
        bad.insert(bad.end(), {"--format", "json"});
        r = db.Render("map", bad);
        EXPECT_EQ(r.status, 64) << bad[0];
        EXPECT_NE(r.err.find("usage:"), std::string::npos);
    }
}

TEST(ZorexportMap, PictureOfTheRequestedSize) {
    Db db;
    const std::string out = db.dir.file("map.png");
    const auto r = db.Render("map", {"--size", "320x240", "--format", "png", "--out", out});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string png = test::ReadFile(out);
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(png.substr(1, 3), "PNG");
    EXPECT_EQ(uint8_t(png[18]) * 256 + uint8_t(png[19]), 320);
}

TEST(ZorexportMap, SlideFramesAsJsonAndAsOnePngEach) {
    Db db;
    auto r = db.Render("slides", {"--between", "1", "--format", "json"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("{\"frameCount\":5,\"frames\":[{\"index\":0,\"periodLabel\":\"2001\","
                          "\"values\":[1,2,3,6],",
                          0),
              0u)
        << r.out;
    // Frame 1 lies half way from 2001 to 2002: North has no 2002 value.
    EXPECT_NE(r.out.find("{\"index\":1,\"periodLabel\":\"2001\",\"values\":[null,3,4,7.5],"),
              std::string::npos)
        << r.out;

    const std::string dir = db.dir.file("frames");
    r = db.Render("slides",
                  {"--between", "1", "--size", "200x150", "--format", "png", "--out", dir});
    ASSERT_EQ(r.status, 0) << r.err;
    for (int i = 0; i < 5; ++i) {
        const std::string png = test::ReadFile(dir + "/frame-00" + std::to_string(i) + ".png");
        ASSERT_GT(png.size(), 24u) << i;
        EXPECT_EQ(uint8_t(png[18]) * 256 + uint8_t(png[19]), 200);
    }
    EXPECT_FALSE(std::filesystem::exists(dir + "/frame-005.png"));

    r = db.Render("slides", {"--format", "svg", "--out", db.dir.file("x.svg")});
    EXPECT_EQ(r.status, 64);
    EXPECT_NE(r.err.find("png"), std::string::npos);
    EXPECT_EQ(db.Render("slides", {"--between", "6", "--format", "json"}).status, 64);
}

} // namespace
} // namespace zor
