#include "BridgeTestSupport.h"
#include "core/Base/ApplicationSeam.h"
#include "core/Nodes/NodeFactory.h"
#include "core/math/Compare.h"
#include "data/Nodes/BeamSpeakerClusterNode.h"
#include "data/Nodes/LoudspeakerClusterNode.h"
#include "tests/core/support/LogCapture.h"
#include "tests/field/FieldTestSupport.h"

#include <QRegularExpression>
#include <algorithm>
#include <cfloat>
#include <cmath>

namespace zorvpro
{
namespace
{

using test::AddModules;

LoudspeakerClusterNodePtr NewCluster()
{
    return LoudspeakerClusterNode::Create(acoustics::createLoudspeakerCluster());
}

PropertyMap Written(const NodePtr& node)
{
    PropertyMap properties;
    node->WriteProperties(properties);
    return properties;
}

bool Logged(test::LogCapture& log, const std::string& text)
{
    const auto texts = log.Texts();
    return std::find_if(texts.begin(), texts.end(),
                        [&](const std::string& t)
                        { return t.find(text) != std::string::npos; }) != texts.end();
}

TEST(LoudspeakerNodes, ClusterKeysReadBackAndReachTheCluster)
{
    auto cluster = NewCluster();
    AddModules(cluster, 2);
    ASSERT_EQ(cluster->GetChildCount(), 2u);
    cluster->SetUserNote("left hang");
    cluster->SetLocked(true);
    cluster->SetVisible(false);
    cluster->SetTransform(math::Mat4::Translation({4, -2, 6}));
    cluster->SetYaw(0.25);
    cluster->SetPitch(-0.5);
    cluster->SetGain(-3.5);
    cluster->SetDelay(12.5);
    cluster->SetMuted(true);
    const PropertyMap written = Written(cluster);
    for (const char* key : {"Name", "Transform", "UserNote", "Locked", "Visible", "ZRotation", "Pitch",
                            "ClusterGain", "Muted", "ClusterDelay"})
        EXPECT_EQ(written.count(key), 1u) << key;
    EXPECT_EQ(written.at("UserNote"), "left hang");
    EXPECT_EQ(written.at("ZRotation"), "0.25");

    auto node = std::dynamic_pointer_cast<LoudspeakerClusterNode>(
        NodeFactory::Create("LoudspeakerClusterNode", written));
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(Written(node), written);
    EXPECT_EQ(node->GetUserNote(), "left hang");
    EXPECT_TRUE(node->GetLocked());
    EXPECT_FALSE(node->GetVisible());
    EXPECT_DOUBLE_EQ(node->GetCluster()->getGain(), -3.5);
    EXPECT_DOUBLE_EQ(node->GetCluster()->getDelay(), 12.5);
    EXPECT_TRUE(node->GetCluster()->isMuted());
    // The cluster is placed whole: at the transform's origin, turned by the angles.
    const math::Vec3 at = node->GetCluster()->getPosition();
    EXPECT_TRUE(math::IsEqual(at, math::Vec3(4, -2, 6)));
    EXPECT_NEAR(node->GetCluster()->getOrientation().yaw, 0.25, 1e-12);
    EXPECT_NEAR(node->GetCluster()->getOrientation().pitch, -0.5, 1e-12);
    // The node's transform turned with the angles: its x axis points along yaw, down by pitch.
    const math::Vec3 ahead = math::TransformPoint(node->GetTransform(), {1, 0, 0}) - at;
    // (read back at the file's six digits)
    EXPECT_NEAR(ahead.x, std::cos(0.25) * std::cos(-0.5), 2e-6);
    EXPECT_NEAR(ahead.y, std::sin(0.25) * std::cos(-0.5), 2e-6);
    EXPECT_NEAR(ahead.z, -std::sin(-0.5), 2e-6);
}

TEST(LoudspeakerNodes, OnlyABeamSpeakerArrayHangsItsModulesFromItsTop)
{
    // The generated module's outline top, from its faces.
    double top = -DBL_MAX;
    for (const acoustics::DXFFace& face : CreateLoudspeakerNode(datagen::kArrayModelName)->GetDxfFaces())
        for (const math::Vec3& point : face.points)
            top = std::max(top, point.z);
    ASSERT_GT(top, 0.01) << "the module's outline must rise above its origin to tell the cases apart";

    const math::Vec3 origin(4, -2, 6);
    struct Row
    {
        const char* what;
        LoudspeakerClusterNodePtr node;
        double drop;
    };
    const Row rows[] = {
        {"plain cluster", NewCluster(), 0.0},
        {"beam-speaker array", BeamSpeakerClusterNode::Create(acoustics::createLoudspeakerCluster()), top},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.what);
        row.node->SetTransform(math::Mat4::Translation(origin));
        AddModules(row.node, 2);
        ASSERT_EQ(row.node->GetChildCount(), 2u);
        const math::Vec3 placed = row.node->GetCluster()->getPosition();
        EXPECT_NEAR(placed.x, origin.x, 1e-12);
        EXPECT_NEAR(placed.y, origin.y, 1e-12);
        EXPECT_NEAR(placed.z, origin.z - row.drop, 1e-12);
        // Without modules nothing hangs: every cluster stands at its origin.
        row.node->RemoveChildAt(1);
        row.node->RemoveChildAt(0);
        EXPECT_NEAR(row.node->GetCluster()->getPosition().z, origin.z, 1e-12);
    }
}

TEST(LoudspeakerNodes, ClusterReadingRulesForMissingAndOutOfRangeKeys)
{
    PropertyMap stored = Written(NewCluster());
    test::LogCapture log;

    PropertyMap noPitch = stored;
    noPitch.erase("Pitch");
    auto node = NewCluster();
    EXPECT_TRUE(node->ReadProperties(noPitch));
    EXPECT_EQ(node->GetPitch(), 0.0);

    PropertyMap noMute = stored;
    noMute.erase("Muted");
    noMute["ClusterGain"] = "-7";
    noMute["ClusterDelay"] = "3";
    node = NewCluster();
    EXPECT_FALSE(node->ReadProperties(noMute));
    EXPECT_TRUE(Logged(log, "Unable to read property Muted"));
    EXPECT_DOUBLE_EQ(node->GetGain(), -7.0) << "applied before the failure";
    EXPECT_DOUBLE_EQ(node->GetDelay(), 3.0);
    EXPECT_EQ(NodeFactory::Create("LoudspeakerClusterNode", noMute), nullptr);

    PropertyMap turned = stored;
    turned["Pitch"] = "2";
    turned["ZRotation"] = "-4";
    node = NewCluster();
    ASSERT_TRUE(node->ReadProperties(turned));
    EXPECT_DOUBLE_EQ(node->GetCluster()->getOrientation().pitch, M_PI / 2);
    EXPECT_DOUBLE_EQ(node->GetCluster()->getOrientation().yaw, -M_PI);
}

TEST(LoudspeakerNodes, ModulesJoinOnlyWhenTheClusterTakesThemAndLeaveByIndex)
{
    auto cluster = NewCluster();
    AddModules(cluster, 3);
    ASSERT_EQ(cluster->GetChildCount(), 3u);
    ASSERT_EQ(cluster->GetCluster()->getModuleCount(), 3u);
    AddModules(cluster, 1); // beyond what a cluster holds
    cluster->AddChild(PhysicalNode::Create());
    EXPECT_EQ(cluster->GetChildCount(), 3u);
    EXPECT_EQ(cluster->GetCluster()->getModuleCount(), 3u);
    cluster->RemoveChildAt(2);
    cluster->RemoveChildAt(7);
    EXPECT_EQ(cluster->GetChildCount(), 2u);
    EXPECT_EQ(cluster->GetCluster()->getModuleCount(), 2u);

    auto speaker = std::dynamic_pointer_cast<LoudspeakerNode>(cluster->GetChild(0));
    ASSERT_NE(speaker, nullptr);
    const PropertyMap written = Written(speaker);
    EXPECT_EQ(written.at("LoudspeakerName"), datagen::kArrayModelName);
    EXPECT_EQ(written.at("LoudspeakerFamily"), datagen::kArrayFamily);
    EXPECT_GT(speaker->GetBOM().count(), 0u);
    EXPECT_FALSE(speaker->GetDxfFaces().empty());
    auto copy = NodeFactory::Create("LoudspeakerNode", written);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(Written(copy), written);
    EXPECT_THROW(LoudspeakerNode::Create(nullptr), std::bad_alloc);
}

TEST(LoudspeakerNodes, AMissingModelIsRefusedOutLoud)
{
    PropertyMap stored = Written(CreateLoudspeakerNode(datagen::kArrayModelName));
    stored["LoudspeakerName"] = "NoSuchModel";
    stored["Name"] = "stage left";
    test::LogCapture log;
    EXPECT_EQ(NodeFactory::Create("LoudspeakerNode", stored), nullptr);
    EXPECT_TRUE(Logged(log, "NoSuchModel"));
    EXPECT_TRUE(Logged(log, "stage left"));
    stored.erase("LoudspeakerName");
    EXPECT_EQ(NodeFactory::Create("LoudspeakerNode", stored), nullptr);
    EXPECT_TRUE(Logged(log, "Unable to read property LoudspeakerName"));
}

TEST(LoudspeakerNodes, AClusterJoinsTheEngineWhileInTheTreeExactlyOnce)
{
    ApplicationSeam app;
    auto engine = std::make_shared<field::testing::RecordingEngine>();
    app.SetEngine(engine);
    auto root = Node::Create();
    auto cluster = NewCluster();
    AddModules(cluster, 2);
    EXPECT_TRUE(engine->Calls().empty()) << "a new node is not in the tree yet";
    root->AddChild(cluster);
    EXPECT_EQ(engine->Calls(), std::vector<std::string>{"addCluster"});
    root->RemoveChild(cluster);
    EXPECT_EQ(engine->Calls(), (std::vector<std::string>{"addCluster", "removeCluster"}));
}

} // namespace
} // namespace zorvpro
