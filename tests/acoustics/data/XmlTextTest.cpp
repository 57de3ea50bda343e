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

TEST(XmlText, OnlyPlainMarkupIsCounted)
{
    // Depth of the deepest element, or -1 for markup that JUCE's parser could
    // read otherwise than the count: it reads on after errors, so anything
    // it reads differently can hide levels from the count.
    const struct
    {
        const char* text;
        int depth;
    } cases[] = {
        {"<r/>", 1},
        {" <!-- <a><a> -->\n<r a = 'x' b=\"y\"><e/><f x=\"&gt;\"/></r>", 2},
        {"<r>&amp;<a>&#60;&#x3c;</a>&LT;<b/></r>", 2},
        {"<r><a></b></r>", 2},    // end tags close a level whatever their name
        {"<r></r ><a><a><a>", 1}, // what follows the document element is not read
        {"<r><a k'=\"0\"><b></b></a></r>", -1},
        {"<r><a b<c>></a></r>", -1},
        {"<r><a me<![CDATA[>]]></a></r>", -1},
        {"<r><a k=\"<b>\"></a></r>", -1},
        {"<r><a k=1></a></r>", -1},
        {"<r><a k=\"1\"j=\"2\"></a></r>", -1},
        {"<r><a k=\"1></a></r>", -1},
        {"<r>< a></a></r>", -1},
        {"<r></a x></r>", -1},
        {"<r>&x;</r>", -1},
        {"<r k=\"&x;\"></r>", -1},
        {"<r>&#1</r>;", -1},
        {"<r>&#x;</r>", -1},
        {"<r>&#1234567890123;</r>", -1},
        {"<!DOCTYPE r [<!ENTITY e \"<a>\">]><r>&e;</r>", -1},
        {"<![CDATA[x]]><r/>", -1},
        {"</r><r/>", -1},
        {"x<r/>", -1},
        {"<r><!-- </r>", -1},
        {"<r><![CDATA[</r>", -1},
        {"<r><a></a>", -1},
        {"<r\xC3\xA9/>", -1},
        {"", -1},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(XmlNestingDepth(c.text), c.depth);
        EXPECT_EQ(WithinNestingLimit(c.text, 2), c.depth >= 0);
        EXPECT_EQ(WithinNestingLimit(c.text, 1), c.depth == 1);
    }
    // The text ends at its first NUL, as JUCE's parser reads it.
    EXPECT_EQ(XmlNestingDepth(std::string("<r/>\0<a>", 8)), 1);
    EXPECT_EQ(XmlNestingDepth(std::string("<r>\0</r>", 8)), -1);
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
