#pragma once

#include "acoustics/engine/ClusterSource.h"
#include "acoustics/engine/Clusters.h"
#include "acoustics/engine/FieldPoints.h"
#include "acoustics/engine/PointArrivals.h"
#include "acoustics/engine/Surfaces.h"
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
// on every worker instead of in one job per set.
class ChunkArrivals
{
public:
    using OcclusionTest = bool (*)(const Surfaces::Snapshot& surfaces, const math::Vec3& point,
                                   const math::Vec3& centre);

    // Keeps the clusters that are heard at these points (not muted, passing
    // the set's source filter), in order, with their centres, and the points.
    ChunkArrivals(const Clusters::Snapshot& clusters, Surfaces::Snapshot surfaces, const FieldPoints& points,
                  OcclusionTest occluded);

    // Fills the data set's results begin..end-1. Each point gets the arrivals
    // of every heard cluster that the surfaces do not hide from it, in cluster
    // order, exactly as a whole-set arrival pass would have given it; entry i
    // of arrivals holds them only while point i is summed. Tests cancel
    // before every point.
    void computeChunk(ArrivalsList& arrivals, DataSetImpl& dataSet, uint64_t begin, uint64_t end,
                      const std::atomic<bool>& cancel) const;

    uint64_t heardCount() const { return heard.size(); }

private:
    struct Heard
    {
        std::shared_ptr<ClusterSource> source;
        math::Vec3 centre;
    };

    std::vector<Heard> heard;
    Surfaces::Snapshot surfaces;
    std::vector<FieldPoint> positions;
    OcclusionTest occluded;
};

} // namespace zorvpro::acoustics
