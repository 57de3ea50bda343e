// Grid steps and labels, SPL texel packing and the texture tiler: the arithmetic behind the
// views, checked without a GL context.
#include "views/Render/FieldEntity.h"
#include "views/Render/GeometryGL.h"
#include "views/Render/GridMath.h"
#include "views/Render/SplTexel.h"
#include "views/Render/TextureTiler.h"

#include "tests/core/support/LogCapture.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace zorvpro;
using namespace zorvpro::view;

TEST(GridMathTest, StepsFollowTheTableInMetresAndFeet)
{
    struct Case
    {
        double length;
        bool metric;
        double step;
    };
    const Case cases[] = {
        {0.35, true, 0.5},       {0.35, false, 0.6096}, {1500, true, 2000},   {0.01, true, 0.1},
        {0.2, true, 0.2},        {1000, true, 1000},    {1000.5, true, 2000}, {4100, true, 8000},
        {0.3048, false, 0.3048}, {-5, true, 0.1},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(GridStep(c.length, c.metric), c.step, 1e-12) << c.length << (c.metric ? " m" : " ft");
}

TEST(GridMathTest, FirstLineLiesStrictlyBeyondTheFrameStart)
{
    struct Case
    {
        double a, b, step, offset;
        int32_t count;
    };
    const Case cases[] = {
        {0.3, 2.9, 1.0, 0.7, 1},
        {1.0, 2.9, 1.0, 1.0, 0},
        {-1.3, 2.0, 0.5, 0.3, 6},
        {-2.0, -0.5, 0.5, 0.5, 2},
    };
    for (const Case& c : cases)
    {
        const GridLineRange r = GridLineStart(c.a, c.b, c.step);
        EXPECT_NEAR(r.offset, c.offset, 1e-12) << c.a;
        EXPECT_EQ(r.count, c.count) << c.a;
    }

    std::vector<double> xs;
    GridLines({10, 0, 0}, {0, 0, 0}, 0.7, 1.0, 2, [&](const math::Vec3& p) { xs.push_back(p.x); });
    ASSERT_EQ(xs.size(), 3u);
    EXPECT_NEAR(xs[0], 0.7, 1e-12);
    EXPECT_NEAR(xs[2], 2.7, 1e-12);
    int calls = 0;
    GridLines({10, 0, 0}, {0, 0, 0}, 0.5, 1.0, -1, [&](const math::Vec3&) { ++calls; });
    GridLines({10, 0, 0}, {0, 0, 0}, 0.5, 1.0, 10001, [&](const math::Vec3&) { ++calls; });
    EXPECT_EQ(calls, 0);
}

TEST(GridMathTest, NumbersShowDecimalsOnlyForFractionalStepsAndNeverMinusZero)
{
    struct Case
    {
        double value, step;
        bool metric;
        const char* text;
    };
    const Case cases[] = {
        {1.5, 0.5, true, "1.5"},      {2.0, 0.5, true, "2.0"},        {4.0, 2.0, true, "4"},
        {-0.04, 1.0, true, "0"},      {-0.01, 0.5, true, "0.0"},      {-3.0, 1.0, true, "-3"},
        {0.6096, 0.6096, false, "2"}, {-1.2192, 0.6096, false, "-4"}, {0.1524, 0.1524, false, "0.5"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatGridNumber(c.value, c.step, c.metric).toStdString(), c.text) << c.value;
}

TEST(SplTexelTest, PackingClampsToTheMapAndSurvivesTheShaderDecode)
{
    const double min = 60.0, max = 120.0;
    EXPECT_DOUBLE_EQ(SplMapPosition(0.0, min, max), 1.5 / 1024);
    EXPECT_DOUBLE_EQ(SplMapPosition(500.0, min, max), 1022.5 / 1024);
    EXPECT_DOUBLE_EQ(SplMapPosition(90.0, min, max), 0.5 * 1021 / 1024 + 1.5 / 1024);
    // Halfway is exactly 0.5: the top bit alone.
    EXPECT_EQ(PackSplTexel(90.0, min, max), QColor(128, 0, 0, 0));

    for (double v = min - 5; v <= max + 5; v += 0.37)
    {
        const QColor texel = PackSplTexel(v, min, max);
        const double expected = SplMapPosition(v, min, max);
        EXPECT_NEAR(UnpackSplTexel(texel.rgba()), expected, 1e-9) << v;
        // Tile images drop alpha and the GPU reads it back as 1: still far inside one map texel.
        QColor opaque = texel;
        opaque.setAlpha(255);
        EXPECT_NEAR(UnpackSplTexel(opaque.rgba()), expected, 1.0 / 1024 / 8) << v;
    }
}

TEST(SplTexelTest, ColorMapRepeatsItsEndsAndSamplesTheRangeEvenly)
{
    std::vector<double> asked;
    const auto red = [&](double v)
    {
        asked.push_back(v);
        return QColor::fromRgb(int(v) / 4, 0, 0);
    };
    EXPECT_TRUE(BuildColorMapImage(10, 10, red).isNull());
    EXPECT_TRUE(BuildColorMapImage(11, 10, red).isNull());
    EXPECT_TRUE(BuildColorMapImage(0, 1, {}).isNull());
    ASSERT_TRUE(asked.empty());

    const QImage map = BuildColorMapImage(0, 1022, red);
    ASSERT_EQ(map.size(), QSize(1024, 1));
    EXPECT_EQ(map.pixel(0, 0), map.pixel(1, 0));
    EXPECT_EQ(map.pixel(1023, 0), map.pixel(1022, 0));
    ASSERT_EQ(asked.size(), 1022u);
    EXPECT_DOUBLE_EQ(asked.front(), 1.0);
    EXPECT_DOUBLE_EQ(asked.back(), 1022.0);
    EXPECT_EQ(qRed(map.pixel(511, 0)), 127);
    EXPECT_EQ(qRed(map.pixel(1023, 0)), 255);
}

TEST(TextureTilerTest, TilesShareOneTexelWithTheirNeighbours)
{
    struct Case
    {
        int32_t width, height;
        std::vector<std::array<int32_t, 4>> tiles;
        int32_t perRow, rows;
    };
    const Case cases[] = {
        {50, 50, {{0, 0, 50, 50}, {49, 0, 50, 50}, {0, 49, 50, 50}, {49, 49, 50, 50}}, 2, 2},
        {100, 1, {{0, 0, 50, 1}, {49, 0, 99, 1}, {98, 0, 100, 1}}, 3, 1},
        {49, 10, {{0, 0, 49, 10}}, 1, 1},
        {0, 0, {}, 0, 0},
    };
    for (const Case& c : cases)
    {
        TextureTiler tiler;
        ASSERT_TRUE(tiler.Init(c.width, c.height, 50, 50));
        ASSERT_EQ(tiler.Tiles().size(), c.tiles.size()) << c.width;
        for (size_t i = 0; i < c.tiles.size(); ++i)
        {
            const auto& t = tiler.Tiles()[i];
            EXPECT_EQ((std::array<int32_t, 4>{t.x0, t.y0, t.x1, t.y1}), c.tiles[i])
                << c.width << " tile " << i;
            EXPECT_TRUE(t.geometry);
        }
        EXPECT_EQ(tiler.TilesPerRow(), c.perRow);
        EXPECT_EQ(tiler.TileRows(), c.rows);
    }
}

TEST(TextureTilerTest, TrianglesMatchTheTileThatHoldsAllTheirCorners)
{
    TextureTiler tiler;
    ASSERT_TRUE(tiler.Init(100, 100, 50, 50));
    const auto at = [](uint32_t column, uint32_t row) { return row * 100 + column; };
    struct Case
    {
        std::array<uint32_t, 3> triangle;
        int expected; // -1: no tile
    };
    const Case cases[] = {
        {{at(48, 0), at(49, 0), at(49, 1)}, 0},    {{at(49, 0), at(50, 0), at(50, 1)}, 1},
        {{at(48, 0), at(50, 0), at(49, 1)}, -1},   {{at(97, 49), at(98, 50), at(97, 50)}, 4},
        {{at(98, 98), at(99, 99), at(98, 99)}, 8}, {{at(10, 97), at(11, 98), at(10, 99)}, -1},
    };
    test::LogCapture log;
    for (const Case& c : cases)
    {
        const auto tile = tiler.MatchTileOverlaps(c.triangle);
        if (c.expected < 0)
            EXPECT_FALSE(tile.has_value()) << c.triangle[0];
        else
            EXPECT_EQ(tile.value_or(999), size_t(c.expected)) << c.triangle[0];
    }
    const auto lines = log.Lines();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& l)
                            { return l.find("Cannot match tile overlaps") != std::string::npos; }),
              2);

    // Tile images carry the texels' RGB, row by row, from each tile's own origin.
    TextureTiler small;
    ASSERT_TRUE(small.Init(3, 2, 2, 3));
    std::vector<QColor> texels;
    for (int i = 0; i < 6; ++i)
        texels.push_back(QColor(i * 10, i * 20, i * 30, 77));
    const auto images = small.BuildTileImages(texels);
    ASSERT_EQ(images.size(), 3u);
    EXPECT_EQ(images[1].size(), QSize(2, 2));
    EXPECT_EQ(images[1].pixel(0, 1), QColor(40, 80, 120).rgb());
}

TEST(FieldEntityTest, BadTexelDataKeepsTheOldGridAndEmptyRangesChangeNothing)
{
    FieldEntity entity("FieldEntity for test");
    test::LogCapture log;
    entity.SetMesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}}, {{0, 1, 3}}, {0, 1, 0, 1}, {0, 0, 1, 1}, 2,
                   2);
    EXPECT_EQ(entity.GridWidth(), 2);
    entity.PackTextureData({0, 1, 2}, {0, 0, 0}, 2, 2);
    EXPECT_EQ(entity.GridWidth(), 2);
    entity.PackTextureData({0, 1, 2}, {0, 0, 0}, 3, 1);
    EXPECT_EQ(entity.GridWidth(), 3);
    EXPECT_EQ(entity.GridHeight(), 1);
    const auto lines = log.Lines();
    EXPECT_NE(std::find_if(lines.begin(), lines.end(),
                           [](const std::string& l) {
                               return l.find("FieldEntity called without enough texture data") !=
                                      std::string::npos;
                           }),
              lines.end());

    entity.BuildColorMapTexture({1, 2, 3}, 5, 5, [](double) { return QColor(Qt::red); });
    entity.BuildColorMapTexture({1, 2, 3}, 1, 3, {});
    EXPECT_TRUE(entity.Texels().empty());
    EXPECT_TRUE(entity.ColorMapImage().isNull());
    entity.BuildColorMapTexture({1, 2, 3}, 1, 3, [](double) { return QColor(Qt::red); });
    EXPECT_EQ(entity.Texels().size(), 3u);
    EXPECT_EQ(entity.Texels()[2], PackSplTexel(3, 1, 3));
}
