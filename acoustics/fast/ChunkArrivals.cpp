#include "acoustics/fast/ChunkArrivals.h"

#include "acoustics/engine/DataSetImpl.h"
#include "acoustics/fast/FastArrivalsSum.h"

#include <algorithm>
#include <iterator>
#include <thread>

namespace zorvpro::acoustics
{

ChunkArrivals::ChunkArrivals(const Clusters::Snapshot& clusters, Surfaces::Snapshot surfaces_,
                             std::vector<FieldPoint> positions_, uint64_t filter, OcclusionTest occluded_)
    : surfaces(std::move(surfaces_)), positions(std::move(positions_)), occluded(occluded_)
{
    for (const auto& cluster : clusters)
    {
        if (!cluster || cluster->isMuted())
            continue;
        if (filter != FieldPoints::AllSources && filter != cluster->nodeId())
            continue;
        Heard entry{cluster, cluster->centre(), {}};
        flat = cluster->captureFlatModel(entry.model) && flat;
        capacity += FlatClusterArrivals::capacity(entry.model);
        heard.push_back(std::move(entry));
    }
}

bool ChunkArrivals::hidden(const math::Vec3& point, const Heard& cluster) const
{
    return occluded && occluded(surfaces, point, cluster.centre);
}

void ChunkArrivals::computeChunk(ArrivalsList& arrivals, DataSetImpl& dataSet, uint64_t begin, uint64_t end,
                                 const std::atomic<bool>& cancel) const
{
    const uint64_t last = std::min<uint64_t>({end, uint64_t(arrivals.size()), uint64_t(positions.size())});
    if (flat)
        computeFlat(arrivals, dataSet, begin, last, cancel);
    else
        computeByRecords(arrivals, dataSet, begin, last, cancel);
}

void ChunkArrivals::computeFlat(const ArrivalsList& arrivals, DataSetImpl& dataSet, uint64_t begin,
                                uint64_t last, const std::atomic<bool>& cancel) const
{
    FastArrivalsSum summer;
    FlatClusterArrivals maker;
    const uint64_t interval = DataSetImpl::CheckInterval(capacity);
    for (uint64_t i = begin; i < last; ++i)
    {
        if (cancel.load(std::memory_order_relaxed))
            return;
        if (i % interval == 0)
            std::this_thread::yield();
        const math::Vec3 point{positions[i].x, positions[i].y, positions[i].z};
        summer.startPoint(capacity);
        for (const Heard& cluster : heard)
            if (!hidden(point, cluster))
                maker.add(cluster.model, point, summer);
        FrequencyMask spectrum;
        summer.finishPoint(spectrum);
        dataSet.storeResult(arrivals.size(), i, arrivals[i].tag, std::move(spectrum));
    }
}

void ChunkArrivals::computeByRecords(ArrivalsList& arrivals, DataSetImpl& dataSet, uint64_t begin,
                                     uint64_t last, const std::atomic<bool>& cancel) const
{
    FastArrivalsSum summer;
    for (uint64_t i = begin; i < last; ++i)
    {
        if (cancel.load(std::memory_order_relaxed))
            return;
        const math::Vec3 point{positions[i].x, positions[i].y, positions[i].z};
        std::vector<Arrival>& entry = arrivals[i].arrivals;
        for (const Heard& cluster : heard)
        {
            if (hidden(point, cluster))
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
