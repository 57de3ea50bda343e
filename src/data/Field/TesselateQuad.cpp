#include "data/Field/TesselateQuad.h"

#include "core/Logging/Log.h"
#include "core/math/Compare.h"

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
    if (rows == 0 || points.size() < size_t(rows + 1) * width)
        return;
    // Along a column the grid steps by one fixed vector. Only a column whose step
    // is vanishingly small can hold two equal neighbours, so only there are the
    // points compared.
    std::vector<char> mayCollapse(width);
    for (uint32_t j = 0; j < width; ++j)
    {
        const math::Vec3 first = At(points[j]), step = At(points[width + j]) - first;
        const double scale = 1.0 + std::max({std::fabs(first.x), std::fabs(first.y), std::fabs(first.z)});
        mayCollapse[j] = std::max({std::fabs(step.x), std::fabs(step.y), std::fabs(step.z)}) <= 1e-9 * scale;
    }
    // Sized for every triangle, written through a pointer, cut to what was made.
    const size_t base = mesh.triangles.size();
    mesh.triangles.resize(base + size_t(rows) * columns * 2);
    ChunkMesh::Triangle* out = mesh.triangles.data() + base;
    for (uint32_t r = 0; r < rows; ++r)
    {
        for (uint32_t c = 0; c < columns; ++c)
        {
            const uint32_t q00 = r * width + c;
            const uint32_t q01 = q00 + 1;
            const uint32_t q10 = q00 + width;
            const uint32_t q11 = q10 + 1;
            if (!mayCollapse[c + 1] || !math::IsEqual(At(points[q11]), At(points[q01])))
                *out++ = {q00, q11, q01};
            if (!mayCollapse[c] || !math::IsEqual(At(points[q00]), At(points[q10])))
                *out++ = {q00, q10, q11};
        }
    }
    mesh.triangles.resize(size_t(out - mesh.triangles.data()));
}

void TesselateQuad(const FieldChunkPtr& chunk, double spacing, const math::Vec3& p0, const math::Vec3& p1,
                   const math::Vec3& p2, const math::Vec3& p3)
{
    if (!chunk)
    {
        LogMessage(LogLevel::Error, "TesselateQuad called with invalid parameters");
        return;
    }
    // Cleared at once; its storage is kept for the new grid.
    std::vector<acoustics::FieldPoint> points;
    ChunkMesh mesh;
    chunk->Clear(points, mesh);

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

    // Built aside (in the chunk's old storage) and installed at once: no lock per
    // point, no half grid. The segment a-b of row i and the segment c-d of column j
    // always cross, at the bilinear point of (i / nA, j / nB): that is the point taken.
    const uint64_t count = uint64_t(nA + 1) * (nB + 1);
    points.reserve(count);
    mesh.columnIndex.resize(count);
    mesh.rowIndex.resize(count);
    std::vector<double> across(nB + 1);
    for (uint32_t j = 0; j <= nB; ++j)
        across[j] = double(j) / nB;
    uint32_t* column = mesh.columnIndex.data();
    uint32_t* row = mesh.rowIndex.data();
    uint64_t id = NextFieldPointId(count);
    for (uint32_t i = 0; i <= nA; ++i)
    {
        const double t = double(i) / nA;
        const math::Vec3 a = p0 + t * (p1 - p0);
        const math::Vec3 ab = (p3 + t * (p2 - p3)) - a;
        for (uint32_t j = 0; j <= nB; ++j)
        {
            const math::Vec3 at = a + across[j] * ab;
            // Filled in place: a temporary copied in stalls the store buffer.
            acoustics::FieldPoint& point = points.emplace_back();
            point.x = at.x;
            point.y = at.y;
            point.z = at.z;
            point.tag = id++;
            *column++ = j;
            *row++ = i;
        }
    }
    mesh.columnCount = nB + 1;
    mesh.rowCount = nA + 1;
    TriangulateGrid(mesh, points, nA, nB);
    chunk->Install(std::move(points), std::move(mesh));
}

} // namespace zorvpro::field
