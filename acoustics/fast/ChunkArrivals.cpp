#include "acoustics/fast/ChunkArrivals.h"

#include "acoustics/engine/DataSetImpl.h"
#include "acoustics/fast/FastArrivalsSum.h"

#include <algorithm>
#include <chrono>
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

void ChunkArrivals::computeChunk(DataSetImpl& dataSet, uint64_t begin, uint64_t end,
                                 const std::atomic<bool>& cancel) const
{
    PointBlocks one(begin, end, end > begin ? end - begin : 1);
    computeBlocks(dataSet, one, cancel);
}

struct ChunkArrivals::Workspace
{
    FastArrivalsSum summer;
    FlatClusterArrivals maker;
    std::vector<Arrival> records;
    CalculationTimes::Duration arrivals{0};
    CalculationTimes::Duration sums{0};
};

void ChunkArrivals::computeBlocks(DataSetImpl& dataSet, PointBlocks& blocks, const std::atomic<bool>& cancel,
                                  CalculationTimes* times) const
{
    Workspace work;
    const uint64_t interval = DataSetImpl::CheckInterval(capacity);
    const uint64_t count = std::min<uint64_t>(positions.size(), dataSet.size());
    uint64_t first = 0;
    uint64_t last = 0;
    while (blocks.next(first, last) && !cancel.load(std::memory_order_relaxed))
    {
        for (uint64_t i = first; i < std::min(last, count); ++i)
        {
            if (cancel.load(std::memory_order_relaxed))
                break;
            if (i % interval == 0)
                std::this_thread::yield();
            computePoint(i, dataSet, work);
        }
    }
    if (times)
    {
        times->addArrivals(work.arrivals);
        times->addSums(work.sums);
    }
}

void ChunkArrivals::computePoint(uint64_t i, DataSetImpl& dataSet, Workspace& work) const
{
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    const math::Vec3 point{positions[i].x, positions[i].y, positions[i].z};
    FrequencyMask spectrum;
    if (flat)
    {
        work.summer.startPoint(capacity);
        for (const Heard& cluster : heard)
            if (!hidden(point, cluster))
                work.maker.add(cluster.model, point, work.summer);
    }
    else
    {
        work.records.clear();
        for (const Heard& cluster : heard)
        {
            if (hidden(point, cluster))
                continue;
            std::vector<Arrival> reaching = cluster.source->computeArrivalsAtPoint(point);
            work.records.insert(work.records.end(), std::make_move_iterator(reaching.begin()),
                                std::make_move_iterator(reaching.end()));
        }
    }
    const auto made = Clock::now();
    if (flat)
        work.summer.finishPoint(dataSet.powersAt(i, positions[i].tag));
    else
    {
        work.summer.sum(spectrum, work.records);
        dataSet.storeSpectrum(i, positions[i].tag, spectrum);
        work.records.clear();
    }
    const auto summed = Clock::now();
    work.arrivals += made - start;
    work.sums += summed - made;
}

} // namespace zorvpro::acoustics
