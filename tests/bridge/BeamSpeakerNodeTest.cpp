#include "BridgeTestSupport.h"
#include "core/Base/ApplicationSeam.h"
#include "core/Nodes/NodeFactory.h"
#include "data/Nodes/BeamSpeakerClusterNode.h"
#include "tests/core/support/LogCapture.h"
#include "tests/field/FieldTestSupport.h"

#include <algorithm>

namespace zorvpro
{
namespace
{

using test::AddModules;

BeamSpeakerClusterNodePtr NewArray(int modules)
{
    auto node = BeamSpeakerClusterNode::Create(acoustics::createLoudspeakerCluster());
    node->SetName("main array");
    AddModules(node, modules);
    return node;
}

// A two-module array with two shaped beams, the second a spiral.
BeamSpeakerClusterNodePtr ShapedArray()
{
    auto node = NewArray(2);
    node->SetTransform(math::Mat4::Translation({0, 0, 4}));
    node->SetBeamCount(2);
    node->SetBeamAlgorithm(1, 3);
    node->SetBeamSteering(0, 0.1);
    node->SetBeamSpreading(0, 0.15);
    node->SetBeamGain(0, -2.0);
    node->SetBeamSmoothing(0, true);
    node->SetBeamTopRear(1, 20.0, -0.05);
    node->SetGain(-4.0);
    return node;
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

// Builds the array from its properties and its modules, as the project loader does.
BeamSpeakerClusterNodePtr Load(const PropertyMap& properties, int modules)
{
    auto node = std::dynamic_pointer_cast<BeamSpeakerClusterNode>(
        NodeFactory::Create("BeamSpeakerClusterNode", properties));
    if (node)
        AddModules(node, modules);
    return node;
}

TEST(BeamSpeakerNode, BeamsAreBuiltFromTheirKeysOnceTheModulesAreIn)
{
    auto shaped = ShapedArray();
    ASSERT_EQ(shaped->GetBeamCount(), 2u);
    ASSERT_EQ(shaped->GetBeamAlgorithm(1), 3u);
    const PropertyMap written = Written(shaped);
    EXPECT_EQ(written.at("NumBeams"), "2");
    EXPECT_EQ(written.at("NumModules"), "2");
    EXPECT_EQ(written.at("Algorithm0"), "1");
    EXPECT_EQ(written.at("Algorithm1"), "3");
    EXPECT_EQ(written.at("Automatic0"), "false");
    EXPECT_EQ(written.at("Evenness1"), "false");
    EXPECT_EQ(written.at("Smoothing0"), "true");
    EXPECT_EQ(written.count("Steering1"), 1u);
    EXPECT_EQ(BeamPropertyKey("Steering", 2), "Steering");
    EXPECT_EQ(BeamPropertyKey("Gain", 1), "Gain1");

    auto loaded = Load(written, 1);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->GetCluster()->getBeamSteerCount(), 0u) << "waiting for the second module";
    AddModules(loaded, 1);
    EXPECT_FALSE(loaded->HasPendingBeams());
    PropertyMap again = Written(loaded);
    for (const char* computed : {"Steering0", "Spreading0"})
    {
        EXPECT_NEAR(std::stod(again.at(computed)), std::stod(written.at(computed)), 5e-6) << computed;
        again[computed] = written.at(computed);
    }
    EXPECT_EQ(again, written);
    EXPECT_EQ(loaded->GetBeamAlgorithm(1), 3u);
    EXPECT_NEAR(loaded->GetBeamSteering(0), shaped->GetBeamSteering(0), 1e-5);
    EXPECT_NEAR(loaded->GetBeamSpreading(0), shaped->GetBeamSpreading(0), 1e-5);
    EXPECT_NEAR(loaded->GetBeamGain(0), -2.0, 1e-12);
    EXPECT_TRUE(loaded->GetBeamSmoothing(0));
    EXPECT_NEAR(loaded->GetGain(), -4.0, 1e-12) << "the stored cluster gain, set after the beams";
    EXPECT_NE(loaded->GetBeamSpiralConstraints(1), nullptr);
    EXPECT_EQ(loaded->GetBeamSpiralConstraints(0), nullptr);
    EXPECT_FALSE(loaded->GetBeamDriverTable(0).empty());
}

TEST(BeamSpeakerNode, FilesWithBadOrMissingKeys)
{
    const PropertyMap good = Written(ShapedArray());
    test::LogCapture log;
    const struct
    {
        const char* name;
        const char* key;
        const char* value; // nullptr: key removed
        const char* logged;
    } refused[] = {
        {"algorithm 4", "Algorithm1", "4", "Unable to read property Algorithm1"},
        {"algorithm -1", "Algorithm0", "-1", "Unable to read property Algorithm0"},
        {"three beams", "NumBeams", "3", "NumBeams 3"},
        {"no beam count", "NumBeams", nullptr, "Unable to read property NumBeams"},
        {"no cluster gain", "ClusterGain", nullptr, "Unable to read property ClusterGain"},
        {"no spreading", "Spreading1", nullptr, "Unable to read property Spreading1"},
        {"no mute", "Muted", nullptr, "Unable to read property Muted"},
    };
    for (const auto& r : refused)
    {
        SCOPED_TRACE(r.name);
        PropertyMap bad = good;
        if (r.value)
            bad[r.key] = r.value;
        else
            bad.erase(r.key);
        EXPECT_EQ(NodeFactory::Create("BeamSpeakerClusterNode", bad), nullptr);
        EXPECT_TRUE(Logged(log, r.logged));
    }

    // The stored steering counts where the aim alone does not give it back.
    PropertyMap steered = good;
    steered["Steering0"] = "0.2";
    auto turned = Load(steered, 2);
    ASSERT_NE(turned, nullptr);
    EXPECT_NEAR(turned->GetBeamSteering(0), 0.2, 1e-9);

    // Algorithm 0 stores a beam record that builds no beam.
    PropertyMap noSecond = good;
    noSecond["Algorithm1"] = "0";
    auto one = Load(noSecond, 2);
    ASSERT_NE(one, nullptr);
    EXPECT_EQ(one->GetBeamCount(), 1u);

    // Without a module count the first module builds the beams.
    PropertyMap noCount = good;
    noCount.erase("NumModules");
    auto early = Load(noCount, 1);
    ASSERT_NE(early, nullptr);
    EXPECT_FALSE(early->HasPendingBeams());
    EXPECT_EQ(early->GetCluster()->getBeamSteerCount(), 2u);
    EXPECT_EQ(early->GetChildCount(), 1u);

    // A file naming more modules than it holds keeps its beams, built when asked.
    PropertyMap short1 = good;
    short1["NumModules"] = "3";
    auto waiting = Load(short1, 2);
    ASSERT_NE(waiting, nullptr);
    EXPECT_TRUE(waiting->HasPendingBeams());
    EXPECT_EQ(Written(waiting).at("NumBeams"), "2") << "nothing lost in a save meanwhile";
    EXPECT_EQ(waiting->GetBeamCount(), 2u);
    EXPECT_FALSE(waiting->HasPendingBeams());
}

TEST(BeamSpeakerNode, BeamCountAndMissingBeams)
{
    auto node = NewArray(2);
    ASSERT_EQ(node->GetBeamCount(), 1u) << "the first module made the first beam";
    node->SetBeamCount(2);
    EXPECT_EQ(node->GetBeamCount(), 2u);
    EXPECT_EQ(node->GetBeamAlgorithm(1), 1u);
    node->SetBeamSteering(1, 0.05);
    node->SetBeamCount(1);
    EXPECT_EQ(node->GetBeamCount(), 1u);
    EXPECT_EQ(node->GetBeamAlgorithm(5), 1u);
    EXPECT_EQ(node->GetBeamSteering(5), 0.0);
    EXPECT_EQ(node->GetBeamData(5), nullptr);
    node->SetBeamGain(5, 3.0); // nothing to set

    // Changing the algorithm keeps gain and aim.
    node->SetBeamGain(0, 1.5);
    node->SetBeamTopRear(0, 12.0, 0.05);
    const auto before = node->GetBeamData(0);
    node->SetBeamAlgorithm(0, 2);
    EXPECT_EQ(node->GetBeamAlgorithm(0), 2u);
    EXPECT_NEAR(node->GetBeamGain(0), 1.5, 1e-12);
    EXPECT_NEAR(node->GetBeamTopRearDistance(0), before->topRearDistance, 1e-9);
    EXPECT_NEAR(node->GetBeamTopRearAngle(0), before->topRearAngle, 1e-9);
}

class BeamSpeakerProjectTest : public test::ProjectTest
{
};

TEST_F(BeamSpeakerProjectTest, AnArrayLoadsResavesByteForByteAndJoinsTheEngineOnce)
{
    ApplicationSeam app;
    auto engine = std::make_shared<field::testing::RecordingEngine>();
    auto root = Project()->GetVenue()->GetRoot();
    root->AddChild(ShapedArray());
    auto plain = LoudspeakerClusterNode::Create(acoustics::createLoudspeakerCluster());
    AddModules(plain, 1);
    root->AddChild(plain);
    const QString first = PathIn("first.tq"), second = PathIn("second.tq");
    ASSERT_TRUE(Project()->SaveAs(first));

    app.SetEngine(engine);
    Project()->Clear(false);
    ASSERT_TRUE(Project()->Load(first));
    ASSERT_EQ(root->GetChildCount(), 2u);
    auto calls = engine->Calls();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "addCluster"), 2) << "one per cluster node";
    ASSERT_TRUE(Project()->SaveAs(second));
    engine->calls.clear();

    // Steering and spreading follow from the stored aim, at the file's precision;
    // everything else comes back as it was, and from here on the file is stable.
    const QList<QByteArray> before = ReadFile(first).split('\n'), after = ReadFile(second).split('\n');
    ASSERT_EQ(before.size(), after.size());
    for (int i = 0; i < before.size(); ++i)
    {
        if (before[i] != after[i])
        {
            EXPECT_TRUE(before[i].contains("<Steering") || before[i].contains("<Spreading"))
                << before[i].data();
        }
    }
    EXPECT_TRUE(ReadFile(first).contains("<Steering1>"));
    const QString third = PathIn("third.tq");
    ASSERT_TRUE(Project()->Load(second));
    ASSERT_TRUE(Project()->SaveAs(third));
    EXPECT_EQ(ReadFile(second), ReadFile(third));

    Project()->Clear(false);
    calls = engine->Calls();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "removeCluster"), 4) << "left by each load's clear";
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "addCluster"), 2);
}

} // namespace
} // namespace zorvpro
