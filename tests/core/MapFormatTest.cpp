#include "core/MapFormat.h"

#include "core/Bytes.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

MapFile Sample() {
    MapFile m;
    m.header.timeLabel = {10, 20};
    m.header.totalLabel = {30, 440};
    m.header.legend = {-5, 300};
    m.header.reservedPoint = {1, 2};
    m.header.width = 640;
    m.header.height = 480;
    m.polygons.push_back({"1", {{0, 0}, {100, 0}, {100, 100}, {0, 0}}});
    m.polygons.push_back({"1", {{200, 200}, {300, 200}, {300, 300}}}); // open ring
    m.polygons.push_back({"12345678901234567890", {{-32768, 32767}, {5, 5}, {7, 9}}});
    return m;
}

TEST(MapFormat, ParsesBackWhatTheWriterWrote) {
    MapFile m = Sample();
    auto bytes = WriteMapFile(m);
    ASSERT_TRUE(bytes);
    // Header, then 22 bytes + 4 per vertex for each record.
    EXPECT_EQ(bytes->size(), MapHeaderSize + 3 * 22 + (4 + 3 + 3) * 4);
    auto back = ParseMapFile(*bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->header.timeLabel, (MapPoint{10, 20}));
    EXPECT_EQ(back->header.totalLabel, (MapPoint{30, 440}));
    EXPECT_EQ(back->header.legend, (MapPoint{-5, 300}));
    EXPECT_EQ(back->header.reservedPoint, (MapPoint{1, 2}));
    EXPECT_EQ(back->header.width, 640);
    EXPECT_EQ(back->header.height, 480);
    ASSERT_EQ(back->polygons.size(), 3u);
    EXPECT_EQ(back->polygons[0].code, "1");
    // A closed ring keeps its count; an open one gets the first vertex appended.
    EXPECT_EQ(back->polygons[0].points, m.polygons[0].points);
    ASSERT_EQ(back->polygons[1].points.size(), 4u);
    EXPECT_EQ(back->polygons[1].points.back(), (MapPoint{200, 200}));
    // A code that fills its field has no terminator and still reads back whole.
    EXPECT_EQ(back->polygons[2].code, "12345678901234567890");
    EXPECT_EQ(back->polygons[2].points[0], (MapPoint{-32768, 32767}));
}

TEST(MapFormat, HeaderFieldsAtTheirOffsets) {
    auto bytes = WriteMapFile(Sample());
    ASSERT_TRUE(bytes);
    ByteReader r(*bytes);
    EXPECT_EQ(r.i16(), 3); // polygon count
    r.seek(6);
    EXPECT_EQ(r.i16(), 10); // time label x
    r.seek(14);
    EXPECT_EQ(r.i16(), -5); // legend x
    r.seek(22);
    EXPECT_EQ(r.i16(), 640);
    EXPECT_EQ(r.i16(), 480);
    EXPECT_EQ(r.name(20), "1");
    EXPECT_EQ(r.i16(), 4); // vertex count of the first record
}

TEST(MapFormat, WriterRefusesWhatDoesNotFit) {
    std::string why;
    MapFile m = Sample();
    m.polygons[0].points[1].x = 40000;
    EXPECT_FALSE(WriteMapFile(m, &why));
    EXPECT_NE(why.find("polygon 0"), std::string::npos);

    m = Sample();
    m.polygons[1].code = std::string(21, 'x');
    EXPECT_FALSE(WriteMapFile(m, &why));

    m = Sample();
    m.header.legend.y = -40000;
    EXPECT_FALSE(WriteMapFile(m));

    m = Sample();
    m.polygons[0].points.assign(32768, MapPoint{1, 1});
    EXPECT_FALSE(WriteMapFile(m));
}

TEST(MapFormat, TruncatedFilesFailAtEveryLength) {
    auto bytes = WriteMapFile(Sample());
    ASSERT_TRUE(bytes);
    for (size_t n = 0; n < bytes->size(); ++n)
        EXPECT_FALSE(ParseMapFile(std::string_view(*bytes).substr(0, n))) << "length " << n;
    // Trailing bytes after the announced records are not part of the map.
    auto longer = *bytes + "junk";
    auto parsed = ParseMapFile(longer);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->polygons.size(), 3u);
}

TEST(MapFormat, LyingCountsFailWithoutHugeAllocations) {
    auto bytes = *WriteMapFile(Sample());
    std::string lying = bytes;
    lying[0] = char(0xFF); // N = 32767 records announced, three present
    lying[1] = 0x7F;
    EXPECT_FALSE(ParseMapFile(lying));

    lying = bytes;
    lying[0] = char(0xFF); // N = -1
    lying[1] = char(0xFF);
    EXPECT_FALSE(ParseMapFile(lying));

    // First record claims 32767 vertices, or a negative count.
    lying = bytes;
    lying[MapHeaderSize + 20] = char(0xFF);
    lying[MapHeaderSize + 21] = 0x7F;
    EXPECT_FALSE(ParseMapFile(lying));
    lying[MapHeaderSize + 21] = char(0x80);
    EXPECT_FALSE(ParseMapFile(lying));
}

TEST(MapFormat, EmptyMapAndEmptyPolygon) {
    MapFile m;
    m.header.width = 100;
    m.header.height = 50;
    auto bytes = WriteMapFile(m);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes->size(), MapHeaderSize);
    auto back = ParseMapFile(*bytes);
    ASSERT_TRUE(back);
    EXPECT_TRUE(back->polygons.empty());

    m.polygons.push_back({"7", {}});
    back = ParseMapFile(*WriteMapFile(m));
    ASSERT_TRUE(back);
    ASSERT_EQ(back->polygons.size(), 1u);
    EXPECT_TRUE(back->polygons[0].points.empty());
}

TEST(MapFormat, RowsFollowRunsOfEqualCodes) {
    std::vector<MapPolygon> p = {{"1", {}}, {"1", {}}, {"2", {}}, {"1", {}}, {"3", {}}, {"3", {}}};
    EXPECT_EQ(MatchPolygonRows(p), (std::vector<int>{0, 0, 1, 2, 3, 3}));
    EXPECT_TRUE(MatchPolygonRows({}).empty());
}

} // namespace
} // namespace zor
