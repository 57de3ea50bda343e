#include "acoustics/data/XmlText.h"

#include "acoustics/data/Utf8Text.h"

namespace zorvpro::acoustics
{

std::string WithoutProcessingInstructions(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    size_t pos = 0;
    while (pos < text.size())
    {
        const size_t start = text.find("<?", pos);
        if (start == std::string_view::npos)
        {
            out.append(text.substr(pos));
            break;
        }
        out.append(text.substr(pos, start - pos));
        const size_t end = text.find("?>", start + 2);
        if (end == std::string_view::npos)
            break;
        pos = end + 2;
    }
    return out;
}

std::unique_ptr<juce::XmlElement> ParseXmlText(std::string_view bytes)
{
    const std::string text = WithoutProcessingInstructions(ValidUtf8(bytes));
    return juce::XmlDocument::parse(juce::String::fromUTF8(text.data(), int(text.size())));
}

} // namespace zorvpro::acoustics
