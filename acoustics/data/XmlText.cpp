#include "acoustics/data/XmlText.h"

#include "acoustics/data/Utf8Text.h"

#include <algorithm>

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

namespace
{

// Position just past `close` from `from` on, or the end of the text.
size_t After(std::string_view text, size_t from, std::string_view close)
{
    const size_t at = text.find(close, from);
    return at == std::string_view::npos ? text.size() : at + close.size();
}

bool StartsWith(std::string_view text, size_t at, std::string_view what)
{
    return text.substr(at, what.size()) == what;
}

} // namespace

bool WithinNestingLimit(std::string_view text, int maxDepth)
{
    int depth = 0;
    size_t i = 0;
    while ((i = text.find('<', i)) != std::string_view::npos)
    {
        if (StartsWith(text, i, "<!--"))
        {
            i = After(text, i + 4, "-->");
            continue;
        }
        if (StartsWith(text, i, "<![CDATA["))
        {
            i = After(text, i + 9, "]]>");
            continue;
        }
        if (StartsWith(text, i, "</"))
        {
            depth = std::max(0, depth - 1);
            i = After(text, i + 2, ">");
            continue;
        }
        // A start tag: find its end outside quoted values.
        size_t j = i + 1;
        char quote = 0;
        for (; j < text.size(); ++j)
        {
            const char c = text[j];
            if (quote != 0)
            {
                if (c == quote)
                    quote = 0;
            }
            else if (c == '"' || c == '\'')
                quote = c;
            else if (c == '>')
                break;
        }
        const bool empty = j < text.size() && text[j - 1] == '/';
        if (!empty && ++depth > maxDepth)
            return false;
        i = j;
    }
    return true;
}

std::unique_ptr<juce::XmlElement> ParseXmlText(std::string_view bytes)
{
    const std::string text = WithoutProcessingInstructions(ValidUtf8(bytes));
    if (!WithinNestingLimit(text, kMaxXmlDepth))
        return nullptr;
    return juce::XmlDocument::parse(juce::String::fromUTF8(text.data(), int(text.size())));
}

} // namespace zorvpro::acoustics
