#include "acoustics/data/XmlText.h"

#include <gtest/gtest.h>

namespace zorvpro::acoustics
{
namespace
{

TEST(XmlText, ProcessingInstructionsAreRemovedEverywhere)
{
    EXPECT_EQ(WithoutProcessingInstructions("<?xml version=\"1.0\"?>\n<Root><?pi x?>a<?b?>b</Root>"),
              "\n<Root>ab</Root>");
    EXPECT_EQ(WithoutProcessingInstructions("<Root>a<?unterminated </Root>"), "<Root>a");
    EXPECT_EQ(WithoutProcessingInstructions("<?p?><?p?>"), "");
    EXPECT_EQ(WithoutProcessingInstructions("<Root>x ? > y</Root>"), "<Root>x ? > y</Root>");
}

TEST(XmlText, InstructionsInContentNoLongerHangTheParser)
{
    // An instruction in an element's content followed by text: JUCE's own
    // parser rolls back before the instruction and repeats forever.
    auto root = ParseXmlText("<?p?><R><?p?>r</R>");
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->getAllSubText(), "r");
    EXPECT_EQ(ParseXmlText("<?p?><R><?p?>r"), nullptr);

    auto declared = ParseXmlText("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Root><Info><?x?>\r\n"
                                 "<Name>TQR</Name></Info></Root>");
    ASSERT_NE(declared, nullptr);
    EXPECT_EQ(declared->getChildByName("Info")->getChildElementAllSubText("Name", {}), "TQR");
}

TEST(XmlText, MalformedUtf8IsReplacedBeforeParsing)
{
    auto root = ParseXmlText(std::string("<Root>\xF1</Root>\xF1", 15));
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->getAllSubText(), juce::String::fromUTF8("\xEF\xBF\xBD"));
}

} // namespace
} // namespace zorvpro::acoustics
