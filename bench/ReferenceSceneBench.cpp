// The reference scene: one cluster of three generated "TQR40V" modules 3 m up, two beams
// (symmetric spread, steered -5 and +10 degrees, shading on), air absorption on, heard at a
// 50 m x 50 m floor at 0.5 m spacing (10,201 points) and at the cluster's medial plane.
//
//   build/bench/ReferenceSceneBench
//
// Every figure comes from one run, so the fast path and the straightforward path (kept as the
// reference) are measured side by side on the same machine state:
//   Calculate/...        wall time of calculate(true); peak_rss_mb is the process's peak resident
//                        memory during that benchmark; terms_per_core_s the pair-band terms with a
//                        non-zero coherence window evaluated per second per worker (fast path);
//                        busy:B runs B busy loops beside the engine's workers.
//   ResultMemory         peak resident memory, above an engine holding one cluster and no points,
//                        of calculating a million field points (the caller's points included), in
//                        bytes per point.
//   PerPoint             one thread without the engine: 511 floor points' arrivals made and summed
//                        (items per second are points).
//   ChangeToFirstResult  time from a steering change to the first dataSetReady, calculation on
//                        (it includes the engine's 300 ms settling pause); split into settling_ms
//                        and the rest, divided between arrivals_ms and sums_ms in the proportion of
//                        the workers' time making arrivals and summing them.
//   CancelWhileSumming   time for disabling calculation to return while every worker is busy
//                        summing: how fast running chunk jobs answer their cancel flag.
// A summary follows the table: the two speed ratios, and the largest difference between the two
// paths' results on this scene.

#include "acoustics/beam/BeamConstraints.h"
#include "acoustics/beam/BeamSteerFactory.h"
#include "acoustics/cluster/LoudspeakerClusterImpl.h"
#include "acoustics/data/LoudspeakerImpl.h"
#include "acoustics/engine/CalcListener.h"
#include "acoustics/engine/DataSetImpl.h"
#include "acoustics/engine/FieldPoints.h"
#include "acoustics/engine/FieldPointsData.h"
#include "acoustics/engine/ZorvAcousticsImpl.h"
#include "acoustics/fast/ClusterCapture.h"
#include "acoustics/model/Environment.h"
#include "bench/ArrayModule.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <fstream>
#include <malloc.h>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

using namespace zorvpro;
using namespace zorvpro::acoustics;
using Clock = std::chrono::steady_clock;

namespace
{

constexpr uint64_t FloorSet = 1;
constexpr uint64_t MedialSet = 2;

struct Scene
{
    std::shared_ptr<LoudspeakerClusterImpl> cluster;
    std::shared_ptr<BeamSteerImpl> firstBeam;
    std::shared_ptr<FieldPoints> floor = std::make_shared<FieldPoints>();
    std::shared_ptr<FieldPoints> medial = std::make_shared<FieldPoints>();
};

Scene& ReferenceScene()
{
    static Scene scene = []
    {
        Environment::instance().setAirAbsorptionEnabled(true);
        Scene s;
        s.cluster = std::dynamic_pointer_cast<LoudspeakerClusterImpl>(createLoudspeakerCluster());
        for (int m = 0; m < 3; ++m)
            if (s.cluster->addModule(bench::LoadArrayModule()) != 1)
                throw std::runtime_error("a module did not connect");
        s.cluster->setPosition(math::Vec3{0.0, 0.0, 3.0});
        for (double degrees : {-5.0, 10.0})
        {
            auto beam = BeamSteerFactory::instance().createBeamSteer(1);
            if (s.cluster->addBeamSteer(beam) != 1)
                throw std::runtime_error("a beam was refused");
            Angle angle = Angle::FromDegrees(degrees);
            beam->getConstraints()->setSteeringAngle(angle);
            beam->getConstraints()->setShadingOn(true);
            if (!s.firstBeam)
                s.firstBeam = beam;
        }

        // The floor in front of the array, 101 x 101 points.
        uint64_t tag = 0;
        for (int i = 0; i <= 100; ++i)
            for (int j = 0; j <= 100; ++j)
                s.floor->Add(0.5 * i, -25.0 + 0.5 * j, 0.0, tag++);
        // The medial plane: the vertical plane through the array's axis, 50 m deep, 12 m high.
        for (int i = 0; i <= 100; ++i)
            for (int k = 0; k <= 24; ++k)
                s.medial->Add(0.5 * i, 0.0, 0.5 * k, tag++);

        return s;
    }();
    return scene;
}

// Sums the points on this thread, arrivals and sums on flat arrays as a chunk job makes them;
// returns the pair-band terms with a non-zero window. Kept out of line so that instruction
// counts can be taken for it alone (valgrind --tool=callgrind --toggle-collect='*SumPointsOnThisThread*').
__attribute__((noinline)) uint64_t SumPointsOnThisThread(const FlatClusterModel& model,
                                                         const std::vector<FieldPoint>& points)
{
    FastArrivalsSum summer;
    FlatClusterArrivals maker;
    FrequencyMask out;
    for (const FieldPoint& p : points)
    {
        summer.startPoint(FlatClusterArrivals::capacity(model));
        maker.add(model, math::Vec3{p.x, p.y, p.z}, summer);
        summer.finishPoint(out);
    }
    return summer.evaluatedTerms();
}

// Non-zero-window pair-band terms of both sets.
uint64_t TermsPerCalculation()
{
    static const uint64_t terms = []
    {
        Scene& scene = ReferenceScene();
        const FlatClusterModel model = captureFlatClusterModel(*scene.cluster);
        return SumPointsOnThisThread(model, scene.floor->GetPoints()) +
               SumPointsOnThisThread(model, scene.medial->GetPoints());
    }();
    return terms;
}

// Peak resident memory: reset before a benchmark, read after it.
void ResetPeakRss()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

double StatusMb(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string key = field;
    while (std::getline(status, line))
        if (line.rfind(key, 0) == 0)
            return std::stod(line.substr(key.size())) / 1024.0; // kB
    return 0.0;
}

double PeakRssMb()
{
    return StatusMb("VmHWM:");
}

double RssMb()
{
    return StatusMb("VmRSS:");
}

// Threads that spin beside the benchmark until destroyed, as other programs would.
class BusyLoops
{
public:
    explicit BusyLoops(int count)
    {
        for (int i = 0; i < count; ++i)
            threads.emplace_back(
                [this]
                {
                    volatile uint64_t spins = 0;
                    while (!stop.load(std::memory_order_relaxed))
                        spins = spins + 1;
                });
    }
    ~BusyLoops()
    {
        stop.store(true);
        for (auto& t : threads)
            t.join();
    }

private:
    std::atomic<bool> stop{false};
    std::vector<std::thread> threads;
};

std::shared_ptr<ZorvAcousticsImpl> MakeEngine(int threads, bool chunkArrivals)
{
    ZorvAcousticsImpl::Options options;
    options.threadCount = threads;
    options.chunkArrivals = chunkArrivals;
    auto engine = ZorvAcousticsImpl::create(options);
    Scene& scene = ReferenceScene();
    engine->addCluster(scene.cluster);
    engine->setFieldPoints(FloorSet, scene.floor);
    engine->setFieldPoints(MedialSet, scene.medial);
    return engine;
}

std::map<std::string, double>& Seconds()
{
    static std::map<std::string, double> seconds;
    return seconds;
}

// The data sets the default pool published, by path (true: fast), then by set id.
std::map<bool, std::map<uint64_t, std::shared_ptr<DataSetImpl>>>& Published()
{
    static std::map<bool, std::map<uint64_t, std::shared_ptr<DataSetImpl>>> published;
    return published;
}

// The largest difference between the two paths' band powers at any point, as a fraction of that
// point's incoherent power in the band (the sum of its arrivals' squared amplitudes).
double LargestDeviation()
{
    auto& published = Published();
    if (published[true].empty() || published[false].empty())
        return -1.0;
    Scene& scene = ReferenceScene();
    double largest = 0.0;
    for (const auto& [id, set] :
         std::map<uint64_t, std::shared_ptr<FieldPoints>>{{FloorSet, scene.floor}, {MedialSet, scene.medial}})
    {
        const auto fast = published[true][id];
        const auto reference = published[false][id];
        if (!fast || !reference)
            return -1.0;
        const std::vector<FieldPoint> points = set->GetPoints();
        for (uint64_t i = 0; i < points.size(); ++i)
        {
            const auto arrivals =
                scene.cluster->computeArrivalsAtPoint({points[i].x, points[i].y, points[i].z});
            const DataSetImpl::PointResult ours = fast->resultAt(i);
            const DataSetImpl::PointResult theirs = reference->resultAt(i);
            const DoubleBuffer& a = ours.spectrum.magnitudes();
            const DoubleBuffer& b = theirs.spectrum.magnitudes();
            for (uint64_t k = 0; k < a.count() && k < b.count(); ++k)
            {
                double incoherent = 0.0;
                for (const Arrival& arrival : arrivals)
                    incoherent +=
                        arrival.getResponse().magnitudes()[k] * arrival.getResponse().magnitudes()[k];
                if (incoherent > 0.0)
                    largest = std::max(largest, std::fabs(a[k] - b[k]) / incoherent);
            }
        }
    }
    return largest;
}

// Arguments: worker threads (-1 the default pool, 0 every logical processor), 1 for the fast
// path or 0 for the straightforward one, and the number of busy loops running beside.
void Calculate(benchmark::State& state)
{
    int threads = static_cast<int>(state.range(0));
    if (threads == 0)
        threads = static_cast<int>(std::thread::hardware_concurrency());
    const bool fast = state.range(1) != 0;
    Scene& scene = ReferenceScene();
    ResetPeakRss();
    auto engine = MakeEngine(threads, fast);
    const int busy = static_cast<int>(state.range(2));
    BusyLoops loops(busy);

    double total = 0.0;
    for (auto _ : state)
    {
        const auto start = Clock::now();
        engine->calculate(true);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        state.SetIterationTime(seconds);
        total += seconds;
    }
    for (uint64_t id : {FloorSet, MedialSet})
    {
        auto published = engine->getDataSet(id);
        if (!published || !published->GetDataSet())
            state.SkipWithError("a set got no data set");
        else if (state.range(0) == -1 && busy == 0)
            Published()[fast][id] = std::dynamic_pointer_cast<DataSetImpl>(published->GetDataSet());
    }

    const double workers = engine->getNumThreads();
    const double perCalculation = total / static_cast<double>(state.iterations());
    state.counters["workers"] = workers;
    state.counters["points"] = static_cast<double>(scene.floor->Count() + scene.medial->Count());
    state.counters["peak_rss_mb"] = PeakRssMb();
    if (fast)
        state.counters["terms_per_core_s"] =
            static_cast<double>(TermsPerCalculation()) / (perCalculation * workers);
    Seconds()[std::to_string(state.range(0)) + (fast ? " fast" : " reference") + (busy > 0 ? " busy" : "")] =
        perCalculation;
    engine->removeCluster(scene.cluster);
}

// A million field points (a 1000 x 1000 grid at 5 cm) heard from one module without beams.
void ResultMemory(benchmark::State& state)
{
    constexpr uint64_t Points = 1000000;
    for (auto _ : state)
    {
        auto cluster = createLoudspeakerCluster();
        if (cluster->addModule(bench::LoadArrayModule()) != 1)
            throw std::runtime_error("the module did not connect");
        cluster->setPosition(math::Vec3{0.0, 0.0, 3.0});
        ZorvAcousticsImpl::Options options;
        auto engine = ZorvAcousticsImpl::create(options);
        engine->addCluster(cluster);
        // Earlier benchmarks' freed heap would otherwise be reused unseen.
        malloc_trim(0);
        const double empty = RssMb();
        ResetPeakRss();

        const auto start = Clock::now();
        {
            auto set = std::make_shared<FieldPoints>();
            std::vector<FieldPoint> points;
            points.reserve(Points);
            for (uint64_t i = 0; i < Points; ++i)
                points.push_back({2.0 + 0.05 * static_cast<double>(i / 1000),
                                  -25.0 + 0.05 * static_cast<double>(i % 1000), 0.0, i});
            set->SetPoints(std::move(points));
            engine->setFieldPoints(1, set);
        }
        engine->calculate(true);
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        const double peak = PeakRssMb();

        const auto published = engine->getDataSet(1);
        const auto data =
            published ? std::dynamic_pointer_cast<DataSetImpl>(published->GetDataSet()) : nullptr;
        if (!data || data->size() != Points || data->resultAt(Points - 1).tag != Points - 1)
            state.SkipWithError("the million points got no data set");
        state.counters["bytes_per_point"] = (peak - empty) * 1024.0 * 1024.0 / static_cast<double>(Points);
        state.counters["empty_engine_mb"] = empty;
        engine->removeCluster(cluster);
    }
}

// One thread, no engine: every 20th point of the floor, each point's arrivals made and summed.
void PerPoint(benchmark::State& state)
{
    Scene& scene = ReferenceScene();
    const FlatClusterModel model = captureFlatClusterModel(*scene.cluster);
    std::vector<FieldPoint> points;
    const std::vector<FieldPoint> floor = scene.floor->GetPoints();
    for (uint64_t i = 0; i < floor.size(); i += 20)
        points.push_back(floor[i]);
    uint64_t terms = 0;
    for (auto _ : state)
        terms = SumPointsOnThisThread(model, points);
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * points.size()));
    state.counters["terms_per_point"] = static_cast<double>(terms) / static_cast<double>(points.size());
}

class FirstResult : public CalcListener
{
public:
    void calcStarted() override {}
    void calcStateChanged(bool) override {}
    void dataSetReady(uint64_t) override
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (!ready)
        {
            ready = true;
            at = Clock::now();
            cv.notify_all();
        }
    }
    void arm()
    {
        std::lock_guard<std::mutex> lock(mutex);
        ready = false;
    }
    Clock::time_point wait()
    {
        std::unique_lock<std::mutex> lock(mutex);
        cv.wait(lock, [this] { return ready; });
        return at;
    }

private:
    std::mutex mutex;
    std::condition_variable cv;
    bool ready = false;
    Clock::time_point at;
};

void ChangeToFirstResult(benchmark::State& state)
{
    Scene& scene = ReferenceScene();
    auto engine = MakeEngine(-1, true);
    engine->calculate(true);
    FirstResult listener;
    engine->addCalcListener(&listener);
    engine->setCalculationEnabled(true);
    bool flip = false;
    double settling = 0.0, arrivals = 0.0, sums = 0.0;
    for (auto _ : state)
    {
        // Let the previous recalculation finish, so that every change starts from rest.
        while (engine->isBusy() || engine->isCalculating())
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        listener.arm();
        flip = !flip;
        Angle angle = Angle::FromDegrees(flip ? -4.0 : -5.0);
        const auto start = Clock::now();
        scene.firstBeam->getConstraints()->setSteeringAngle(angle);
        const auto ready = listener.wait();
        const CalculationTimes::Snapshot times = engine->lastCalculationTimes();
        const double seconds = std::chrono::duration<double>(ready - start).count();
        state.SetIterationTime(seconds);
        const double working = std::max(0.0, seconds - times.settlingSeconds);
        const double spent = times.arrivalSeconds + times.sumSeconds;
        settling += times.settlingSeconds;
        if (spent > 0.0)
        {
            arrivals += working * times.arrivalSeconds / spent;
            sums += working * times.sumSeconds / spent;
        }
    }
    const double iterations = static_cast<double>(state.iterations());
    state.counters["settling_ms"] = 1000.0 * settling / iterations;
    state.counters["arrivals_ms"] = 1000.0 * arrivals / iterations;
    state.counters["sums_ms"] = 1000.0 * sums / iterations;
    engine->setCalculationEnabled(false);
    engine->removeCalcListener(&listener);
    Angle angle = Angle::FromDegrees(-5.0);
    scene.firstBeam->getConstraints()->setSteeringAngle(angle);
    engine->removeCluster(scene.cluster);
}

void CancelWhileSumming(benchmark::State& state)
{
    Scene& scene = ReferenceScene();
    auto engine = MakeEngine(-1, true);
    double worst = 0.0;
    for (auto _ : state)
    {
        engine->calculate(false);
        // Well into the chunk jobs: the settling pause is skipped while calculation is off.
        std::this_thread::sleep_for(std::chrono::milliseconds(60));
        const auto start = Clock::now();
        engine->setCalculationEnabled(false); // cancels every job and waits for them
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        state.SetIterationTime(seconds);
        worst = std::max(worst, seconds);
        while (engine->isCalculating())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    state.counters["worst_ms"] = worst * 1000.0;
    engine->removeCluster(scene.cluster);
}

} // namespace

BENCHMARK(Calculate)
    ->ArgNames({"workers", "fast", "busy"})
    ->Args({-1, 1, 0})
    ->Args({1, 1, 0})
    ->Args({0, 1, 0})
    ->Args({1, 1, 2})
    ->Args({0, 1, 2})
    ->Args({-1, 0, 0})
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(PerPoint)->Unit(benchmark::kMicrosecond);
BENCHMARK(ChangeToFirstResult)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(CancelWhileSumming)->Iterations(10)->UseManualTime()->Unit(benchmark::kMillisecond);
// Last: the million points leave a large heap behind (it returns earlier benchmarks' freed heap
// to the system before it measures).
BENCHMARK(ResultMemory)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    const auto& s = Seconds();
    auto at = [&](const char* name)
    {
        const auto found = s.find(name);
        return found == s.end() ? 0.0 : found->second;
    };
    const double fastDefault = at("-1 fast");
    const double fastOne = at("1 fast");
    const double fastAll = at("0 fast");
    const double reference = at("-1 reference");
    const double busyOne = at("1 fast busy");
    const double busyAll = at("0 fast busy");
    if (fastDefault > 0.0 && reference > 0.0)
        std::printf("fast path vs straightforward path, default pool: %.1fx faster\n",
                    reference / fastDefault);
    if (fastOne > 0.0 && fastAll > 0.0)
        std::printf("fast path, all workers vs 1 worker: %.1fx faster (%u processors)\n", fastOne / fastAll,
                    std::thread::hardware_concurrency());
    if (busyOne > 0.0 && busyAll > 0.0)
        std::printf("fast path with two busy loops beside, all workers vs 1 worker: %.1fx faster\n",
                    busyOne / busyAll);
    const double deviation = LargestDeviation();
    if (deviation >= 0.0)
        std::printf("largest difference between the paths: %.3g of a band's incoherent power\n", deviation);
    return 0;
}
