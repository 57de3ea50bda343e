// The coverage-map adapter's costs on the GUI thread, without views (offscreen):
//
//   build/bench/CoverageMapBench
//
//   PollTenResults        one poll tick that takes ten computed results of 20,301 points each
//                         (201 x 101 grids) and hands them to their maps: promotion, the check
//                         that each result fits its cut, levels, mesh and colours. Target: 50 ms.
//   EditToColouredMap     a floor corner moved until its map is coloured again, with the real
//                         engine on the reference scene (three "TQR40V" modules 3 m up, two beams,
//                         a 50 m x 50 m floor at 0.5 m and the medial plane), split into counters:
//                         tessellate_ms (edit to the cut handed to the engine side), settle_ms
//                         (the engine's configured settling pause), compute_ms (the rest of the
//                         wait for the result), recolour_ms (the poll tick that colours it) and
//                         total_ms. Target: under 1 s on 8 cores. The poll runs continuously here;
//                         the application's 50 ms timer adds up to one tick.
//   PollTicksOfAStep/rising:R
//                         the poll ticks of one calculation step with Auto-adjust on, over ten
//                         floors of 20,301 points (203,010 in all): ten ticks each bring one
//                         floor's result, then one tick brings the step's end. With rising:1 each
//                         result is 1 dB louder than the loudest shown, with rising:0 all are
//                         equally loud. The time is the GUI thread's processor time per tick;
//                         counters partial_tick_ms (a tick with a result), finish_tick_ms (the
//                         tick that ends the step), wall_tick_ms and recolours (maps coloured
//                         per step).
#include "CoverageScene.h"

#include "acoustics/cluster/LoudspeakerCluster.h"
#include "acoustics/engine/DataSet.h"
#include "acoustics/engine/FieldPointsData.h"
#include "acoustics/engine/ZorvAcousticsImpl.h"
#include "data/Field/FieldMessageTypes.h"
#include "data/Nodes/LoudspeakerClusterNode.h"
#include "data/Nodes/LoudspeakerNode.h"
#include "data/Project/ProjectDefinition.h"
#include "data/Project/ProjectSettings.h"
#include "data/Project/Venue.h"
#include "tools/datagen/Models.h"
#include "views/Render/FieldEntity.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

#include <cfloat>
#include <chrono>
#include <cmath>
#include <thread>
#include <time.h>

using namespace zorvpro;
using Clock = std::chrono::steady_clock;

namespace
{
class LevelsByDistance : public acoustics::DataSet
{
public:
    explicit LevelsByDistance(std::vector<acoustics::FieldPoint> points) : m_points(std::move(points)) {}
    void getSpl(SplValues& out, int32_t, double) override
    {
        out.clear();
        out.reserve(m_points.size());
        for (const auto& p : m_points)
            out.emplace_back(p.tag, 110.0 - 20.0 * std::log10(1.0 + std::hypot(p.x, p.y)));
    }
    void getSplRange(double& min, double& max) const override
    {
        min = 70;
        max = 110;
    }

private:
    std::vector<acoustics::FieldPoint> m_points;
};

// Levels falling away from the chunk's first point from a given peak; the range is that of the
// last read, as the engine's data sets give it.
class PeakedLevels : public acoustics::DataSet
{
public:
    PeakedLevels(std::vector<acoustics::FieldPoint> points, double peak)
        : m_points(std::move(points)), m_peak(peak)
    {
    }
    void getSpl(SplValues& out, int32_t, double) override
    {
        out.clear();
        out.reserve(m_points.size());
        m_min = DBL_MAX;
        m_max = -DBL_MAX;
        const acoustics::FieldPoint& origin = m_points.front();
        for (const auto& p : m_points)
        {
            const double level = m_peak - 20.0 * std::log10(1.0 + std::hypot(p.x - origin.x, p.y - origin.y));
            out.emplace_back(p.tag, level);
            m_min = std::min(m_min, level);
            m_max = std::max(m_max, level);
        }
    }
    void getSplRange(double& min, double& max) const override
    {
        min = m_min;
        max = m_max;
    }

private:
    std::vector<acoustics::FieldPoint> m_points;
    double m_peak;
    double m_min = DBL_MAX;
    double m_max = -DBL_MAX;
};

void WaitForNextMillisecond()
{
    const int64_t start = Timestamp::NowMilliseconds();
    while (Timestamp::NowMilliseconds() == start)
        std::this_thread::yield();
}

// Ten floors of 200 m x 100 m at 1 m (20,301 points each) cut and announced to the engine side,
// whose inbox is then emptied; their chunks. With a loudspeaker their maps show once computed.
std::vector<field::FieldChunkPtr> TenFloors(SplAdapter& adapter, bool withLoudspeaker)
{
    std::vector<QuadNodePtr> floors;
    for (int i = 0; i < 10; ++i)
    {
        const double y = 120.0 * i;
        floors.push_back(QuadNode::Create("floor", {0, y, 0}, {200, y, 0}, {200, y + 100, 0}, {0, y + 100, 0},
                                          QColor(128, 128, 128), 1.2, 0.0));
        adapter.NodeChanged(SplAdapter::NodeAdded, floors.back());
    }
    if (withLoudspeaker)
        adapter.NodeChanged(SplAdapter::NodeAdded,
                            LoudspeakerClusterNode::Create(acoustics::createLoudspeakerCluster()));
    bool cut = false;
    adapter.GetTaskQueue().Add([] {}, [&cut] { cut = true; });
    while (!cut)
        adapter.ProcessEngineMessages();
    auto engineSide = adapter.GetEngineMessenger();
    while (engineSide->Receive())
    {
    }
    std::vector<field::FieldChunkPtr> chunks;
    for (const auto& f : floors)
        chunks.push_back(adapter.FindPairing(f)->chunk);
    return chunks;
}

void PollTenResults(benchmark::State& state)
{
    ProjectDefinition::Instance()->Clear(false);
    gallery::SilentSplPanel panel;
    SplAdapter adapter(&panel);
    auto engineSide = adapter.GetEngineMessenger();
    const std::vector<field::FieldChunkPtr> chunks = TenFloors(adapter, false);
    if (chunks.front()->GetPoints().Count() != 20301)
    {
        state.SkipWithError("unexpected grid size");
        return;
    }

    for (auto _ : state)
    {
        state.PauseTiming();
        WaitForNextMillisecond();
        for (const auto& chunk : chunks)
        {
            auto result = std::make_shared<acoustics::FieldPointsData>(chunk->GetPoints());
            result->SetDataSet(std::make_shared<LevelsByDistance>(chunk->GetPoints().GetPoints()));
            chunk->SetDataSet(result);
            engineSide->SendChunks(field::MessageType::ChunksUpdated, {chunk});
        }
        state.ResumeTiming();
        adapter.ProcessEngineMessages();
    }
    state.counters["points"] = double(chunks.size() * chunks.front()->GetPoints().Count());
    state.counters["meshes_set"] = double(adapter.GetCounters().meshesSet);
}
BENCHMARK(PollTenResults)->Unit(benchmark::kMillisecond);

void PollTicksOfAStep(benchmark::State& state)
{
    const bool rising = state.range(0) != 0;
    ProjectDefinition::Instance()->Clear(false);
    ProjectDefinition::Instance()->GetSettings()->setSplAutoAdjustRange(true);
    gallery::SilentSplPanel panel;
    SplAdapter adapter(&panel);
    auto engineSide = adapter.GetEngineMessenger();
    const std::vector<field::FieldChunkPtr> chunks = TenFloors(adapter, true);
    auto deliver = [&](const field::FieldChunkPtr& chunk, double peak)
    {
        auto result = std::make_shared<acoustics::FieldPointsData>(chunk->GetPoints());
        result->SetDataSet(std::make_shared<PeakedLevels>(chunk->GetPoints().GetPoints(), peak));
        chunk->SetDataSet(result);
        engineSide->SendChunks(field::MessageType::ChunksUpdated, {chunk});
    };
    // Every map shown quiet, the range fitted to it: each step starts from there.
    auto quietStep = [&]
    {
        WaitForNextMillisecond();
        for (const auto& chunk : chunks)
            deliver(chunk, 60.0);
        engineSide->Send(field::MessageType::StepFinished);
        while (adapter.GetFieldManager().GetQueuedCount(field::Side::UserInterface) > 0)
            adapter.ProcessEngineMessages();
    };
    quietStep();
    for (const auto& chunk : chunks)
    {
        if (!adapter.FindPairing({}, chunk)->entity->isVisible())
        {
            state.SkipWithError("a floor's map is not shown");
            return;
        }
    }

    // The GUI thread's processor time: other programs sharing the machine do not count.
    auto cpuMs = []
    {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return double(t.tv_sec) * 1e3 + double(t.tv_nsec) * 1e-6;
    };
    double partial = 0, finish = 0, wall = 0;
    uint64_t recolours = 0;
    for (auto _ : state)
    {
        quietStep();
        WaitForNextMillisecond();
        const uint64_t recoloursBefore = adapter.GetCounters().recolours;
        double step = 0;
        auto tick = [&](double& sum)
        {
            const auto start = Clock::now();
            const double cpu = cpuMs();
            adapter.ProcessEngineMessages();
            const double spent = cpuMs() - cpu;
            wall += std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            sum += spent;
            step += spent;
        };
        for (size_t i = 0; i < chunks.size(); ++i)
        {
            deliver(chunks[i], rising ? 90.0 + double(i) : 100.0);
            tick(partial);
        }
        engineSide->Send(field::MessageType::StepFinished);
        tick(finish);
        recolours += adapter.GetCounters().recolours - recoloursBefore;
        state.SetIterationTime(step / 1000.0 / double(chunks.size() + 1));
    }
    const double n = double(state.iterations());
    state.counters["points"] = double(chunks.size() * chunks.front()->GetPoints().Count());
    state.counters["partial_tick_ms"] = partial / n / double(chunks.size());
    state.counters["finish_tick_ms"] = finish / n;
    state.counters["wall_tick_ms"] = wall / n / double(chunks.size() + 1);
    state.counters["recolours"] = double(recolours) / n;
}
BENCHMARK(PollTicksOfAStep)
    ->ArgName("rising")
    ->Arg(1)
    ->Arg(0)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void EditToColouredMap(benchmark::State& state)
{
    if (!gallery::PrepareLoudspeakers())
    {
        state.SkipWithError("the generated array module did not load");
        return;
    }
    ApplicationSeam app;
    acoustics::ZorvAcousticsImpl::Options options;
    auto engine = acoustics::ZorvAcousticsImpl::create(options);
    app.SetEngine(engine);
    field::AudioEngineHandler handler(nullptr);
    handler.AttachToEngine();
    ProjectDefinition& project = *ProjectDefinition::Instance();
    project.Clear(false);
    project.GetSettings()->setSplResolution(0.5);
    project.GetSettings()->setAirAbsorptionEnabled(true);
    gallery::SilentSplPanel panel;
    auto adapter = std::make_unique<SplAdapter>(&panel);
    handler.SetMessenger(adapter->GetEngineMessenger());
    handler.Start();
    adapter->SetMedialPlaneProvider(
        [](const std::shared_ptr<LoudspeakerClusterNode>&) {
            return SplAdapter::QuadPoints{math::Vec3{0, 0, 0}, {50, 0, 0}, {50, 0, 10}, {0, 0, 10}};
        });
    adapter->SetAutoCalculate(true);
    adapter->ShowSplMaps(true);

    const NodePtr root = project.GetVenue()->GetRoot();
    auto floor = QuadNode::Create("floor", {0, -25, 0}, {50, -25, 0}, {50, 25, 0}, {0, 25, 0},
                                  QColor(128, 128, 128), 0.0, 0.0);
    root->AddChild(floor);
    adapter->NodeChanged(SplAdapter::NodeAdded, floor);
    auto array = BeamSpeakerClusterNode::Create(acoustics::createLoudspeakerCluster());
    for (int i = 0; i < 3; ++i)
        array->AddChild(CreateLoudspeakerNode(datagen::kArrayModelName));
    array->SetTransform(math::Mat4::Translation({0, 0, 3}));
    root->AddChild(array);
    array->SetBeamCount(2);
    array->SetBeamSteering(0, -5.0 * M_PI / 180.0);
    array->SetBeamSteering(1, 10.0 * M_PI / 180.0);
    adapter->NodeChanged(SplAdapter::NodeAdded, array);

    const auto pairing = adapter->FindPairing(floor);
    auto waitFor = [&](const std::function<bool()>& condition)
    {
        const auto deadline = Clock::now() + std::chrono::seconds(300);
        while (!condition() && Clock::now() < deadline)
        {
            adapter->ProcessEngineMessages();
            std::this_thread::yield();
        }
        return condition();
    };
    if (!waitFor([&] { return pairing->shownStamp > pairing->resultStamp && pairing->resultStamp > 0; }) ||
        !waitFor([&] { return !engine->isBusy(); }))
    {
        state.SkipWithError("the first map did not arrive");
        return;
    }

    double tessellate = 0, compute = 0, recolour = 0, total = 0;
    double step = 0.1;
    for (auto _ : state)
    {
        const uint64_t tessellated = pairing->tessellatedStamp;
        const uint64_t shown = pairing->shownStamp;
        const auto start = Clock::now();
        floor->SetP2(floor->GetP2() + math::Vec3{step, 0, 0});
        step = -step;
        adapter->NodeChanged(SplAdapter::NodeUpdated, floor);
        waitFor([&] { return pairing->tessellatedStamp != tessellated; });
        const auto cut = Clock::now();
        auto lastTick = cut;
        auto tickStart = cut;
        while (pairing->shownStamp == shown || pairing->resultStamp < pairing->changedStamp)
        {
            tickStart = Clock::now();
            adapter->ProcessEngineMessages();
            lastTick = Clock::now();
            if (lastTick - start > std::chrono::seconds(300))
            {
                state.SkipWithError("no new map");
                return;
            }
        }
        const auto ms = [](Clock::duration d)
        { return std::chrono::duration<double, std::milli>(d).count(); };
        tessellate += ms(cut - start);
        compute += ms(tickStart - cut);
        recolour += ms(lastTick - tickStart);
        total += ms(lastTick - start);
        state.SetIterationTime(std::chrono::duration<double>(lastTick - start).count());
        waitFor([&] { return !engine->isBusy(); });
    }
    const double n = double(state.iterations());
    const double settle = double(options.settlingPause.count());
    state.counters["points"] = double(pairing->chunk->GetPoints().Count());
    state.counters["tessellate_ms"] = tessellate / n;
    state.counters["settle_ms"] = settle;
    state.counters["compute_ms"] = compute / n - settle;
    state.counters["recolour_ms"] = recolour / n;
    state.counters["total_ms"] = total / n;

    handler.Shutdown();
    adapter.reset();
    project.Clear(false);
    engine->setCalculationEnabled(false);
    app.SetEngine(nullptr);
}
BENCHMARK(EditToColouredMap)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
