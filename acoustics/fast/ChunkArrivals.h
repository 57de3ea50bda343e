#pragma once

#include "acoustics/engine/CalculationTimes.h"
#include "acoustics/engine/ClusterSource.h"
#include "acoustics/engine/Clusters.h"
#include "acoustics/engine/FieldPoints.h"
#include "acoustics/engine/PointArrivals.h"
#include "acoustics/engine/Surfaces.h"
#include "acoustics/fast/FlatClusterArrivals.h"
#include "acoustics/fast/PointBlocks.h"
#include "core/math/Vector3.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

namespace zorvpro::acoustics
{

class DataSetImpl;

// The sources of one field-point set's calculation, captured once when the
// set's calculation starts and then read by all of its chunk jobs, which
// compute each point's arrivals themselves and sum them at once. So a point's
// arrivals exist only while that point is summed, and the arrival work runs
// on every worker instead of in one job per set. Clusters that give their
// drivers (every loudspeaker cluster does) are heard through the flat
// arrival maker, without arrival records at all.
class ChunkArrivals
{
public:
    using OcclusionTest = bool (*)(const Surfaces::Snapshot& surfaces, const math::Vec3& point,
                                   const math::Vec3& centre);

    // Keeps the clusters that are heard at these points (not muted, passing
    // the source filter), in order, with their centres and drivers.
    ChunkArrivals(const Clusters::Snapshot& clusters, Surfaces::Snapshot surfaces,
                  std::vector<FieldPoint> positions, uint64_t sourceFilter, OcclusionTest occluded);

    // Fills the data set's results (sized to pointCount() beforehand) for
    // the points that the blocks hand out, until none are left. Each point
    // gets the arrivals of every heard cluster that the surfaces do not hide
    // from it, in cluster order, as a whole-set arrival pass would have given
    // it, and they exist only while that point is summed. Tests cancel before
    // every point. Adds the time spent making arrivals and summing them to
    // times, when given.
    void computeBlocks(DataSetImpl& dataSet, PointBlocks& blocks, const std::atomic<bool>& cancel,
                       CalculationTimes* times = nullptr) const;
    // The same for the points begin..end-1.
    void computeChunk(DataSetImpl& dataSet, uint64_t begin, uint64_t end,
                      const std::atomic<bool>& cancel) const;

    uint64_t pointCount() const { return positions.size(); }
    uint64_t heardCount() const { return heard.size(); }
    // Every heard cluster is heard through the flat maker.
    bool isFlat() const { return flat; }

private:
    struct Heard
    {
        std::shared_ptr<ClusterSource> source;
        math::Vec3 centre;
        FlatClusterModel model;
    };

    bool hidden(const math::Vec3& point, const Heard& cluster) const;
    struct Workspace;
    void computePoint(uint64_t i, DataSetImpl& dataSet, Workspace& work) const;

    std::vector<Heard> heard;
    Surfaces::Snapshot surfaces;
    std::vector<FieldPoint> positions;
    OcclusionTest occluded;
    bool flat = true;
    uint64_t capacity = 0; // most arrivals a point can receive
};

} // namespace zorvpro::acoustics
