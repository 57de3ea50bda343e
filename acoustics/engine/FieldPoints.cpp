#include "acoustics/engine/FieldPoints.h"

namespace zorvpro
{
namespace acoustics
{

using Guard = std::lock_guard<FieldPoints::Lock>;

FieldPoints::FieldPoints() = default;

FieldPoints::FieldPoints(const FieldPoints& other)
{
    Guard guard(other.lock);
    timestamp = other.timestamp;
    points = other.points;
    sourceFilter = other.sourceFilter;
}

FieldPoints& FieldPoints::operator=(const FieldPoints& other)
{
    if (this == &other)
        return *this;
    std::scoped_lock both(lock, other.lock);
    timestamp = other.timestamp;
    points = other.points;
    sourceFilter = other.sourceFilter;
    return *this;
}

uint64_t FieldPoints::Count() const
{
    Guard guard(lock);
    return points.size();
}

void FieldPoints::Add(double x, double y, double z, uint64_t tag)
{
    Guard guard(lock);
    points.push_back(FieldPoint{x, y, z, tag});
}

void FieldPoints::SetPoints(std::vector<FieldPoint> newPoints)
{
    Guard guard(lock);
    points = std::move(newPoints);
}

std::vector<FieldPoint> FieldPoints::GetPoints() const
{
    Guard guard(lock);
    return points;
}

std::vector<FieldPoint> FieldPoints::TakePoints()
{
    Guard guard(lock);
    std::vector<FieldPoint> taken;
    taken.swap(points);
    return taken;
}

FieldPoint FieldPoints::At(uint64_t index) const
{
    Guard guard(lock);
    return index < points.size() ? points[index] : FieldPoint{};
}

uint64_t FieldPoints::GetSourceFilter() const
{
    Guard guard(lock);
    return sourceFilter;
}

void FieldPoints::SetSourceFilter(uint64_t nodeId)
{
    Guard guard(lock);
    sourceFilter = nodeId;
}

Timestamp FieldPoints::GetTimestamp() const
{
    Guard guard(lock);
    return timestamp;
}

void FieldPoints::SetTimestamp(const Timestamp& time)
{
    Guard guard(lock);
    timestamp = time;
}

} // namespace acoustics
} // namespace zorvpro
