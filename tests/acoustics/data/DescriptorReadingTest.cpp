#include "acoustics/data/DescriptorReading.h"
#include "core/math/Matrix4.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace zorvpro::acoustics;
using zorvpro::math::Vec3;

namespace
{

std::unique_ptr<juce::XmlElement> Parse(const char* xml)
{
    auto root = juce::XmlDocument::parse(xml);
    EXPECT_NE(root, nullptr);
    return root;
}

std::string DirOf(const char* xml, const char* tag)
{
    auto root = Parse(xml);
    const juce::XmlElement* found = nullptr;
    std::function<void(const juce::XmlElement&)> walk = [&](const juce::XmlElement& e)
    {
        if (found == nullptr && e.hasTagName(tag))
            found = &e;
        for (auto* c : e.getChildIterator())
            walk(*c);
    };
    walk(*root);
    EXPECT_NE(found, nullptr) << tag;
    return found ? ElementDirectory(*root, *found) : "";
}

std::string ConnectionError(const char* angles)
{
    auto root = Parse((std::string("<Connections><Connection><Name>M</Name><Position>below</Position>") +
                       angles + "</Connection></Connections>")
                          .c_str());
    try
    {
        ReadConnections(*root);
    }
    catch (const std::invalid_argument& e)
    {
        return e.what();
    }
    return "none";
}

} // namespace

TEST(DescriptorReading, DirectoriesJoinPathAttributesFromTheRoot)
{
    EXPECT_EQ(
        DirOf(
            "<Root path=\"data\\spk\"><Acoustical><SPM path=\"acoustic\">model.bin</SPM></Acoustical></Root>",
            "SPM"),
        "data/spk/acoustic/");
    EXPECT_EQ(DirOf("<Root><Acoustical><SPM>model.bin</SPM></Acoustical></Root>", "SPM"), "");
    EXPECT_EQ(DirOf("<Root path=\"a/\"><B path=\"\"><C path=\"c\\\\\"/></B></Root>", "C"), "a/c//");
    // Only the attribute spelled "path" counts.
    EXPECT_EQ(DirOf("<Root Path=\"x\"><SPM PATH=\"y\">m</SPM></Root>", "SPM"), "");
    EXPECT_EQ(DirOf("<Root path=\"r\"/>", "Root"), "r/");
}

TEST(DescriptorReading, NamesMapToCodes)
{
    EXPECT_EQ(AlgorithmCode("symmetricalspreadsteer"), 1);
    EXPECT_EQ(AlgorithmCode("AsymmetricalSteer"), 2);
    EXPECT_EQ(AlgorithmCode("  AsymmetricalSpiral \n"), 3);
    EXPECT_EQ(AlgorithmCode("spiral"), 0);
    EXPECT_EQ(AlgorithmCode(""), 0);
    EXPECT_EQ(SideCode(" Above "), 1u);
    EXPECT_EQ(SideCode("BELOW"), 2u);
    EXPECT_EQ(SideCode("left"), 16u);
    EXPECT_EQ(SideCode("right"), 32u);
    EXPECT_EQ(SideCode("front"), 256u);
    EXPECT_EQ(SideCode("back"), 512u);
    EXPECT_EQ(SideCode("top"), 0u);
}

TEST(DescriptorReading, ConnectionsSkipUnknownSidesAndEmptyNames)
{
    auto root =
        Parse("<Connections>"
              "<Connection><Name>A</Name><Position>top</Position><Pitch>9</Pitch></Connection>"
              "<Connection><Name>  </Name><Position>below</Position></Connection>"
              "<Connection><Position>below</Position></Connection>"
              "<Connection><Name> B </Name><Position> Below</Position><Z>-0.5</Z><X>1</X></Connection>"
              "<Other><Name>C</Name><Position>above</Position></Other>"
              "<connection><Name>D</Name><Position>ABOVE</Position><Yaw>1.5707963267948966</Yaw>"
              "</connection>"
              "</Connections>");
    const std::vector<Connection> list = ReadConnections(*root);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].name, "B");
    EXPECT_EQ(list[0].side, 2u);
    EXPECT_EQ(list[0].variant, 1u);
    const Vec3 moved = zorvpro::math::TransformPoint(list[0].transform, Vec3(0, 0, 0));
    EXPECT_DOUBLE_EQ(moved.x, 1.0);
    EXPECT_DOUBLE_EQ(moved.z, -0.5);

    // Yaw of 90 degrees turns +x into +y, then the offset applies.
    EXPECT_EQ(list[1].name, "D");
    const Vec3 turned = zorvpro::math::TransformPoint(list[1].transform, Vec3(1, 0, 0));
    EXPECT_NEAR(turned.x, 0.0, 1e-12);
    EXPECT_NEAR(turned.y, 1.0, 1e-12);
}

TEST(DescriptorReading, AnglesOutsideTheirRangeInvalidateTheDataSet)
{
    EXPECT_EQ(ConnectionError("<Pitch>2.0</Pitch>"), "Invalid connection pitch");
    EXPECT_EQ(ConnectionError("<Pitch>-1.6</Pitch>"), "Invalid connection pitch");
    EXPECT_EQ(ConnectionError("<Yaw>3.2</Yaw><Roll>9</Roll>"), "Invalid connection yaw");
    EXPECT_EQ(ConnectionError("<Roll>-3.15</Roll><Pitch>2</Pitch>"), "Invalid connection roll");
    EXPECT_EQ(ConnectionError("<Yaw>3.141592653589793</Yaw><Pitch>1.5707963267948966</Pitch>"), "none");
    EXPECT_EQ(ConnectionError("<Yaw>abc</Yaw>"), "none"); // not a number reads as 0
}
