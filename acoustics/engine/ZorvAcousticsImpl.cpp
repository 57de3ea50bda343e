#include "acoustics/engine/ZorvAcousticsImpl.h"

#include "acoustics/engine/DataSetImpl.h"
#include "acoustics/engine/EngineLog.h"
#include "acoustics/engine/FieldPointsData.h"
#include "acoustics/engine/ScopedBool.h"
#include "acoustics/engine/SubJobList.h"
#include "acoustics/engine/WorkerThreads.h"
#include "acoustics/fast/ChunkArrivals.h"
#include "acoustics/model/Environment.h"
#include "core/math/Compare.h"
#include "core/math/Ray.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <thread>

namespace zorvpro
{
namespace acoustics
{

// Shared by every job of one calculation.
struct ZorvAcousticsImpl::Calculation
{
    ResultStore::Generation generation = 0;
    PropChangeCollection* changes = nullptr;
    Timestamp lastChange{0};
    bool wait = false;
    SubJobList subJobs;
    // Raised when a job or completion failed; the calculation's jobs that start later do nothing.
    std::atomic<bool> abandoned{false};
};

// Shared by the jobs of one field-point set within a calculation.
struct ZorvAcousticsImpl::SetCalculation
{
    uint64_t id = 0;
    ArrivalsList arrivals;
    std::shared_ptr<FieldPointsData> points = std::make_shared<FieldPointsData>();
    std::atomic<uint64_t> largestArrivalCount{0};
    std::shared_ptr<DataSetImpl> dataSet;
    std::atomic<int32_t> chunksLeft{0};
    // With chunk arrivals: the set's heard clusters, read by every chunk job, and the set's
    // points, which the chunk jobs take in small blocks until none are left.
    std::shared_ptr<const ChunkArrivals> sources;
    std::unique_ptr<PointBlocks> blocks;
    // Raised by the first failure of this set, so that its other chunks do not log again.
    std::atomic<bool> failed{false};
};

namespace
{
// Longest uninterrupted sleep while settling, so that cancellation is seen promptly.
constexpr auto SleepSlice = std::chrono::milliseconds(10);
constexpr int MaxSettlingPauses = 100;
} // namespace

std::shared_ptr<ZorvAcousticsImpl> ZorvAcousticsImpl::create(Options options)
{
    return std::shared_ptr<ZorvAcousticsImpl>(new ZorvAcousticsImpl(options),
                                              [](ZorvAcousticsImpl* engine)
                                              {
                                                  // The teardown waits for the engine's jobs and joins its
                                                  // threads: on one of those threads it would wait for
                                                  // itself.
                                                  if (engine->engineThread.isOwnThread())
                                                      std::thread([engine] { delete engine; }).detach();
                                                  else
                                                      delete engine;
                                              });
}

ZorvAcousticsImpl::ZorvAcousticsImpl(Options options)
    : engineThread(options.threadCount), settlingPause(options.settlingPause),
      chunkArrivals(options.chunkArrivals)
{
    changes.addListener(this);
    changes.watch(&Environment::instance());
}

ZorvAcousticsImpl::~ZorvAcousticsImpl()
{
    destroying.store(true);
    changes.removeListener(this);
    changes.unwatch(&Environment::instance());
    for (const auto& cluster : clusters.snapshot())
        changes.unwatch(cluster->changes());

    results.notifyResultsCleared();
    // Dispatching stops first, so that completions still running cannot put new jobs into the
    // pool while it is being emptied; what they queue is dropped below.
    engineThread.requestStop();
    engineThread.cancelJobs(-1);
    engineThread.clearJobs();
    engineThread.waitForAll(250);

    clusters.clear();
    surfaces.clear();
}

IZorvAcoustics::Version ZorvAcousticsImpl::getVersion() const
{
    return {1, 0, 1, 0};
}

void ZorvAcousticsImpl::start()
{
    engineThread.start();
}

void ZorvAcousticsImpl::requestStop()
{
    engineThread.requestStop();
}

void ZorvAcousticsImpl::recordChange(uint32_t code)
{
    changes.propChanged(code);
}

void ZorvAcousticsImpl::addSurface(std::weak_ptr<ISurface> surface)
{
    surfaces.add(std::move(surface));
    recordChange(SurfaceAdded);
}

void ZorvAcousticsImpl::removeSurface(std::weak_ptr<ISurface> surface)
{
    surfaces.remove(surface);
    recordChange(SurfaceRemoved);
}

void ZorvAcousticsImpl::addClusterSource(std::shared_ptr<ClusterSource> cluster)
{
    if (!cluster)
        return;
    changes.watch(cluster->changes());
    clusters.add(cluster);
    recordChange(ClusterAdded);
}

void ZorvAcousticsImpl::removeClusterSource(const ClusterSource& cluster)
{
    clusters.remove(cluster.identity());
    recordChange(ClusterRemoved);
    changes.unwatch(cluster.changes());
    if (clusters.empty())
    {
        results.notifyResultsCleared();
        engineThread.cancelJobs(-1);
    }
}

void ZorvAcousticsImpl::setFieldPoints(uint64_t id, std::shared_ptr<FieldPoints> points)
{
    if (points && fieldPoints.set(id, *points))
        recordChange(FieldPointsChanged);
}

void ZorvAcousticsImpl::removeFieldPoints(uint64_t id)
{
    fieldPoints.remove(id);
}

void ZorvAcousticsImpl::setCalculationEnabled(bool enabled)
{
    calculationEnabled.store(enabled);
    if (enabled)
    {
        if (fieldPoints.empty())
            return;
        if (results.hasResults() && !changes.hasChanges())
            return;
        propsChanged(changes);
        return;
    }
    results.notifyResultsCleared();
    engineThread.cancelJobs(-1);
}

bool ZorvAcousticsImpl::isCalculationEnabled() const
{
    return calculationEnabled.load();
}

void ZorvAcousticsImpl::calculate(bool wait)
{
    runCalculation(changes, wait, false);
}

std::shared_ptr<FieldPointsData> ZorvAcousticsImpl::getDataSet(uint64_t id) const
{
    return results.getDataSet(id);
}

void ZorvAcousticsImpl::addCalcListener(CalcListener* listener)
{
    results.addCalcListener(listener);
}

void ZorvAcousticsImpl::removeCalcListener(CalcListener* listener)
{
    results.removeCalcListener(listener);
}

bool ZorvAcousticsImpl::isBusy() const
{
    return engineThread.isBusy();
}

void ZorvAcousticsImpl::propsChanged(PropChangeCollection& collection)
{
    if (destroying.load())
        return;
    if (calculationEnabled.load())
    {
        runCalculation(collection, false, true);
        return;
    }
    // The change makes a running calculation stale and none follows it: its open steps are given
    // up, as switching calculation off does, so that listeners do not wait for their end.
    results.notifyResultsCleared();
    engineThread.clearJobs();
}

bool ZorvAcousticsImpl::claimCalculation(bool wait, bool fromChange)
{
    // A caller that waits for results must get them: rather than returning empty-handed while
    // an earlier calculation still settles or plans, it waits for that one to let go. Never on
    // one of the engine's own workers, which that calculation may need to finish.
    const bool mayWait = wait && !WorkerThreads::IsWorkerThread();
    for (;;)
    {
        bool idle = false;
        if (calculating.compare_exchange_strong(idle, true))
            return true;
        if (!mayWait || destroying.load())
        {
            if (fromChange)
                changeRefused.store(true);
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

void ZorvAcousticsImpl::runCalculation(PropChangeCollection& collection, bool wait, bool fromChange)
{
    if (!wait && calculating.load())
    {
        if (fromChange)
            changeRefused.store(true);
        return;
    }
    if (clusters.empty())
        return;
    if (!claimCalculation(wait, fromChange))
        return;

    engineThread.start();
    engineThread.clearJobs();
    times.reset();
    results.notifyResultsCleared();
    // Takes over the flag raised above; it falls when both this call and the first job let go.
    auto running = std::make_shared<ScopedBool>(calculating, [this] { calculationReleased(); });

    auto calculation = std::make_shared<Calculation>();
    calculation->generation = results.currentGeneration();
    calculation->changes = &collection;
    calculation->lastChange = collection.lastChangeTime();
    calculation->wait = wait;

    const uint64_t first =
        engineThread.addJobs([this, calculation, running](std::atomic<bool>& cancel)
                             { guarded(nullptr, *calculation, [&] { firstJob(calculation, cancel); }); });

    if (wait && first != 0)
    {
        engineThread.waitForJob(first, -1);
        // Jobs append further ids while this walks; the length is read again for every step.
        for (size_t i = 0; i < calculation->subJobs.size(); ++i)
        {
            const uint64_t id = calculation->subJobs.at(i);
            if (id != 0)
                engineThread.waitForJob(id, -1);
        }
    }
}

void ZorvAcousticsImpl::calculationReleased()
{
    if (destroying.load())
        return;
    // A change refused while the last calculation settled or planned must not be lost.
    const bool refused = changeRefused.exchange(false);
    if (refused && calculationEnabled.load() && changes.hasChanges())
        runCalculation(changes, false, true);
}

bool ZorvAcousticsImpl::settle(const Calculation& calculation, const std::atomic<bool>& cancel)
{
    Timestamp remembered = calculation.lastChange;
    for (int pause = 0; pause < MaxSettlingPauses; ++pause)
    {
        if (cancel.load())
            return false;
        const auto until = std::chrono::steady_clock::now() + settlingPause;
        while (std::chrono::steady_clock::now() < until)
        {
            std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(
                SleepSlice, until - std::chrono::steady_clock::now()));
            if (cancel.load())
                return false;
        }
        const Timestamp latest = calculation.changes->lastChangeTime();
        if (latest == remembered)
            return true;
        remembered = latest;
    }
    return true;
}

void ZorvAcousticsImpl::firstJob(const std::shared_ptr<Calculation>& calculation,
                                 const std::atomic<bool>& cancel)
{
    const auto start = std::chrono::steady_clock::now();
    if (calculationEnabled.load() && !settle(*calculation, cancel))
        return;
    times.addSettling(std::chrono::steady_clock::now() - start);
    calculation->changes->reset();
    for (const uint64_t id : fieldPoints.ids())
    {
        const uint64_t job = queueArrivalJob(id, calculation, cancel);
        if (calculation->wait)
            calculation->subJobs.append(job);
    }
}

uint64_t ZorvAcousticsImpl::queueArrivalJob(uint64_t id, const std::shared_ptr<Calculation>& calculation,
                                            const std::atomic<bool>& cancel)
{
    const auto stored = fieldPoints.find(id);
    if (stored->Count() == 0 || cancel.load())
        return 0;
    auto set = std::make_shared<SetCalculation>();
    set->id = id;
    set->points->CopyPoints(*stored);
    if (cancel.load())
        return 0;
    // The step opens when the job is queued, not when it starts: a set that finishes
    // before another set's job has started must not close the calculation early.
    results.notifyCalculationStarted(calculation->generation);
    const uint64_t job =
        engineThread.addJobs([this, set, calculation](std::atomic<bool>& jobCancel)
                             { guarded(set.get(), *calculation, [&] { arrivalJob(*set, jobCancel); }); },
                             [this, set, calculation]
                             { guarded(set.get(), *calculation, [&] { planChunks(set, calculation); }); });
    if (job == 0)
        results.notifyCalculationFinished(calculation->generation);
    return job;
}

void ZorvAcousticsImpl::arrivalJob(SetCalculation& set, const std::atomic<bool>& cancel)
{
    std::vector<FieldPoint> positions = set.points->GetPoints();
    if (cancel.load())
        return;
    if (chunkArrivals)
    {
        // Holds the points' only copy besides the published set's: no arrivals list at all.
        set.sources = std::make_shared<const ChunkArrivals>(clusters.snapshot(), surfaces.snapshot(),
                                                            std::move(positions),
                                                            set.points->GetSourceFilter(), &IsOccluded);
        return;
    }
    set.arrivals.resize(positions.size());
    for (size_t i = 0; i < positions.size(); ++i)
        set.arrivals[i].tag = positions[i].tag;
    if (cancel.load())
        return;
    const auto start = std::chrono::steady_clock::now();
    set.largestArrivalCount = computeSourceArrivals(clusters.snapshot(), set.arrivals, positions,
                                                    set.points->GetSourceFilter(), cancel);
    times.addArrivals(std::chrono::steady_clock::now() - start);
}

void ZorvAcousticsImpl::planChunks(const std::shared_ptr<SetCalculation>& set,
                                   const std::shared_ptr<Calculation>& calculation)
{
    set->dataSet = std::make_shared<DataSetImpl>();
    std::vector<std::pair<uint64_t, uint64_t>> chunks;
    if (set->sources)
    {
        // One job per worker, each taking blocks of points until none are left, so that a
        // worker the processor serves less holds the set up by one block at most.
        const uint64_t points = set->sources->pointCount();
        const uint32_t workers = engineThread.getNumThreads();
        const uint64_t blockSize = PointBlocks::BlockSizeFor(points, workers);
        set->dataSet->resize(points);
        set->blocks = std::make_unique<PointBlocks>(0, points, blockSize);
        const uint64_t blocks = (points + blockSize - 1) / blockSize;
        chunks.assign(std::min<uint64_t>(std::max<uint32_t>(1, workers), blocks), {0, points});
    }
    else
        chunks = PlanChunks(set->arrivals.size(), engineThread.getNumThreads());
    // Counted in full before the first chunk is queued: a chunk that completes while later
    // ones are still being queued must not find the count at zero and publish early.
    set->chunksLeft.store(static_cast<int32_t>(chunks.size()));
    for (const auto& [begin, end] : chunks)
    {
        results.notifyCalculationStarted(calculation->generation);
        const uint64_t id = engineThread.addJobs(
            [this, set, calculation, begin = begin, end = end](std::atomic<bool>& cancel)
            {
                guarded(set.get(), *calculation,
                        [&]
                        {
                            if (set->sources)
                            {
                                set->sources->computeBlocks(*set->dataSet, *set->blocks, cancel, &times);
                                return;
                            }
                            const auto start = std::chrono::steady_clock::now();
                            set->dataSet->computeRange(set->arrivals, begin, end, cancel,
                                                       set->largestArrivalCount.load());
                            times.addSums(std::chrono::steady_clock::now() - start);
                        });
            },
            [this, set, calculation]
            { guarded(set.get(), *calculation, [&] { completeChunk(*set, *calculation); }); });
        if (calculation->wait)
            calculation->subJobs.append(id);
    }
    results.notifyCalculationFinished(calculation->generation);
}

void ZorvAcousticsImpl::completeChunk(SetCalculation& set, const Calculation& calculation)
{
    int32_t left = set.chunksLeft.load();
    while (left > 0 && !set.chunksLeft.compare_exchange_weak(left, left - 1))
    {
    }
    if (left == 1)
    {
        set.points->SetDataSet(set.dataSet);
        results.publishDataSet(set.id, set.points, calculation.generation);
    }
    results.notifyCalculationFinished(calculation.generation);
}

void ZorvAcousticsImpl::guarded(SetCalculation* set, Calculation& calculation,
                                const std::function<void()>& work)
{
    if (calculation.abandoned.load())
        return;
    try
    {
        work();
    }
    catch (const std::exception& e)
    {
        abandon(set, calculation, e.what());
    }
    catch (...)
    {
        abandon(set, calculation, "unknown exception");
    }
}

void ZorvAcousticsImpl::abandon(SetCalculation* set, Calculation& calculation, const std::string& what)
{
    if (!set)
        LogCalculationFailure(what);
    else if (!set->failed.exchange(true))
        LogSetCalculationFailure(set->id, what);
    // Without this a failed step would stay open, and a listener would see the calculation
    // running until the next one starts.
    calculation.abandoned.store(true);
    results.abandonGeneration(calculation.generation);
}

std::vector<std::pair<uint64_t, uint64_t>> ZorvAcousticsImpl::PlanChunks(uint64_t points, uint32_t threads)
{
    uint64_t size = points != 0 && threads != 0 ? points / threads : 0;
    if (size < 2)
        size = 1;
    std::vector<std::pair<uint64_t, uint64_t>> chunks;
    for (uint64_t begin = 0; begin < points; begin += size)
        chunks.emplace_back(begin, std::min(begin + size, points));
    return chunks;
}

bool ZorvAcousticsImpl::IsOccluded(const Surfaces::Snapshot& blockers, const math::Vec3& point,
                                   const math::Vec3& centre)
{
    const math::Vec3 d = centre - point;
    const double squared = d.LengthSquared();
    const double length = math::AlmostEqual(squared, 0.0) ? 0.0 : std::sqrt(squared);
    if (math::AlmostEqual(length, 0.0))
        return false;
    return Surfaces::hitTest(blockers, math::Ray(point, math::Normalize(d)), length);
}

uint64_t ZorvAcousticsImpl::computeSourceArrivals(const Clusters::Snapshot& sources, ArrivalsList& arrivals,
                                                  const std::vector<FieldPoint>& positions, uint64_t filter,
                                                  const std::atomic<bool>& cancel)
{
    if (cancel.load() || sources.empty())
        return 0;
    const Surfaces::Snapshot blockers = surfaces.snapshot();
    const uint64_t count = std::min<uint64_t>(positions.size(), arrivals.size());

    uint64_t reported = 0;
    for (const auto& cluster : sources)
    {
        if (cancel.load())
            return reported;
        if (cluster->isMuted())
            continue;
        if (filter != FieldPoints::AllSources && filter != cluster->nodeId())
            continue;
        const math::Vec3 centre = cluster->centre();
        reported = 0;
        for (uint64_t i = 0; i < count; ++i)
        {
            if ((i & 0xFF) == 0)
            {
                if (cancel.load())
                    return reported;
                std::this_thread::yield();
            }
            const math::Vec3 point{positions[i].x, positions[i].y, positions[i].z};
            if (IsOccluded(blockers, point, centre))
                continue;
            auto reaching = cluster->computeArrivalsAtPoint(point);
            auto& entry = arrivals[i].arrivals;
            entry.insert(entry.end(), std::make_move_iterator(reaching.begin()),
                         std::make_move_iterator(reaching.end()));
            reported = std::max<uint64_t>(reported, entry.size());
        }
        std::this_thread::yield();
    }
    return reported;
}

} // namespace acoustics
} // namespace zorvpro
