#include "acoustics/data/XmlText.h"

#include "acoustics/data/Utf8Text.h"

#include <algorithm>
#include <cctype>

namespace zorvpro::acoustics
{

std::string WithoutProcessingInstructions(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    size_t pos = 0;
    while (pos < text.size())
    {
        // An instruction starts at "<?", or at a "?" that follows a "<" left
        // over from the text before an instruction just removed: removing
        // must not join the text into a new one.
        size_t body = std::string_view::npos;
        if (text[pos] == '<' && pos + 1 < text.size() && text[pos + 1] == '?')
            body = pos + 2;
        else if (text[pos] == '?' && !out.empty() && out.back() == '<')
        {
            out.pop_back();
            body = pos + 1;
        }
        if (body == std::string_view::npos)
        {
            out.push_back(text[pos++]);
            continue;
        }
        const size_t end = text.find("?>", body);
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

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// Name characters as JUCE's parser has them; every non-ASCII byte counts as
// one, which can only make a tag look open where JUCE would stop at it.
bool IsNameChar(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return u >= 0x80 || std::isalnum(u) || c == '_' || c == '-' || c == ':' || c == '.';
}

size_t SkipSpace(std::string_view text, size_t i)
{
    while (i < text.size() && IsSpace(text[i]))
        ++i;
    return i;
}

size_t SkipName(std::string_view text, size_t i)
{
    while (i < text.size() && IsNameChar(text[i]))
        ++i;
    return i;
}

// Length of the entity reference at i ("&amp;", "&#38;", "&#x26;"), or 0
// when it is none of the predefined or numeric ones.
size_t EntityLength(std::string_view text, size_t i)
{
    for (const std::string_view name : {"amp;", "quot;", "apos;", "lt;", "gt;"})
    {
        if (text.size() - (i + 1) < name.size())
            continue;
        bool same = true;
        for (size_t k = 0; k < name.size() && same; ++k)
            same = std::tolower(static_cast<unsigned char>(text[i + 1 + k])) == name[k];
        if (same)
            return 1 + name.size();
    }
    if (!StartsWith(text, i, "&#"))
        return 0;
    size_t k = i + 2;
    const bool hex = k < text.size() && (text[k] == 'x' || text[k] == 'X');
    if (hex)
        ++k;
    const size_t digits = k;
    while (k < text.size() && (hex ? std::isxdigit(static_cast<unsigned char>(text[k])) != 0
                                   : std::isdigit(static_cast<unsigned char>(text[k])) != 0))
        ++k;
    const size_t count = k - digits;
    if (count == 0 || count > (hex ? 8u : 12u) || k >= text.size() || text[k] != ';')
        return 0;
    return k + 1 - i;
}

} // namespace

bool WithinNestingLimit(std::string_view text, int maxDepth)
{
    int depth = 0;
    size_t i = 0;
    while (i < text.size())
    {
        const char c = text[i];
        if (c == '&')
        {
            const size_t n = EntityLength(text, i);
            if (n == 0)
                return false;
            i += n;
            continue;
        }
        if (c != '<')
        {
            ++i;
            continue;
        }
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
        // A start tag as JUCE reads it: a name, then quoted attributes, then
        // "/>" (no level) or ">" (one level). A tag it cannot read whole is
        // counted as opening a level; the walk goes on where JUCE would.
        size_t j = SkipSpace(text, SkipName(text, SkipSpace(text, i + 1)));
        bool empty = false;
        for (;;)
        {
            j = SkipSpace(text, j);
            if (StartsWith(text, j, "/>"))
            {
                empty = true;
                j += 2;
                break;
            }
            if (j < text.size() && text[j] == '>')
            {
                ++j;
                break;
            }
            const size_t nameEnd = SkipName(text, j);
            if (nameEnd == j)
                break;
            size_t k = SkipSpace(text, nameEnd);
            if (k >= text.size() || text[k] != '=')
            {
                j = k;
                break;
            }
            k = SkipSpace(text, k + 1);
            if (k >= text.size() || (text[k] != '"' && text[k] != '\''))
            {
                j = k;
                break;
            }
            // The value runs to the same quote; entity references in it are
            // checked like those in text.
            const char quote = text[k];
            for (++k; k < text.size() && text[k] != quote;)
            {
                if (text[k] == '&')
                {
                    const size_t n = EntityLength(text, k);
                    if (n == 0)
                        return false;
                    k += n;
                }
                else
                    ++k;
            }
            j = std::min(k + 1, text.size());
        }
        if (!empty && ++depth > maxDepth)
            return false;
        i = std::max(j, i + 1);
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
