// A mouse move over a venue of 200 surfaces and 20 steerable arrays with one surface and one
// array selected: the hit test through every entity and the mouse handler's hover. Target:
// under 1 ms per move on one core. No GL: the entities build their vertices on the CPU.
#include "GallerySelection.h"

#include "acoustics/cluster/LoudspeakerCluster.h"
#include "data/Nodes/BeamSpeakerClusterNode.h"
#include "data/Nodes/LoudspeakerNode.h"
#include "tools/datagen/Models.h"
#include "views/Render/ScenePick.h"
#include "views/Render/SpeakerAdornerEntity.h"
#include "views/Render/VenueMouseHandler.h"
#include "views/Render/Viewport.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <list>
#include <memory>

using namespace zorvpro;

namespace
{
struct Venue
{
    view::Viewport viewport;
    std::list<view::EntityPtr> entities;

    Venue()
    {
        viewport.Resize(1200, 800);
        viewport.setPixelsPerMeter(8);
        viewport.GetCamera().LookAt({60, 40, 500}, {60, 40, 0}, {0, 1, 0});
        viewport.GetCamera().UpdateViewMatrix();
        viewport.UpdateProjection();
        viewport.UpdateBoundingBox();
        // 200 surfaces, 20 x 10, 6 m apart, tilted like raked seating.
        for (int i = 0; i < 200; ++i)
        {
            auto quad =
                std::make_shared<view::QuadEntity>("Surface", math::Vec3(0, 0, 0), math::Vec3(0, 4, 0.5),
                                                   math::Vec3(5, 4, 0.5), math::Vec3(5, 0, 0), Qt::red);
            quad->setTransform(math::Mat4::Translation({6.0 * (i % 20), 6.0 * (i / 20), 0}));
            entities.push_back(quad);
        }
        // 20 two-module arrays along the front.
        for (int i = 0; i < 20 && gallery::LoadArrayModule(); ++i)
        {
            auto node = BeamSpeakerClusterNode::Create(acoustics::createLoudspeakerCluster());
            node->AddChild(CreateLoudspeakerNode(datagen::kArrayModelName));
            node->AddChild(CreateLoudspeakerNode(datagen::kArrayModelName));
            node->SetBeamCount(2);
            node->SetTransform(math::Mat4::Translation({6.0 * i, -4, 5}));
            entities.push_back(view::BeamSpeakerEntity::CreateFromNode(node));
        }
        auto surface = entities.front();
        auto array = entities.back();
        entities.push_back(std::make_shared<view::QuadAdornerEntity>(&viewport, surface, 0.05, false));
        entities.push_back(
            std::make_shared<view::SpeakerAdornerEntity>(&viewport, array, 0.05, false, false));
        for (const auto& entity : entities)
            entity->setDirty(false);
    }
};

void BM_HoverPick(benchmark::State& state)
{
    Venue venue;
    view::VenueMouseHandler handler;
    auto callbacks = std::make_shared<view::MouseCallbacks>();
    callbacks->hitTest = [&venue](int x, int y)
    { return view::PickAt(venue.entities, venue.viewport, x, y); };
    handler.SetCallbacks(1, callbacks);
    view::MouseEvent move;
    move.type = 5;
    int step = 0;
    int hits = 0;
    for (auto _ : state)
    {
        // A sweep across the whole view, over surfaces, arrays, handles and gaps.
        move.localPos = QPointF((step * 37) % 1200, (step * 23) % 800);
        ++step;
        handler.OnMouseEvent(move);
        hits += handler.LastCursorRequest() != view::CursorRequest::Default;
    }
    state.counters["hover_hits"] = hits;
}
BENCHMARK(BM_HoverPick)->Unit(benchmark::kMicrosecond);
} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
