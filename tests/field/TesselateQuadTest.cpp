#include "data/Field/TesselateQuad.h"
#include "core/math/Compare.h"
#include "tests/core/support/LogCapture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace zorvpro::field
{
namespace
{

using math::Vec3;

struct Grid
{
    const char* name;
    Vec3 p0, p1, p2, p3;
    double spacing;
    uint32_t rows, columns, triangles;
};

size_t CountText(const std::vector<std::string>& texts, const std::string& text)
{
    return size_t(std::count(texts.begin(), texts.end(), text));
}

bool HasTwoEqualCorners(const std::vector<acoustics::FieldPoint>& points, const ChunkMesh::Triangle& t)
{
    auto at = [&](uint32_t i) { return Vec3(points[i].x, points[i].y, points[i].z); };
    return math::IsEqual(at(t[0]), at(t[1])) || math::IsEqual(at(t[1]), at(t[2])) ||
           math::IsEqual(at(t[0]), at(t[2]));
}

TEST(TesselateQuad, GridsHaveTheirSizePointOrderAndTriangles)
{
    const Grid grids[] = {
        {"unit square", {0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, 1.0, 2, 2, 2},
        {"unit square, half", {0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, 0.5, 3, 3, 8},
        {"10 x 3 at 2 m", {0, 0, 0}, {10, 0, 0}, {10, 3, 0}, {0, 3, 0}, 2.0, 6, 3, 20},
        {"triangle (p2 = p3)", {0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {4, 4, 0}, 1.0, 5, 7, 0},
        {"tilted", {0, 0, 0}, {3, 0, 3}, {3, 2, 3}, {0, 2, 0}, 1.0, 5, 3, 16},
    };
    test::LogCapture log;
    auto chunk = std::make_shared<FieldChunk>(1);
    for (const Grid& g : grids)
    {
        SCOPED_TRACE(g.name);
        TesselateQuad(chunk, g.spacing, g.p0, g.p1, g.p2, g.p3);
        const ChunkMesh mesh = chunk->GetMesh();
        const auto points = chunk->GetPoints().GetPoints();
        EXPECT_EQ(mesh.rowCount, g.rows);
        EXPECT_EQ(mesh.columnCount, g.columns);
        ASSERT_EQ(points.size(), size_t(g.rows) * g.columns);
        ASSERT_EQ(mesh.rowIndex.size(), points.size());
        for (size_t k = 0; k < points.size(); ++k)
        {
            ASSERT_EQ(mesh.rowIndex[k] * g.columns + mesh.columnIndex[k], k);
            if (k > 0)
            {
                ASSERT_EQ(points[k].tag, points[k - 1].tag + 1) << "ids run on within a grid";
            }
        }
        for (const auto& t : mesh.triangles)
        {
            ASSERT_TRUE(std::max({t[0], t[1], t[2]}) < points.size());
            ASSERT_FALSE(HasTwoEqualCorners(points, t));
        }
        if (g.triangles)
        {
            EXPECT_EQ(mesh.triangles.size(), g.triangles);
        }
        // Corners of the grid are the quad's corners: row 0 runs along p0 -> p3.
        EXPECT_TRUE(math::IsEqual(Vec3(points.front().x, points.front().y, points.front().z), g.p0));
        const auto& last = points.back();
        EXPECT_TRUE(math::IsEqual(Vec3(last.x, last.y, last.z), g.p2));
    }
    // Inside the 10 x 3 quad: point (row i, column j) lies at (2 i, 1.5 j).
    TesselateQuad(chunk, 2.0, {0, 0, 0}, {10, 0, 0}, {10, 3, 0}, {0, 3, 0});
    const auto p = chunk->GetPoints().At(3 * 3 + 1);
    EXPECT_NEAR(p.x, 6.0, 1e-12);
    EXPECT_NEAR(p.y, 1.5, 1e-12);
    const auto texts = log.Texts();
    EXPECT_EQ(CountText(texts, "TesselateQuad passed bad parameters"), 0u);
}

TEST(TesselateQuad, BadQuadsAreRefusedAndLeaveTheChunkCleared)
{
    const Vec3 square[] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    const struct
    {
        const char* name;
        Vec3 p0, p1, p2, p3;
        double spacing;
    } refused[] = {
        {"spacing below a millimetre", square[0], square[1], square[2], square[3], 0.0009},
        {"no spacing", square[0], square[1], square[2], square[3], std::nan("")},
        {"corners on a line", {0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}, 0.5},
        {"all corners equal", {1, 1, 1}, {1, 1, 1}, {1, 1, 1}, {1, 1, 1}, 0.5},
        {"area over spacing above a million", {0, 0, 0}, {2000, 0, 0}, {2000, 1000, 0}, {0, 1000, 0}, 1.0},
        {"9,000 square metres at 1 cm", {0, 0, 0}, {100, 0, 0}, {100, 90, 0}, {0, 90, 0}, 0.01},
        {"a corner not a number", {0, 0, 0}, {1, 0, 0}, {1, std::nan(""), 0}, {0, 1, 0}, 0.5},
    };
    test::LogCapture log;
    auto chunk = std::make_shared<FieldChunk>(1);
    for (const auto& r : refused)
    {
        SCOPED_TRACE(r.name);
        TesselateQuad(chunk, 0.5, square[0], square[1], square[2], square[3]);
        ASSERT_EQ(chunk->GetPoints().Count(), 9u);
        TesselateQuad(chunk, r.spacing, r.p0, r.p1, r.p2, r.p3);
        EXPECT_EQ(chunk->GetPoints().Count(), 0u);
        EXPECT_TRUE(chunk->GetMesh().triangles.empty());
        EXPECT_EQ(chunk->GetMesh().rowCount, 0u);
    }
    TesselateQuad(nullptr, 1.0, square[0], square[1], square[2], square[3]);
    const auto texts = log.Texts();
    EXPECT_EQ(CountText(texts, "TesselateQuad passed bad parameters"), std::size(refused));
    EXPECT_EQ(CountText(texts, "TesselateQuad called with invalid parameters"), 1u);
}

TEST(TesselateQuad, ABentQuadIsCutAllTheSameAndIdsNeverRepeat)
{
    test::LogCapture log;
    auto chunk = std::make_shared<FieldChunk>(1);
    TesselateQuad(chunk, 1.0, {0, 0, 0}, {4, 0, 0}, {4, 4, 2}, {0, 4, 0});
    ASSERT_EQ(chunk->GetPoints().Count(), 25u);
    EXPECT_EQ(chunk->GetMesh().triangles.size(), 32u);
    // The grid lines of a bent quad still cross: on its bilinear surface.
    const auto centre = chunk->GetPoints().At(12);
    EXPECT_NEAR(centre.x, 2.0, 1e-12);
    EXPECT_NEAR(centre.y, 2.0, 1e-12);
    EXPECT_NEAR(centre.z, 0.5, 1e-12);
    EXPECT_EQ(CountText(log.Texts(), "TesselateQuad passed bad parameters"), 0u);

    const uint64_t lastId = chunk->GetPoints().At(24).tag;
    TesselateQuad(chunk, 1.0, {0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {0, 4, 0});
    auto other = std::make_shared<FieldChunk>(1);
    TesselateQuad(other, 1.0, {0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {0, 4, 0});
    EXPECT_GT(chunk->GetPoints().At(0).tag, lastId);
    EXPECT_GT(other->GetPoints().At(0).tag, chunk->GetPoints().At(24).tag);
}

} // namespace
} // namespace zorvpro::field
