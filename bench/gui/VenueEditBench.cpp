// Editing costs of the venue tab's adapter, offscreen with the entity list in place: one live
// step of a mouse drag moving 100 selected surfaces (target: median under 16 ms), and adding a
// new surface to a venue of 1,000, the free-spot search included (target: under 5 ms).
#include "core/Commands/UndoStack.h"
#include "core/Nodes/QuadNode.h"
#include "data/Project/ProjectDefinition.h"
#include "data/Project/Venue.h"
#include "views/Adapters/Venue/VenueTabAdapter.h"
#include "views/Render/VenueView3D.h"
#include "views/Tabs/BaseComponents/EntitySelectionControl.h"

#include <QApplication>
#include <QStandardPaths>
#include <QUndoStack>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <memory>

using namespace zorvpro;

namespace
{
void FillVenue(int count)
{
    ProjectDefinition::Instance()->Clear(false);
    UndoStack::Instance().clear();
    const NodePtr root = ProjectDefinition::Instance()->GetVenue()->GetRoot();
    for (int i = 0; i < count; ++i)
    {
        QuadNodePtr quad = QuadNode::Create("Surface " + std::to_string(i + 1), {0, 1, 0}, {2, 1, 0},
                                            {2, -1, 0}, {0, -1, 0}, QColor("#ff8632"), 1.2, 0.0);
        quad->SetTransform(math::Mat4::Translation({3.0 * (i % 30), 3.0 * (i / 30), 0.0}));
        root->AddChild(quad);
    }
}

struct Tab
{
    Tab(int surfaces, bool withList) : adapter(withList ? &list : nullptr, nullptr)
    {
        FillVenue(surfaces);
        plan = new view::VenueView3D(&page);
        side = new view::VenueView3D(&page);
        plan->GetViewport().Resize(1200, 800);
        side->GetViewport().Resize(1200, 300);
        adapter.SetPlanView(plan);
        adapter.SetSideView(side);
        adapter.LoadVenue();
        adapter.setPlanViewZoomLevel(40.0, true);
        QCoreApplication::processEvents();
    }
    ~Tab()
    {
        UndoStack::Instance().clear();
        ProjectDefinition::Instance()->Clear(false);
    }
    view::MouseAction Action(std::uint32_t code, const view::EntityPtr& entity, QPoint delta = {})
    {
        view::MouseAction action;
        action.action = code;
        action.entity = entity;
        action.tag = plan->GetId();
        action.delta = delta;
        return action;
    }

    QWidget page;
    view::VenueView3D* plan = nullptr;
    view::VenueView3D* side = nullptr;
    EntitySelectionControl list{EntitySelectionControl::kSurfaceList, "VenueTab"};
    VenueTabAdapter adapter;
};

void BM_DragStepHundredSurfaces(benchmark::State& state)
{
    Tab tab(100, true);
    tab.adapter.SelectAll();
    const ModelAdapter::IdVector ids = tab.adapter.GetSelectedIds();
    const view::EntityPtr grabbed = tab.adapter.GetLinks().GetEntityByNodeId(ids.front());
    tab.adapter.HandleMouseAction(tab.Action(view::MouseActionCode::EntityPress, grabbed));
    int sign = 1;
    for (auto _ : state)
    {
        tab.adapter.HandleMouseAction(tab.Action(view::MouseActionCode::EntityMove, nullptr, {3 * sign, 2}));
        sign = -sign;
        state.PauseTiming();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["selected"] = double(tab.adapter.GetSelectedCount());
}
BENCHMARK(BM_DragStepHundredSurfaces)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_AddNewItemToThousand(benchmark::State& state)
{
    Tab tab(1000, state.range(0) != 0);
    for (auto _ : state)
    {
        tab.adapter.AddNewItem(false);
        // The views and the list post their updates; a running event loop would deliver them.
        state.PauseTiming();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["surfaces"] = double(ProjectDefinition::Instance()->GetVenue()->GetRoot()->GetChildCount());
}
// Argument: whether the entity list takes part.
BENCHMARK(BM_AddNewItemToThousand)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(50);
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
