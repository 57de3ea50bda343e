#pragma once

#include "core/math/Vector3.h"
#include "data/Field/FieldChunk.h"

#include <cstdint>
#include <vector>

namespace zorvpro::field
{

// Grids larger than this are refused: they would take gigabytes and hours.
constexpr uint64_t MaxTessellationPoints = 4000000;

// Draws ids for field points from a process-wide counter that starts at 0 and
// is never reset; count ids are reserved at once, the first one returned.
uint64_t NextFieldPointId(uint64_t count = 1);

// Area of a flat polygon (0 for fewer than 3 points or a degenerate start).
double PolygonArea(const std::vector<math::Vec3>& points);

// Fills the chunk with a regular grid of field points over the quad p0..p3
// (world coordinates, corners in outline order), spaced about `spacing`
// metres, and the triangles that mesh them. The chunk is cleared first; the
// new grid is installed in one step, so a reader never sees half of it.
// Failures are logged: an empty chunk pointer leaves nothing touched, bad
// parameters leave the chunk cleared.
void TesselateQuad(const FieldChunkPtr& chunk, double spacing, const math::Vec3& p0, const math::Vec3& p1,
                   const math::Vec3& p2, const math::Vec3& p3);

// Appends the triangles of a grid of `rows` x `columns` cells (row-major
// points, columns + 1 per row), skipping those with two equal corners along
// the first and the last column.
void TriangulateGrid(ChunkMesh& mesh, const std::vector<acoustics::FieldPoint>& points, uint32_t rows,
                     uint32_t columns);

} // namespace zorvpro::field
