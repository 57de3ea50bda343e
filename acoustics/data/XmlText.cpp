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

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// The ASCII name characters of JUCE's parser. Names with any other
// character are refused, so that both always end a name at the same place.
bool IsNameChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-' || c == ':' || c == '.';
}

bool IsDigit(char c, bool hex)
{
    return (c >= '0' && c <= '9') || (hex && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')));
}

// Walks markup of the one plain form on which JUCE's parser and any XML
// reader agree, token by token. Every step either consumes a whole token of
// that form or fails; nothing is skipped on a guess.
class MarkupWalk
{
public:
    explicit MarkupWalk(std::string_view text) : text(text) {}

    bool AtEnd() const { return pos >= text.size(); }
    char Peek(size_t ahead = 0) const { return pos + ahead < text.size() ? text[pos + ahead] : '\0'; }
    bool At(std::string_view what) const { return text.substr(pos, what.size()) == what; }
    void Step() { ++pos; }

    void SkipSpace()
    {
        while (IsSpace(Peek()))
            ++pos;
    }

    // Past the next `close`; false when the text ends first.
    bool Past(size_t open, std::string_view close)
    {
        const size_t at = text.find(close, pos + open);
        if (at == std::string_view::npos)
            return false;
        pos = at + close.size();
        return true;
    }

    // A name that ends where JUCE's parser ends it: before white space or
    // one of the characters `ends`.
    bool Name(std::string_view ends)
    {
        const size_t start = pos;
        while (IsNameChar(Peek()))
            ++pos;
        return pos > start && (IsSpace(Peek()) || ends.find(Peek()) != std::string_view::npos);
    }

    // One of the five predefined entities (JUCE ignores their case) or a
    // numeric reference no longer than JUCE reads. JUCE reads any other one
    // up to the next ";", markup included, or expands it from the document
    // type into markup of its own.
    bool Entity()
    {
        ++pos;
        for (const std::string_view name : {"amp;", "quot;", "apos;", "lt;", "gt;"})
        {
            bool same = pos + name.size() <= text.size();
            for (size_t k = 0; k < name.size() && same; ++k)
                same = std::tolower(static_cast<unsigned char>(text[pos + k])) == name[k];
            if (same)
            {
                pos += name.size();
                return true;
            }
        }
        if (Peek() != '#')
            return false;
        ++pos;
        const bool hex = Peek() == 'x' || Peek() == 'X';
        if (hex)
            ++pos;
        const size_t digits = pos;
        while (IsDigit(Peek(), hex))
            ++pos;
        const size_t count = pos - digits;
        if (count == 0 || count > (hex ? 8u : 12u) || Peek() != ';')
            return false;
        ++pos;
        return true;
    }

    // Name="value" or name='value'; the value holds no "<" and only the
    // entities above.
    bool Attribute()
    {
        if (!Name("="))
            return false;
        SkipSpace();
        if (Peek() != '=')
            return false;
        ++pos;
        SkipSpace();
        const char quote = Peek();
        if (quote != '"' && quote != '\'')
            return false;
        for (++pos; Peek() != quote;)
        {
            if (AtEnd() || Peek() == '<')
                return false;
            if (Peek() != '&')
                ++pos;
            else if (!Entity())
                return false;
        }
        ++pos;
        return true;
    }

    // At "<" and a name: the whole start tag. `empty` tells "/>" from ">".
    bool StartTag(bool& empty)
    {
        ++pos;
        if (!Name("/>"))
            return false;
        for (;;)
        {
            const bool spaced = IsSpace(Peek());
            SkipSpace();
            if (At("/>") || At(">"))
            {
                empty = At("/>");
                pos += empty ? 2 : 1;
                return true;
            }
            if (!spaced || !Attribute())
                return false;
        }
    }

    // At "</": the whole end tag. The name need not match: JUCE's parser
    // ends the innermost element at any end tag.
    bool EndTag()
    {
        pos += 2;
        if (!Name(">"))
            return false;
        SkipSpace();
        if (Peek() != '>')
            return false;
        ++pos;
        return true;
    }

private:
    std::string_view text;
    size_t pos = 0;
};

} // namespace

int XmlNestingDepth(std::string_view text)
{
    MarkupWalk in(text.substr(0, text.find('\0')));
    // Before the document element: white space and comments only.
    for (;;)
    {
        in.SkipSpace();
        if (!in.At("<!--"))
            break;
        if (!in.Past(4, "-->"))
            return -1;
    }
    int depth = 0;
    int deepest = 0;
    do
    {
        if (in.AtEnd())
            return -1;
        if (in.At("<!--"))
        {
            if (!in.Past(4, "-->"))
                return -1;
        }
        else if (in.At("<![CDATA[") && depth > 0)
        {
            if (!in.Past(9, "]]>"))
                return -1;
        }
        else if (in.At("</") && depth > 0)
        {
            if (!in.EndTag())
                return -1;
            --depth;
        }
        else if (in.Peek() == '<')
        {
            bool empty = false;
            if (!in.StartTag(empty))
                return -1;
            deepest = std::max(deepest, depth + 1);
            if (!empty)
                ++depth;
        }
        else if (depth == 0)
            return -1;
        else if (in.Peek() != '&')
            in.Step();
        else if (!in.Entity())
            return -1;
    } while (depth > 0);
    // JUCE's parser reads no further than the end of the document element.
    return deepest;
}

bool WithinNestingLimit(std::string_view text, int maxDepth)
{
    const int depth = XmlNestingDepth(text);
    return depth >= 0 && depth <= maxDepth;
}

std::string ReadableXmlText(std::string_view bytes)
{
    return WithoutProcessingInstructions(ValidUtf8(bytes.substr(0, bytes.find('\0'))));
}

std::unique_ptr<juce::XmlElement> ParseXmlText(std::string_view bytes)
{
    const std::string text = ReadableXmlText(bytes);
    if (!WithinNestingLimit(text, kMaxXmlDepth))
        return nullptr;
    return juce::XmlDocument::parse(juce::String::fromUTF8(text.data(), int(text.size())));
}

} // namespace zorvpro::acoustics
