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
    // What is left around a removed instruction does not join into a new one.
    EXPECT_EQ(WithoutProcessingInstructions("<t><s c<<?p?>?>o</s></t>"), "<t><s c");
    EXPECT_EQ(WithoutProcessingInstructions("<t>c<<?p?>?q?>o</t>"), "<t>co</t>");
    EXPECT_EQ(WithoutProcessingInstructions("a<<<?p?>?q?>?r?>b"), "ab");
    EXPECT_EQ(WithoutProcessingInstructions("<<?>x?>?"), "");
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

std::string Nested(int depth, bool closed = true)
{
    std::string s;
    for (int i = 0; i < depth; ++i)
        s += "<a k='>'>";
    if (closed)
        for (int i = 0; i < depth; ++i)
            s += "</a>";
    return s;
}

TEST(XmlText, NestingIsCountedOverTheRawMarkup)
{
    EXPECT_TRUE(WithinNestingLimit(Nested(10), 10));
    EXPECT_FALSE(WithinNestingLimit(Nested(11), 10));
    EXPECT_FALSE(WithinNestingLimit(Nested(11, false), 10));
    // Empty elements, comments and CDATA add no level; stray end tags take none away.
    std::string flat = "<r>";
    for (int i = 0; i < 50; ++i)
        flat += "<e/><!-- <a><a><a> --><![CDATA[<a><a>]]><e a=\"/>\"/>";
    EXPECT_TRUE(WithinNestingLimit(flat + "</r>", 2));
    EXPECT_FALSE(WithinNestingLimit("</x></x></x>" + Nested(3), 2));
}

TEST(XmlText, NothingCanHideLevelsFromTheCount)
{
    std::string strayQuotes, entityEatsEndTag, numericEatsEndTag;
    for (int i = 0; i < 5; ++i)
    {
        // JUCE stops at the stray quote and reads on as content, so the
        // quote must not hide the tags that follow it.
        strayQuotes += "<a k'=\"0\"><b>";
        // JUCE reads an unknown entity, end tag included, up to the ";".
        entityEatsEndTag += "<a>&x</a>;";
        numericEatsEndTag += "<a>&#1</a>;";
    }
    EXPECT_FALSE(WithinNestingLimit(strayQuotes, 9));
    EXPECT_TRUE(WithinNestingLimit(strayQuotes, 10));
    EXPECT_FALSE(WithinNestingLimit(entityEatsEndTag, 100));
    EXPECT_FALSE(WithinNestingLimit(numericEatsEndTag, 100));
    EXPECT_TRUE(WithinNestingLimit("<r a=\"&amp;&#x41;&#65;&LT;\">&quot;&apos;&gt;&#1234;</r>", 1));
}

TEST(XmlText, DeepDocumentsAreRefusedBeforeJuceRecursesIntoThem)
{
    // Far deeper than any stack: JUCE's recursive parser would overflow it.
    EXPECT_EQ(ParseXmlText("<Root>" + Nested(100000, false)), nullptr);
    EXPECT_EQ(ParseXmlText("<Root>" + Nested(kMaxXmlDepth) + "</Root>"), nullptr);
    auto deepest = ParseXmlText("<Root>" + Nested(kMaxXmlDepth - 1) + "</Root>");
    ASSERT_NE(deepest, nullptr);
    int depth = 0;
    for (auto* e = deepest.get(); e != nullptr; e = e->getFirstChildElement())
        ++depth;
    EXPECT_EQ(depth, kMaxXmlDepth);
}

} // namespace
} // namespace zorvpro::acoustics
