#include "data/Field/TesselateQuad.h"

#include "core/Logging/Log.h"
#include "core/math/Compare.h"
#include "core/math/Intersections.h"

#include <algorithm>
#include <atomic>
#include <cmath>

namespace zorvpro::field
{

namespace
{

math::Vec3 At(const acoustics::FieldPoint& p)
{
    return math::Vec3(p.x, p.y, p.z);
}

uint32_t CellCount(double longer, double spacing)
{
    const auto count = static_cast<uint32_t>((longer + spacing / 2.0) / spacing);
    return std::max<uint32_t>(count, 1);
}

} // namespace

uint64_t NextFieldPointId(uint64_t count)
{
    static std::atomic<uint64_t> next{0};
    return next.fetch_add(count);
}

double PolygonArea(const std::vector<math::Vec3>& points)
{
    if (points.size() < 3)
        return 0.0;
    const math::Vec3 cross = math::Cross(points[0] - points[1], points[2] - points[1]);
    if (cross.LengthSquared() < math::kZeroTolerance || math::Length(cross) < math::kZeroTolerance)
        return 0.0;
    const math::Vec3 normal = math::Normalize(cross);
    math::Vec3 sum;
    for (size_t k = 0; k < points.size(); ++k)
        sum = sum + math::Cross(points[k], points[(k + 1) % points.size()]);
    return std::fabs(math::Dot(normal, sum)) * 0.5;
}

void TriangulateGrid(ChunkMesh& mesh, const std::vector<acoustics::FieldPoint>& points, uint32_t rows,
                     uint32_t columns)
{
    const uint32_t width = columns + 1;
    mesh.triangles.reserve(mesh.triangles.size() + size_t(rows) * columns * 2);
    for (uint32_t r = 0; r < rows; ++r)
    {
        for (uint32_t c = 0; c < columns; ++c)
        {
            const uint32_t q00 = r * width + c;
            const uint32_t q01 = q00 + 1;
            const uint32_t q10 = q00 + width;
            const uint32_t q11 = q10 + 1;
            if (!math::IsEqual(At(points[q11]), At(points[q01])))
                mesh.triangles.push_back({q00, q11, q01});
            if (!math::IsEqual(At(points[q00]), At(points[q10])))
                mesh.triangles.push_back({q00, q10, q11});
        }
    }
}

void TesselateQuad(const FieldChunkPtr& chunk, double spacing, const math::Vec3& p0, const math::Vec3& p1,
                   const math::Vec3& p2, const math::Vec3& p3)
{
    if (!chunk)
    {
        LogMessage(LogLevel::Error, "TesselateQuad called with invalid parameters");
        return;
    }
    chunk->Clear();

    std::vector<math::Vec3> outline{p0};
    if (!math::IsEqual(p1, outline.back()))
        outline.push_back(p1);
    if (!math::IsEqual(p2, outline.back()))
        outline.push_back(p2);
    if (!math::IsEqual(p3, outline.back()) && !math::IsEqual(p3, p0))
        outline.push_back(p3);

    // Written so that a NaN anywhere refuses the quad as well.
    const double area = PolygonArea(outline);
    bool usable = std::fabs(area) >= math::kZeroTolerance && spacing >= 0.001 && area / spacing <= 1e6;
    uint32_t nA = 0, nB = 0;
    if (usable)
    {
        const double alongA = std::max(math::Length(p1 - p0), math::Length(p2 - p3));
        const double alongB = std::max(math::Length(p3 - p0), math::Length(p2 - p1));
        const double cellsA = (alongA + spacing / 2.0) / spacing, cellsB = (alongB + spacing / 2.0) / spacing;
        usable = (std::floor(cellsA) + 1.0) * (std::floor(cellsB) + 1.0) <= double(MaxTessellationPoints);
        if (usable)
        {
            nA = CellCount(alongA, spacing);
            nB = CellCount(alongB, spacing);
            usable = uint64_t(nA + 1) * (nB + 1) <= MaxTessellationPoints;
        }
    }
    if (!usable)
    {
        LogMessage(LogLevel::Error, "TesselateQuad passed bad parameters");
        return;
    }

    // Built aside and installed at once: no lock per point, no half grid.
    const uint64_t count = uint64_t(nA + 1) * (nB + 1);
    std::vector<acoustics::FieldPoint> points;
    points.reserve(count);
    ChunkMesh mesh;
    mesh.columnIndex.reserve(count);
    mesh.rowIndex.reserve(count);
    uint64_t id = NextFieldPointId(count);
    for (uint32_t i = 0; i <= nA; ++i)
    {
        const double t = double(i) / nA;
        const math::Vec3 a = p0 + t * (p1 - p0);
        const math::Vec3 b = p3 + t * (p2 - p3);
        for (uint32_t j = 0; j <= nB; ++j)
        {
            const double s = double(j) / nB;
            const math::Vec3 c = p1 + s * (p2 - p1);
            const math::Vec3 d = p0 + s * (p3 - p0);
            math::Vec3 onAB;
            const double distance = math::SegmentSegmentDistance(a, b, c, d, &onAB);
            if (!math::AlmostEqual(distance, 0.0))
                LogMessage(LogLevel::Error, "Hit distance too large in TesselateQuad");
            points.push_back({onAB.x, onAB.y, onAB.z, id++});
            mesh.columnIndex.push_back(j);
            mesh.rowIndex.push_back(i);
        }
    }
    mesh.columnCount = nB + 1;
    mesh.rowCount = nA + 1;
    TriangulateGrid(mesh, points, nA, nB);
    chunk->Install(std::move(points), std::move(mesh));
}

} // namespace zorvpro::field
