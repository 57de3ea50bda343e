#include "data/Field/FieldChunk.h"

#include "core/Base/HasUniqueId.h"

namespace zorvpro::field
{

namespace
{
// The creation time of the result's data set; 0 without one.
int64_t ResultTime(const FieldChunk::ResultPtr& result)
{
    if (!result)
        return 0;
    auto data = result->GetDataSet();
    return data ? data->GetTimestamp().Milliseconds() : 0;
}
} // namespace

FieldChunk::FieldChunk(uint32_t kind) : m_kind(kind), m_id(HasUniqueId::NextId()) {}

uint64_t FieldChunk::GetSourceFilter() const
{
    std::lock_guard<Lock> guard(m_lock);
    return m_sourceFilter;
}

void FieldChunk::SetSourceFilter(uint64_t filter)
{
    std::lock_guard<Lock> guard(m_lock);
    m_sourceFilter = filter;
}

math::Mat4 FieldChunk::GetTransform() const
{
    std::lock_guard<Lock> guard(m_lock);
    return m_transform;
}

void FieldChunk::SetTransform(const math::Mat4& transform)
{
    std::lock_guard<Lock> guard(m_lock);
    m_transform = transform;
}

ChunkMesh FieldChunk::GetMesh() const
{
    std::lock_guard<Lock> guard(m_lock);
    return m_mesh;
}

void FieldChunk::Install(std::vector<acoustics::FieldPoint> points, ChunkMesh mesh)
{
    std::lock_guard<Lock> guard(m_lock);
    std::lock_guard<acoustics::FieldPoints::Lock> pointsGuard(m_points.GetLock());
    m_points.SetPoints(std::move(points));
    m_points.SetTimestamp(Timestamp());
    m_mesh = std::move(mesh);
}

void FieldChunk::Clear()
{
    std::lock_guard<Lock> guard(m_lock);
    m_transform = math::Mat4();
    m_points.SetPoints({});
    m_shown.reset();
    m_mesh = ChunkMesh();
}

void FieldChunk::Clear(std::vector<acoustics::FieldPoint>& spare, ChunkMesh& spareMesh)
{
    std::lock_guard<Lock> guard(m_lock);
    m_transform = math::Mat4();
    spare = m_points.TakePoints();
    spare.clear();
    m_shown.reset();
    spareMesh = std::move(m_mesh);
    m_mesh = ChunkMesh();
    spareMesh.triangles.clear();
    spareMesh.columnIndex.clear();
    spareMesh.rowIndex.clear();
    spareMesh.columnCount = spareMesh.rowCount = 0;
}

void FieldChunk::SetDataSet(ResultPtr result)
{
    if (!result || !result->GetDataSet())
        return;
    const int64_t time = ResultTime(result);
    std::lock_guard<Lock> guard(m_lock);
    const bool newer = m_latest ? time > ResultTime(m_latest) : (!m_shown || time > ResultTime(m_shown));
    if (newer)
        m_latest = std::move(result);
}

void FieldChunk::PromoteLatest()
{
    std::lock_guard<Lock> guard(m_lock);
    if (m_latest)
        m_shown = std::move(m_latest);
    m_latest.reset();
}

FieldChunk::ResultPtr FieldChunk::GetDataSet() const
{
    std::lock_guard<Lock> guard(m_lock);
    return m_shown;
}

FieldChunk::ResultPtr FieldChunk::GetLatestDataSet() const
{
    std::lock_guard<Lock> guard(m_lock);
    return m_latest;
}

} // namespace zorvpro::field
