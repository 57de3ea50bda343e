// From the project tree to the engine and back, with the real engine: a floor
// cut into field points on the task queue's worker, posted to the engine
// handler, computed, and read back on this test's "GUI" thread.

#include "BridgeTestSupport.h"
#include "acoustics/engine/ZorvAcousticsImpl.h"
#include "core/Base/ApplicationSeam.h"
#include "core/Nodes/QuadNode.h"
#include "data/Field/AudioEngineHandler.h"
#include "data/Field/FieldManager.h"
#include "data/Field/FieldMessageTypes.h"
#include "data/Field/TesselateQuad.h"
#include "data/Field/ThreadedTaskQueue.h"
#include "data/Nodes/BeamSpeakerClusterNode.h"

#include <chrono>
#include <cmath>

namespace zorvpro
{
namespace
{

using namespace std::chrono_literals;
using math::Vec3;
using Levels = std::vector<std::pair<acoustics::FieldPoint, double>>;

struct Road
{
    Road()
    {
        acoustics::ZorvAcousticsImpl::Options options;
        options.threadCount = 3;
        options.settlingPause = 5ms;
        engine = acoustics::ZorvAcousticsImpl::create(options);
        app.SetEngine(engine);
        handler.AttachToEngine();
        handler.SetMessenger(manager.GetMessenger(field::Side::Audio));
        handler.Start();
        tasks.Start();
        engine->setCalculationEnabled(true);
    }

    ~Road()
    {
        tasks.Stop();
        handler.Shutdown();
        while (root->GetChildCount() > 0) // the clusters leave the engine before it goes
            root->RemoveChildAt(0);
        engine->setCalculationEnabled(false);
        app.SetEngine(nullptr);
    }

    // Cut on the worker; the completion (on this thread) posts the chunk and asks for a calculation.
    void Cut(Vec3 p0, Vec3 p1, Vec3 p2, Vec3 p3)
    {
        tasks.Add([=] { field::TesselateQuad(chunk, 2.0, p0, p1, p2, p3); },
                  [this]
                  {
                      ui->SendChunks(field::MessageType::NewChunks, {chunk});
                      ui->Send(field::MessageType::Calculate);
                  });
    }

    // Polls as the GUI does until a result other than `after` is shown; its levels (all bands).
    Levels NextLevels(const field::FieldChunk::ResultPtr& after)
    {
        const auto deadline = std::chrono::steady_clock::now() + 60s;
        auto shown = chunk->GetDataSet();
        while ((!shown || shown == after) && std::chrono::steady_clock::now() < deadline)
        {
            tasks.RunCompletions(100);
            for (int i = 0; i < 10; ++i)
            {
                auto message = ui->Receive();
                if (!message)
                    break;
                if (message->GetType() == field::MessageType::ChunksUpdated)
                    message->GetChunks().front()->PromoteLatest();
            }
            shown = chunk->GetDataSet();
            std::this_thread::sleep_for(2ms);
        }
        Levels levels;
        if (!shown || shown == after)
            return levels;
        acoustics::DataSet::SplValues values;
        shown->GetDataSet()->getSpl(values, -1, 0.0);
        const auto points = chunk->GetPoints().GetPoints();
        for (size_t i = 0; i < values.size() && i < points.size(); ++i)
        {
            EXPECT_EQ(values[i].first, points[i].tag);
            levels.emplace_back(points[i], values[i].second);
        }
        return levels;
    }

    ApplicationSeam app;
    std::shared_ptr<acoustics::IZorvAcoustics> engine;
    field::FieldManager manager;
    field::AudioEngineHandler handler{nullptr};
    ThreadedTaskQueue tasks;
    field::FieldMessengerPtr ui = manager.GetMessenger(field::Side::UserInterface);
    NodePtr root = Node::Create();
    field::FieldChunkPtr chunk = std::make_shared<field::FieldChunk>(1);
};

double Mean(const Levels& levels, const std::function<bool(const acoustics::FieldPoint&)>& where)
{
    double sum = 0;
    int count = 0;
    for (const auto& l : levels)
    {
        if (where(l.first))
        {
            sum += l.second;
            ++count;
        }
    }
    return count ? sum / count : std::nan("");
}

BeamSpeakerClusterNodePtr ArrayAt(const Vec3& position)
{
    auto node = BeamSpeakerClusterNode::Create(acoustics::createLoudspeakerCluster());
    test::AddModules(node, 2);
    node->SetTransform(math::Mat4::Translation(position));
    return node;
}

QuadNodePtr Quad(const char* name, const Vec3& p1, const Vec3& p2, const Vec3& p3, const Vec3& p4)
{
    return QuadNode::Create(name, p1, p2, p3, p4, QColor(128, 128, 128), 1.2, 0.0);
}

TEST(WholeRoad, AFloorHearsTheArrayAndASteeringChangeBringsANewResult)
{
    Road road;
    auto floor = Quad("floor", {0, -10, 0}, {30, -10, 0}, {30, 10, 0}, {0, 10, 0});
    road.root->AddChild(floor);
    auto array = ArrayAt({-2, 0, 4});
    road.root->AddChild(array);
    const Vec3 ears(0, 0, floor->GetListenerHeight());
    road.Cut(floor->GetP1() + ears, floor->GetP2() + ears, floor->GetP3() + ears, floor->GetP4() + ears);
    const Levels levels = road.NextLevels(nullptr);
    ASSERT_EQ(levels.size(), 16u * 11u);
    for (const auto& l : levels)
        ASSERT_TRUE(std::isfinite(l.second));
    EXPECT_GT(Mean(levels, [](const acoustics::FieldPoint& p) { return p.x < 6; }),
              Mean(levels, [](const acoustics::FieldPoint& p) { return p.x > 24; }) + 3.0);

    array->SetBeamSteering(0, -0.2);
    const Levels steered = road.NextLevels(road.chunk->GetDataSet());
    ASSERT_EQ(steered.size(), levels.size());
    double change = 0;
    for (size_t i = 0; i < steered.size(); ++i)
        change = std::max(change, std::fabs(steered[i].second - levels[i].second));
    EXPECT_GT(change, 0.5) << "the steered beam lands elsewhere";
}

TEST(WholeRoad, AWallBetweenTheArrayAndHalfTheFloorQuietensThatHalf)
{
    Road road;
    // Away from the world's origin: the engine's rays start where the node places the array.
    road.root->AddChild(ArrayAt({-10, 0, 3}));
    road.root->AddChild(Quad("wall", {-5, 0.5, 0}, {-5, 14, 0}, {-5, 14, 10}, {-5, 0.5, 10}));
    road.Cut({0, -10, 1.2}, {20, -10, 1.2}, {20, 10, 1.2}, {0, 10, 1.2});
    const Levels levels = road.NextLevels(nullptr);
    ASSERT_FALSE(levels.empty());
    EXPECT_GT(Mean(levels, [](const acoustics::FieldPoint& p) { return p.y < -1; }),
              Mean(levels, [](const acoustics::FieldPoint& p) { return p.y > 1; }) + 3.0);
}

} // namespace
} // namespace zorvpro
