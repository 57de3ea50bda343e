#pragma once

#include "acoustics/engine/FieldPoints.h"
#include "acoustics/engine/FieldPointsData.h"
#include "core/math/Matrix4.h"

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace zorvpro::field
{

// Leaves new elements of a resized vector uninitialised: grids of millions of
// points are written in full right after they are sized.
template <typename T> struct UninitialisedAllocator : std::allocator<T>
{
    template <typename U> struct rebind
    {
        using other = UninitialisedAllocator<U>;
    };
    UninitialisedAllocator() = default;
    template <typename U> UninitialisedAllocator(const UninitialisedAllocator<U>&) noexcept {}
    template <typename U> void construct(U* p) noexcept { ::new (static_cast<void*>(p)) U; }
    template <typename U, typename... Args> void construct(U* p, Args&&... args)
    {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};

// The mesh of a chunk's point grid: triangles over the points and each
// point's place in the grid.
struct ChunkMesh
{
    using Triangle = std::array<uint32_t, 3>;
    template <typename T> using List = std::vector<T, UninitialisedAllocator<T>>;

    List<Triangle> triangles;
    List<uint32_t> columnIndex; // per point, in point order
    List<uint32_t> rowIndex;    // per point, in point order
    uint32_t columnCount = 0;   // points per row
    uint32_t rowCount = 0;
};

// One block of field points with its mesh, cut from a surface or a plane. The
// user interface fills it; the engine side submits its points and stores the
// results computed for its id. Always held by shared pointer.
class FieldChunk
{
public:
    using Lock = std::recursive_timed_mutex;
    using ResultPtr = std::shared_ptr<acoustics::FieldPointsData>;

    explicit FieldChunk(uint32_t kind);
    FieldChunk(const FieldChunk&) = delete;
    FieldChunk& operator=(const FieldChunk&) = delete;

    // The engine's key for the chunk's points, from the process-wide id counter.
    uint64_t GetId() const { return m_id; }
    uint32_t GetKind() const { return m_kind; }

    // The source filter copied into every point set submitted for the chunk
    // (acoustics::FieldPoints::AllSources: every cluster is heard).
    uint64_t GetSourceFilter() const;
    void SetSourceFilter(uint64_t filter);

    // The embedded points; they carry their own lock.
    acoustics::FieldPoints& GetPoints() { return m_points; }
    const acoustics::FieldPoints& GetPoints() const { return m_points; }

    math::Mat4 GetTransform() const;
    void SetTransform(const math::Mat4& transform);

    // A copy of the mesh, consistent with itself.
    ChunkMesh GetMesh() const;

    // Replaces points and mesh in one step under the chunk lock, so no reader
    // sees a half-built grid. The points' time stamp becomes now.
    void Install(std::vector<acoustics::FieldPoint> points, ChunkMesh mesh);

    // Identity transform, no points, no shown result, empty mesh. The latest
    // result stays.
    void Clear();
    // The same, handing the emptied storage of the points and the mesh over
    // for the next grid, so a chunk cut again reuses its memory.
    void Clear(std::vector<acoustics::FieldPoint>& spare, ChunkMesh& spareMesh);

    // Keeps the result as the latest when it holds a data set newer than the
    // latest one (or, without a latest one, than the shown one).
    void SetDataSet(ResultPtr result);
    // Moves the latest result into the shown one, when there is a latest one.
    void PromoteLatest();
    // The shown result.
    ResultPtr GetDataSet() const;
    ResultPtr GetLatestDataSet() const;

    Lock& GetLock() const { return m_lock; }

private:
    mutable Lock m_lock;
    const uint32_t m_kind;
    const uint64_t m_id;
    uint64_t m_sourceFilter = acoustics::FieldPoints::AllSources;
    acoustics::FieldPoints m_points;
    ChunkMesh m_mesh;
    ResultPtr m_shown;
    ResultPtr m_latest;
    math::Mat4 m_transform;
};

using FieldChunkPtr = std::shared_ptr<FieldChunk>;
using ChunkList = std::vector<FieldChunkPtr>;

} // namespace zorvpro::field
