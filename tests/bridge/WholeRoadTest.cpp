// From the project tree to the engine and back, with the real engine: a floor
// cut into field points on the task queue's worker, posted to the engine
// handler, computed, and read back on this test's "GUI" thread.

#include "BridgeTestSupport.h"
#include "acoustics/engine/ZorvAcousticsImpl.h"
#include "core/App/ApplicationSeam.h"
#include "core/Nodes/QuadNode.h"
#include "data/Field/AudioEngineHandler.h"
#include "data/Field/FieldManager.h"
#include "data/Field/FieldMessageTypes.h"
#include "data/Field/TesselateQuad.h"
#include "data/Field/ThreadedTaskQueue.h"
#include "data/Nodes/BeamSpeakerClusterNode.h"

#include <chrono>
#include <cmath>
#include <numeric>

namespace zorvpro
{
namespace
{

using namespace std::chrono_literals;
using math::Vec3;

class Road
{
public:
    Road() : handler(nullptr)
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
        root->RemoveChildAt(0); // leaves the engine before it goes
        while (root->GetChildCount() > 0)
            root->RemoveChildAt(0);
        engine->setCalculationEnabled(false);
        app.SetEngine(nullptr);
    }

    // Cuts the quad on the worker; its completion (here) posts it and asks for a calculation.
    void Cut(const Vec3 (&corners)[4], double spacing)
    {
        tasks.Add([this, corners, spacing]
                  { field::TesselateQuad(chunk, spacing, corners[0], corners[1], corners[2], corners[3]); },
                  [this]
                  {
                      ui->SendChunks(field::MessageType::NewChunks, {chunk});
                      ui->Send(field::MessageType::Calculate);
                  });
    }

    // Polls as the GUI does until a result newer than `after` is shown for the chunk.
    bool WaitForResult(const field::FieldChunk::ResultPtr& after)
    {
        const auto deadline = std::chrono::steady_clock::now() + 60s;
        while (std::chrono::steady_clock::now() < deadline)
        {
            tasks.RunCompletions(100);
            for (int i = 0; i < 10; ++i)
            {
                auto message = ui->Receive();
                if (!message)
                    break;
                if (message->GetType() == field::MessageType::ChunksUpdated)
                {
                    for (const auto& c : message->GetChunks())
                        c->PromoteLatest();
                }
            }
            auto shown = chunk->GetDataSet();
            if (shown && shown != after && shown->GetDataSet())
                return true;
            std::this_thread::sleep_for(2ms);
        }
        return false;
    }

    // Level (all bands) per point, with the point's position.
    std::vector<std::pair<acoustics::FieldPoint, double>> Levels()
    {
        std::vector<std::pair<acoustics::FieldPoint, double>> levels;
        auto shown = chunk->GetDataSet();
        if (!shown || !shown->GetDataSet())
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

    static double Mean(const std::vector<std::pair<acoustics::FieldPoint, double>>& levels,
                       const std::function<bool(const acoustics::FieldPoint&)>& where)
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

    ApplicationSeam app;
    std::shared_ptr<acoustics::IZorvAcoustics> engine;
    field::FieldManager manager;
    field::AudioEngineHandler handler;
    ThreadedTaskQueue tasks;
    field::FieldMessengerPtr ui = manager.GetMessenger(field::Side::UserInterface);
    NodePtr root = Node::Create();
    field::FieldChunkPtr chunk = std::make_shared<field::FieldChunk>(1);
};

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
    ASSERT_EQ(array->GetBeamCount(), 1u);
    road.root->AddChild(array);
    // The listeners' plane, 1.2 m above the floor.
    const Vec3 lift(0, 0, floor->GetListenerHeight());
    road.Cut({floor->GetP1() + lift, floor->GetP2() + lift, floor->GetP3() + lift, floor->GetP4() + lift},
             2.0);
    ASSERT_TRUE(road.WaitForResult(nullptr));

    const auto levels = road.Levels();
    ASSERT_EQ(levels.size(), 16u * 11u);
    for (const auto& l : levels)
        ASSERT_TRUE(std::isfinite(l.second));
    const double near = Road::Mean(levels, [](const acoustics::FieldPoint& p) { return p.x < 6; });
    const double far = Road::Mean(levels, [](const acoustics::FieldPoint& p) { return p.x > 24; });
    EXPECT_GT(near, far + 3.0);

    const auto before = road.chunk->GetDataSet();
    array->SetBeamSteering(0, -0.2);
    ASSERT_TRUE(road.WaitForResult(before));
    const auto after = road.Levels();
    ASSERT_EQ(after.size(), levels.size());
    double change = 0;
    for (size_t i = 0; i < after.size(); ++i)
        change = std::max(change, std::fabs(after[i].second - levels[i].second));
    EXPECT_GT(change, 0.5) << "the steered beam lands elsewhere";
}

TEST(WholeRoad, AWallBetweenTheArrayAndHalfTheFloorQuietensThatHalf)
{
    Road road;
    // The array stands away from the world's origin: its rays start where its node puts it.
    road.root->AddChild(ArrayAt({-10, 0, 3}));
    road.root->AddChild(Quad("wall", {-5, 0.5, 0}, {-5, 14, 0}, {-5, 14, 10}, {-5, 0.5, 10}));
    road.Cut({Vec3(0, -10, 1.2), Vec3(20, -10, 1.2), Vec3(20, 10, 1.2), Vec3(0, 10, 1.2)}, 2.0);
    ASSERT_TRUE(road.WaitForResult(nullptr));
    const auto levels = road.Levels();
    ASSERT_FALSE(levels.empty());
    const double open = Road::Mean(levels, [](const acoustics::FieldPoint& p) { return p.y < -1; });
    const double shadowed = Road::Mean(levels, [](const acoustics::FieldPoint& p) { return p.y > 1; });
    EXPECT_GT(open, shadowed + 3.0);
}

} // namespace
} // namespace zorvpro
