#include "core/Nodes/QuadNode.h"
#include "acoustics/engine/IZorvAcoustics.h"
#include "core/App/ApplicationSeam.h"
#include "core/Nodes/NodeFactory.h"
#include "tests/core/support/LogCapture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <limits>
#include <thread>

namespace zorvpro
{
namespace
{

using math::Vec3;

// Records the surfaces the quads register.
class SurfaceRecordingEngine : public acoustics::IZorvAcoustics
{
public:
    Version getVersion() const override { return {}; }
    void start() override {}
    void requestStop() override {}
    void addSurface(std::weak_ptr<acoustics::ISurface> surface) override { added.push_back(surface.lock()); }
    void removeSurface(std::weak_ptr<acoustics::ISurface> surface) override
    {
        removed.push_back(surface.lock());
    }
    void addCluster(std::shared_ptr<acoustics::LoudspeakerCluster>) override {}
    void removeCluster(std::shared_ptr<acoustics::LoudspeakerCluster>) override {}
    void setFieldPoints(uint64_t, std::shared_ptr<acoustics::FieldPoints>) override {}
    void removeFieldPoints(uint64_t) override {}
    void setCalculationEnabled(bool) override {}
    bool isCalculationEnabled() const override { return false; }
    void calculate(bool) override {}
    std::shared_ptr<acoustics::FieldPointsData> getDataSet(uint64_t) const override { return {}; }
    void addCalcListener(acoustics::CalcListener*) override {}
    void removeCalcListener(acoustics::CalcListener*) override {}
    bool isBusy() const override { return false; }

    std::vector<std::shared_ptr<acoustics::ISurface>> added;
    std::vector<std::shared_ptr<acoustics::ISurface>> removed;
};

// A 2 x 2 square in the z = 0 plane, corners around it.
QuadNodePtr Square()
{
    return QuadNode::Create("floor", Vec3(0, 0, 0), Vec3(2, 0, 0), Vec3(2, 2, 0), Vec3(0, 2, 0),
                            QColor(1, 2, 3, 4), 1.2, 0.5);
}

math::Ray Down(double x, double y, double height = 5.0)
{
    return math::Ray(Vec3(x, y, height), Vec3(0, 0, -1));
}

PropertyMap QuadProperties()
{
    PropertyMap properties;
    Square()->WriteProperties(properties);
    return properties;
}

TEST(QuadNodeTest, NewQuadTakesItsArgumentsAndDefaults)
{
    QuadNodePtr quad = Square();
    EXPECT_EQ(quad->GetName(), "floor");
    EXPECT_EQ(quad->TypeName(), "QuadNode");
    EXPECT_EQ(quad->GetP3(), Vec3(2, 2, 0));
    EXPECT_EQ(quad->GetColor(), QColor(1, 2, 3, 4));
    EXPECT_EQ(quad->GetListenerHeight(), 1.2);
    EXPECT_EQ(quad->GetRotationZ(), 0.5);
    EXPECT_FALSE(quad->GetLocked());
    EXPECT_TRUE(quad->GetVisible());
    EXPECT_FALSE(quad->GetTransparent());
    EXPECT_TRUE(quad->GetListenerHeightEnabled());
    EXPECT_EQ(quad->GetTransform(), math::Mat4());
}

TEST(QuadNodeTest, OcclusionNeedsTheHitCloserThanTheLimit)
{
    QuadNodePtr quad = Square();
    EXPECT_TRUE(quad->intersects(Down(0.5, 1.5), 5.001));
    EXPECT_FALSE(quad->intersects(Down(0.5, 1.5), 5.0));
    EXPECT_TRUE(quad->intersects(Down(0.5, 1.5), 5.0 + 0.001));
    EXPECT_TRUE(quad->intersects(Down(1.5, 0.5), 100));
    EXPECT_FALSE(quad->intersects(Down(0.5, 1.5), 0.0));
    EXPECT_FALSE(quad->intersects(Down(2.5, 1.0), 100));
    // Parallel to the plane, and starting on the surface.
    EXPECT_FALSE(quad->intersects(math::Ray(Vec3(-1, 1, 0), Vec3(1, 0, 0)), 100));
    EXPECT_FALSE(quad->intersects(Down(1.0, 0.5, 0.0), 100));
}

TEST(QuadNodeTest, OcclusionFollowsTheTransform)
{
    QuadNodePtr quad = Square();
    quad->SetTransform(math::Mat4::Translation(Vec3(10, 0, 1)));
    EXPECT_FALSE(quad->intersects(Down(1, 1), 100));
    EXPECT_TRUE(quad->intersects(Down(11, 1), 4.5));
    EXPECT_FALSE(quad->intersects(Down(11, 1), 4.0));
}

TEST(QuadNodeTest, CrossedCornersLeavePartUncovered)
{
    QuadNodePtr ordered = Square();
    QuadNodePtr crossed =
        QuadNode::Create("x", Vec3(0, 0, 0), Vec3(2, 2, 0), Vec3(2, 0, 0), Vec3(0, 2, 0), QColor(), 0, 0);
    for (const auto& point : {Vec3(0.3, 1.5, 0), Vec3(1.5, 0.3, 0), Vec3(1.7, 1.5, 0), Vec3(0.5, 0.2, 0)})
        EXPECT_TRUE(ordered->intersects(Down(point.x, point.y), 10)) << point.x << "," << point.y;
    EXPECT_FALSE(crossed->intersects(Down(0.5, 1.8), 10));
    EXPECT_TRUE(ordered->intersects(Down(0.5, 1.8), 10));
}

TEST(QuadNodeTest, SingularTransformBlocksAndAnswersNothing)
{
    QuadNodePtr quad = Square();
    math::Mat4 flat;
    flat(2, 2) = 0.0;
    quad->SetTransform(flat);
    EXPECT_NO_THROW(EXPECT_FALSE(quad->intersects(Down(1, 1), 100)));

    // The same through a transform read from a file.
    PropertyMap properties = QuadProperties();
    properties["Transform"] = "| 0 0 0 0 || 0 0 0 0 || 0 0 0 0 || 0 0 0 1 |";
    NodePtr read = NodeFactory::Create("QuadNode", properties);
    ASSERT_TRUE(read);
    auto readQuad = std::dynamic_pointer_cast<QuadNode>(read);
    EXPECT_NO_THROW(EXPECT_FALSE(readQuad->intersects(Down(0, 0), 100)));

    // Nor can it be picked, whatever local matrix the caller brings.
    EXPECT_FALSE(quad->HitTest(Down(1, 1.5), math::Mat4(), math::Mat4()));
    EXPECT_FALSE(readQuad->HitTest(Down(1, 1.5), math::Mat4(), math::Mat4()));

    // Once the transform is usable again, so is the quad.
    quad->SetTransform(math::Mat4());
    EXPECT_TRUE(quad->intersects(Down(1, 1.5), 100));
    EXPECT_TRUE(quad->HitTest(Down(1, 1.5), math::Mat4(), math::Mat4()));
}

TEST(QuadNodeTest, NonFiniteEditsAreIgnored)
{
    // Every one of these values is required when the project is read back.
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    QuadNodePtr quad = Square();
    quad->SetP2(Vec3(nan, 0, 0));
    quad->SetP4(Vec3(0, inf, 0));
    quad->SetListenerHeight(nan);
    quad->SetRotationZ(-inf);
    math::Mat4 broken = math::Mat4::Translation(Vec3(1, 2, 3));
    broken(0, 1) = nan;
    quad->SetTransform(broken);
    EXPECT_EQ(quad->GetP2(), Vec3(2, 0, 0));
    EXPECT_EQ(quad->GetP4(), Vec3(0, 2, 0));
    EXPECT_EQ(quad->GetListenerHeight(), 1.2);
    EXPECT_EQ(quad->GetRotationZ(), 0.5);
    EXPECT_EQ(quad->GetTransform(), math::Mat4());
    EXPECT_TRUE(quad->intersects(Down(1, 1), 100));

    PhysicalNodePtr physical = PhysicalNode::Create();
    physical->SetTransform(broken);
    EXPECT_EQ(physical->GetTransform(), math::Mat4());
    EXPECT_TRUE(physical->IsTransformUntouched());

    PropertyMap properties;
    quad->WriteProperties(properties);
    EXPECT_TRUE(NodeFactory::Create("QuadNode", properties));
}

TEST(QuadNodeTest, EngineThreadsNeverSeeAHalfWrittenTransform)
{
    // Both transforms put the square in the same place (the second turns it
    // half way round its centre); any mix of the two moves it off the ray.
    QuadNodePtr quad = Square();
    const math::Mat4 identity;
    const math::Mat4 turned(std::array<double, 16>{-1, 0, 0, 2, 0, -1, 0, 2, 0, 0, 1, 0, 0, 0, 0, 1});
    ASSERT_TRUE(quad->intersects(Down(1, 1.2), 10));
    quad->SetTransform(turned);
    ASSERT_TRUE(quad->intersects(Down(1, 1.2), 10));

    std::atomic<bool> done{false};
    std::atomic<int> misses{0};
    std::thread engine(
        [&]
        {
            while (!done.load())
            {
                if (!quad->intersects(Down(1, 1.2), 10))
                    ++misses;
            }
        });
    for (int i = 0; i < 100000; ++i)
        quad->SetTransform(i % 2 ? turned : identity);
    done = true;
    engine.join();
    EXPECT_EQ(misses.load(), 0);
}

TEST(QuadNodeTest, PickReportsWhereTheRayHit)
{
    QuadNodePtr quad = Square();
    const math::Mat4 toWorld = math::Mat4::Translation(Vec3(100, 0, 0));
    HitPointPtr hit = quad->HitTest(Down(0.5, 1.5), toWorld, math::Mat4());
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->node, quad);
    EXPECT_DOUBLE_EQ(hit->distance, 5.0);
    EXPECT_EQ(hit->point, Vec3(0.5, 1.5, 0));
    EXPECT_EQ(hit->mappedPoint, Vec3(100.5, 1.5, 0));

    EXPECT_FALSE(quad->HitTest(Down(3, 3), toWorld, math::Mat4()));
    // The local matrix moves the ray into the quad's frame.
    EXPECT_TRUE(quad->HitTest(Down(10.5, 0.5), math::Mat4(), math::Mat4::Translation(Vec3(-10, 0, 0))));
}

TEST(QuadNodeTest, WritesItsPropertiesInKeyOrder)
{
    PropertyMap properties = QuadProperties();
    std::vector<std::string> keys;
    for (const auto& entry : properties)
        keys.push_back(entry.first);
    EXPECT_EQ(keys, (std::vector<std::string>{"Color", "ListenerHeight", "ListenerHeightEnabled", "Locked",
                                              "Name", "P1", "P2", "P3", "P4", "RotationZ", "Transform",
                                              "Transparent", "Visible"}));
    EXPECT_EQ(properties["Color"], "(1,2,3,4)");
    EXPECT_EQ(properties["P3"], "(2,2,0)");
    EXPECT_EQ(properties["ListenerHeight"], "1.2");
}

TEST(QuadNodeTest, CreatorRestoresEveryField)
{
    PropertyMap properties = QuadProperties();
    properties["Visible"] = "false";
    properties["Locked"] = "true";
    properties["Transparent"] = "true";
    properties["ListenerHeightEnabled"] = "false";
    properties["Transform"] = "| 1 0 0 4 || 0 1 0 0 || 0 0 1 0 || 0 0 0 1 |";

    auto quad = std::dynamic_pointer_cast<QuadNode>(NodeFactory::Create("QuadNode", properties));
    ASSERT_TRUE(quad);
    EXPECT_EQ(quad->GetName(), "floor");
    EXPECT_FALSE(quad->GetVisible());
    EXPECT_TRUE(quad->GetLocked());
    EXPECT_TRUE(quad->GetTransparent());
    EXPECT_FALSE(quad->GetListenerHeightEnabled());
    EXPECT_EQ(quad->GetTransform(), math::Mat4::Translation(Vec3(4, 0, 0)));
    EXPECT_TRUE(quad->intersects(Down(5, 1), 10));

    PropertyMap again;
    quad->WriteProperties(again);
    EXPECT_EQ(again, properties);
}

TEST(QuadNodeTest, CreatorNamesTheFirstBadKey)
{
    test::LogCapture capture;
    PropertyMap properties = QuadProperties();
    properties.erase("Visible");
    properties["P2"] = "(1,2)";
    EXPECT_FALSE(NodeFactory::Create("QuadNode", properties));

    properties = QuadProperties();
    properties.erase("Visible");
    EXPECT_FALSE(NodeFactory::Create("QuadNode", properties));

    properties = QuadProperties();
    properties.erase("Name");
    EXPECT_FALSE(NodeFactory::Create("QuadNode", properties));

    std::vector<std::string> unreadable;
    for (const std::string& text : capture.Texts())
    {
        if (text.rfind("Unable to read property", 0) == 0)
            unreadable.push_back(text);
    }
    EXPECT_EQ(unreadable,
              (std::vector<std::string>{"Unable to read property P2", "Unable to read property Visible",
                                        "Unable to read property Name"}));
}

TEST(QuadNodeTest, RegistersWithTheEngineOnlyWhenOneExists)
{
    NodePtr root = Node::Create();
    QuadNodePtr early = Square();
    root->AddChild(early);

    auto engine = std::make_shared<SurfaceRecordingEngine>();
    EXPECT_FALSE(CurrentAcousticsEngine());
    {
        ApplicationSeam app;
        ASSERT_EQ(ApplicationSeam::Instance(), &app);
        QuadNodePtr withoutEngine = Square();
        root->AddChild(withoutEngine);
        EXPECT_FALSE(CurrentAcousticsEngine());

        app.SetEngine(engine);
        EXPECT_EQ(CurrentAcousticsEngine(), engine);
        QuadNodePtr late = Square();
        root->AddChild(late);
        ASSERT_EQ(engine->added.size(), 1u);
        EXPECT_EQ(engine->added[0].get(), static_cast<acoustics::ISurface*>(late.get()));

        root->RemoveChild(late);
        ASSERT_EQ(engine->removed.size(), 1u);
        EXPECT_EQ(engine->removed[0].get(), static_cast<acoustics::ISurface*>(late.get()));
    }
    EXPECT_EQ(ApplicationSeam::Instance(), nullptr);
    EXPECT_FALSE(CurrentAcousticsEngine());
    root->RemoveChild(early);
    EXPECT_EQ(engine->removed.size(), 1u);
}

} // namespace
} // namespace zorvpro
