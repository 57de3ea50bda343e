#include "acoustics/data/XmlText.h"
#include "fuzz/targets/AcousticTargets.h"
#include "tests/fuzzreplay/Replay.h"

namespace zorvpro::fuzz
{
namespace
{

TEST(FuzzReplay, ModelFilesAndEqTablesSurviveEveryKeptInput)
{
    Replay(AcousticTargets());
}

// A "Root" document `depth` elements deep, each level below it written with
// the same markup.
std::string Nested(int depth, const std::string& open, const std::string& close)
{
    std::string text = "<Root>";
    for (int i = 1; i < depth; ++i)
        text += open;
    for (int i = 1; i < depth; ++i)
        text += close;
    return text + "</Root>";
}

int TreeDepth(const juce::XmlElement& element)
{
    int deepest = 0;
    for (const juce::XmlElement* child : element.getChildIterator())
        if (!child->isTextElement())
            deepest = std::max(deepest, TreeDepth(*child));
    return deepest + 1;
}

TEST(FuzzReplay, XmlAtAndPastTheNestingLimitOnASmallStack)
{
    const struct
    {
        const char* markup;
        std::string open, close;
        bool readable;
    } variants[] = {
        {"plain", "<a>", "</a>", true},
        {"comments", "<a><!-- <b><c> -->", "<!-- </b> --></a>", true},
        {"CDATA", "<a><![CDATA[<b>]]>", "<![CDATA[</b>]]></a>", true},
        {"quoted markup", "<a k='>' j=\"/>\" >", "</a >", true},
        {"entities", "<a v=\"&lt;b&gt;&#60;\">&amp;&#x3C;c&GT;", "&lt;/c&gt;</a>", true},
        {"quote left open", "<a k=\"x>", "</a>", false},
        {"stray quote", "<a k'=\"0\">", "</a>", false},
        {"< inside a tag", "<a b<c>", "</a>", false},
        {"CDATA inside a tag", "<a me<![CDATA[>", "</a>", false},
        {"unknown entity", "<a>&x;", "</a>", false},
    };
    for (const auto& v : variants)
    {
        for (const int depth : {acoustics::kMaxXmlDepth, acoustics::kMaxXmlDepth + 1})
        {
            SCOPED_TRACE(std::string(v.markup) + " at depth " + std::to_string(depth));
            const std::string text = Nested(depth, v.open, v.close);
            const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
            int parsedDepth = 0;
            RunWithStack(kReplayStackBytes,
                         [&]
                         {
                             FuzzEqTable(bytes, text.size());
                             FuzzDataSetDescriptor(bytes, text.size());
                             // Aborts when JUCE reads an admitted text to another depth.
                             FuzzXmlNesting(bytes, text.size());
                             const auto root = acoustics::ParseXmlText(text);
                             parsedDepth = root ? TreeDepth(*root) : 0;
                         });
            const bool admitted = v.readable && depth <= acoustics::kMaxXmlDepth;
            EXPECT_EQ(parsedDepth, admitted ? depth : 0);
        }
    }
}

} // namespace
} // namespace zorvpro::fuzz
