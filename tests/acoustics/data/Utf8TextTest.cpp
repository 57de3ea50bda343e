#include "acoustics/data/Utf8Text.h"
#include "acoustics/data/ZipFile.h"
#include "tools/datagen/Archive.h"

#include <juce_core/juce_core.h>

#include <gtest/gtest.h>

namespace zorvpro::acoustics
{
namespace
{

const std::string kBad = "\xEF\xBF\xBD";

TEST(Utf8Text, KeepsWellFormedTextByteForByte)
{
    const std::string text =
        "Root \xC3\xA9t\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x94\x8A \xEF\xBF\xBF \xF4\x8F\xBF\xBF end";
    EXPECT_EQ(ValidUtf8(text), text);
    EXPECT_EQ(ValidUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
    EXPECT_EQ(ValidUtf8(""), "");
}

TEST(Utf8Text, ReplacesEveryMalformedByte)
{
    struct Case
    {
        std::string in, out;
    };
    const Case cases[] = {
        {"a\xF1", "a" + kBad},                                      // lead byte at the very end
        {"\xF1\xF1\xF1x", kBad + kBad + kBad + "x"},                // lead bytes without continuations
        {"\xE2\x82", kBad + kBad},                                  // truncated three-byte sequence
        {"\x80x\xBF", kBad + "x" + kBad},                           // stray continuation bytes
        {"\xC0\xAF", kBad + kBad},                                  // overlong "/"
        {"\xE0\x80\xAF", kBad + kBad + kBad},                       // overlong, three bytes
        {"\xED\xA0\x80", kBad + kBad + kBad},                       // surrogate half
        {"\xF4\x90\x80\x80", kBad + kBad + kBad + kBad},            // above U+10FFFF
        {"\xF8\x88\x80\x80\x80", kBad + kBad + kBad + kBad + kBad}, // five-byte form
        {"\xFF\xFE", kBad + kBad},
        {"\xC3(\xC3\xA9", kBad + "(\xC3\xA9"}, // broken then whole
    };
    for (const Case& c : cases)
        EXPECT_EQ(ValidUtf8(c.in), c.out) << juce::String::toHexString(c.in.data(), int(c.in.size()));
}

TEST(Utf8Text, JuceParsesTheResultOfAnyBytes)
{
    // Every byte that cannot stand alone, then a lead byte just before the end tag.
    std::string bytes = "<Root><Name>";
    for (int b = 0x80; b < 0x100; ++b)
        bytes.push_back(char(b));
    bytes += "\xF1</Name></Root>";
    const std::string text = ValidUtf8(bytes);
    ASSERT_TRUE(juce::CharPointer_UTF8::isValidString(text.c_str(), int(text.size())));
    auto xml = juce::XmlDocument::parse(juce::String::fromUTF8(text.data(), int(text.size())));
    ASSERT_NE(xml, nullptr);
    EXPECT_EQ(xml->getChildElementAllSubText("Name", {}).length(), 129);
}

TEST(Utf8Text, ArchiveTextEntriesComeOutWellFormed)
{
    juce::TemporaryFile file(".vxq");
    ASSERT_TRUE(datagen::WriteArchive(file.getFile(), {{"Main.xml", "<Root>\xC3\xA9\xF1</Root>\xF1"}}));
    ZipFile zip(file.getFile().getFullPathName().toStdString());
    EXPECT_EQ(zip.openStream("Main.xml", false).readText(), "<Root>\xC3\xA9" + kBad + "</Root>" + kBad);
}

} // namespace
} // namespace zorvpro::acoustics
