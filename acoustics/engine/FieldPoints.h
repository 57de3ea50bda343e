#pragma once

#include "core/math/Timestamp.h"

#include <cstdint>
#include <mutex>
#include <vector>

namespace zorvpro
{
namespace acoustics
{

// One field point: its position and a tag that the engine copies into its results unchanged.
struct FieldPoint
{
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
    uint64_t tag = 0;
};

// A set of field points handed to the engine by shared pointer. Every access takes the set's
// own lock; hold GetLock() to read several things consistently.
class FieldPoints
{
public:
    using Lock = std::recursive_timed_mutex;
    // Source filter value that lets every cluster be heard.
    static constexpr uint64_t AllSources = ~uint64_t(0);

    FieldPoints();
    // A new lock; the timestamp, points and source filter are copied under the source's lock.
    FieldPoints(const FieldPoints& other);
    // Copies the timestamp, points and source filter, holding both locks.
    FieldPoints& operator=(const FieldPoints& other);
    virtual ~FieldPoints() = default;

    uint64_t Count() const;

    void Add(double x, double y, double z, uint64_t tag);
    void SetPoints(std::vector<FieldPoint> points);
    std::vector<FieldPoint> GetPoints() const;
    // Empties the set and hands its points over, storage and all, for reuse.
    std::vector<FieldPoint> TakePoints();
    // The point at index; a default point when index is out of range.
    FieldPoint At(uint64_t index) const;

    // AllSources, or the acoustic node id of the one cluster heard at these points.
    uint64_t GetSourceFilter() const;
    void SetSourceFilter(uint64_t nodeId);

    Timestamp GetTimestamp() const;
    void SetTimestamp(const Timestamp& time);

    Lock& GetLock() const { return lock; }

private:
    Timestamp timestamp;
    mutable Lock lock;
    std::vector<FieldPoint> points;
    uint64_t sourceFilter = AllSources;
};

} // namespace acoustics
} // namespace zorvpro
