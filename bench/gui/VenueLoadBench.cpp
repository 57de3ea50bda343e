// Loading a venue into the venue tab's adapter and resetting its views, for 250 to 4,000
// surfaces: the cost per surface should stay flat as the venue grows. Runs offscreen; the views
// are never shown. Counter `cpu_us_per_surface`.
#include "core/Nodes/QuadNode.h"
#include "data/Project/ProjectDefinition.h"
#include "data/Project/Venue.h"
#include "views/Adapters/Venue/VenueTabAdapter.h"
#include "views/Render/VenueView3D.h"
#include "views/Tabs/BaseComponents/EntitySelectionControl.h"

#include <QApplication>
#include <QStandardPaths>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <ctime>
#include <memory>

using namespace zorvpro;

namespace
{
void FillVenue(int count)
{
    ProjectDefinition::Instance()->Clear(false);
    const NodePtr root = ProjectDefinition::Instance()->GetVenue()->GetRoot();
    for (int i = 0; i < count; ++i)
    {
        QuadNodePtr quad = QuadNode::Create("Surface " + std::to_string(i + 1), {0, 1, 0}, {2, 1, 0},
                                            {2, -1, 0}, {0, -1, 0}, QColor("#ff8632"), 1.2, 0.0);
        quad->SetTransform(math::Mat4::Translation({3.0 * (i % 60), 3.0 * (i / 60), 0.0}));
        root->AddChild(quad);
    }
}

// Arguments: surfaces, and whether the entity list takes part (1) or not (0).
void BM_LoadVenueThenResetViews(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    FillVenue(count);
    QWidget page;
    auto* plan = new view::VenueView3D(&page);
    auto* side = new view::VenueView3D(&page);
    std::unique_ptr<EntitySelectionControl> list;
    if (state.range(1) != 0)
        list = std::make_unique<EntitySelectionControl>(EntitySelectionControl::kSurfaceList, "VenueTab");
    VenueTabAdapter adapter(list.get(), nullptr);
    adapter.SetPlanView(plan);
    adapter.SetSideView(side);
    // Processor time, not wall time: a shared machine's load must not decide the ratio.
    double seconds = 0.0;
    for (auto _ : state)
    {
        const std::clock_t start = std::clock();
        adapter.LoadVenue();
        adapter.ResetViews(true);
        seconds += double(std::clock() - start) / CLOCKS_PER_SEC;
        benchmark::DoNotOptimize(adapter.GetLinks().EntryCount());
    }
    state.counters["cpu_us_per_surface"] = 1e6 * seconds / (double(state.iterations()) * count);
    ProjectDefinition::Instance()->Clear(false);
}
BENCHMARK(BM_LoadVenueThenResetViews)
    ->ArgsProduct({{250, 1000, 4000}, {0}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
// With the entity list: its rows of buttons dominate, so fewer and smaller runs.
BENCHMARK(BM_LoadVenueThenResetViews)
    ->ArgsProduct({{250, 1000}, {1}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
