// Wall time of one full calculation (calculate and wait) of a generated scene: a column of two
// "TQR40V" array modules 6 m above the floor, heard at a square grid of listener points.
//
//   build/bench/EngineCalculateBench --benchmark_repetitions=5
//
// Counters: points, arrivals per point, and points per second of wall time.

#include "acoustics/cluster/LoudspeakerClusterImpl.h"
#include "acoustics/data/LoudspeakerImpl.h"
#include "acoustics/engine/AcousticsRegistry.h"
#include "acoustics/engine/FieldPoints.h"
#include "acoustics/engine/FieldPointsData.h"
#include "bench/ArrayModule.h"

#include <benchmark/benchmark.h>

#include <stdexcept>

using namespace zorvpro;
using namespace zorvpro::acoustics;

namespace
{

std::shared_ptr<LoudspeakerCluster> MakeArray()
{
    auto cluster = createLoudspeakerCluster();
    cluster->addModule(bench::LoadArrayModule());
    cluster->addModule(bench::LoadArrayModule());
    cluster->setPosition(math::Vec3{0.0, 0.0, 6.0});
    return cluster;
}

// side x side listener points 1.2 m high, 2 to 40 m in front of the array, 30 m wide.
std::shared_ptr<FieldPoints> ListenerGrid(int side)
{
    auto points = std::make_shared<FieldPoints>();
    uint64_t tag = 0;
    for (int i = 0; i < side; ++i)
        for (int j = 0; j < side; ++j)
        {
            const double x = 2.0 + 38.0 * i / std::max(1, side - 1);
            const double y = -15.0 + 30.0 * j / std::max(1, side - 1);
            points->Add(x, y, 1.2, tag++);
        }
    return points;
}

void CalculateAndWait(benchmark::State& state)
{
    const int side = static_cast<int>(state.range(0));
    auto cluster = MakeArray();
    auto points = ListenerGrid(side);

    // What the engine will sum at every point: the arrivals of every driver of both modules.
    auto impl = std::dynamic_pointer_cast<LoudspeakerClusterImpl>(cluster);
    uint64_t arrivals = 0;
    for (const FieldPoint& p : points->GetPoints())
        arrivals += impl->computeArrivalsAtPoint(math::Vec3{p.x, p.y, p.z}).size();

    releaseAcousticsEngine(0);
    auto engine = getAcousticsEngine(0);
    engine->addCluster(cluster);
    engine->setFieldPoints(1, points);

    for (auto _ : state)
        engine->calculate(true);

    auto published = engine->getDataSet(1);
    if (!published || !published->GetDataSet() || published->Count() != points->Count())
        state.SkipWithError("the calculation published no complete data set");

    const double n = static_cast<double>(points->Count());
    state.counters["points"] = n;
    state.counters["arrivals_per_point"] = static_cast<double>(arrivals) / n;
    state.counters["points_per_second"] =
        benchmark::Counter(n * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);

    engine->removeCluster(cluster);
    engine.reset();
    releaseAcousticsEngine(0);
}

} // namespace

BENCHMARK(CalculateAndWait)->Arg(10)->Arg(20)->Arg(40)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
