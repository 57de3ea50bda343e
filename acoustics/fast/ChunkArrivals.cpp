#include "acoustics/fast/ChunkArrivals.h"

#include "acoustics/engine/DataSetImpl.h"
#include "acoustics/fast/FastArrivalsSum.h"

#include <algorithm>
#include <iterator>

namespace zorvpro::acoustics
{

ChunkArrivals::ChunkArrivals(const Clusters::Snapshot& clusters, Surfaces::Snapshot surfaces_,
                             const FieldPoints& points, OcclusionTest occluded_)
    : surfaces(std::move(surfaces_)), positions(points.GetPoints()), occluded(occluded_)
{
    const uint64_t filter = points.GetSourceFilter();
    for (const auto& cluster : clusters)
    {
        if (!cluster || cluster->isMuted())
            continue;
        if (filter != FieldPoints::AllSources && filter != cluster->nodeId())
            continue;
        heard.push_back({cluster, cluster->centre()});
    }
}

void ChunkArrivals::computeChunk(ArrivalsList& arrivals, DataSetImpl& dataSet, uint64_t begin, uint64_t end,
                                 const std::atomic<bool>& cancel) const
{
    const uint64_t last = std::min<uint64_t>({end, uint64_t(arrivals.size()), uint64_t(positions.size())});
    FastArrivalsSum summer;
    for (uint64_t i = begin; i < last; ++i)
    {
        if (cancel.load(std::memory_order_relaxed))
            return;
        const math::Vec3 point{positions[i].x, positions[i].y, positions[i].z};
        std::vector<Arrival>& entry = arrivals[i].arrivals;
        for (const Heard& cluster : heard)
        {
            if (occluded && occluded(surfaces, point, cluster.centre))
                continue;
            std::vector<Arrival> reaching = cluster.source->computeArrivalsAtPoint(point);
            entry.insert(entry.end(), std::make_move_iterator(reaching.begin()),
                         std::make_move_iterator(reaching.end()));
        }
        dataSet.computeRange(arrivals, i, i + 1, cancel, entry.size(), summer);
        std::vector<Arrival>().swap(entry);
    }
}

} // namespace zorvpro::acoustics
