#pragma once

// The bridge tests' world: the generated "TQR40V" array module in the
// loudspeaker library and the bridge node types registered, before any test
// loads a project.

#include "acoustics/data/LoudspeakerLibrary.h"
#include "data/Nodes/BridgeNodeTypes.h"
#include "data/Nodes/LoudspeakerNode.h"
#include "tests/core/Project/ProjectTestSupport.h"
#include "tools/datagen/Models.h"

#include <gtest/gtest.h>

namespace zorvpro::test
{

class BridgeEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        ASSERT_TRUE(RegisterBridgeNodeTypes());
        const juce::File folder = juce::File::getSpecialLocation(juce::File::tempDirectory)
                                      .getChildFile("zorv-bridge-" + juce::Uuid().toString());
        folder.createDirectory();
        ASSERT_TRUE(datagen::WriteDataSet(folder, datagen::MakeArrayDataSet()));
        acoustics::LoudspeakerLibrary::instance().loadLoudspeakerFiles(
            folder.getFullPathName().toStdString());
        folder.deleteRecursively();
        ASSERT_NE(CreateLoudspeakerNode(datagen::kArrayModelName), nullptr);
    }
};

// Two generated array modules, the second joined below the first.
template <typename ClusterPtr> void AddModules(const ClusterPtr& cluster, int count)
{
    for (int i = 0; i < count; ++i)
        cluster->AddChild(CreateLoudspeakerNode(datagen::kArrayModelName));
}

} // namespace zorvpro::test
