#include "acoustics/data/EQTableReading.h"

#include "acoustics/data/TextNumber.h"

#include <limits>

namespace zorvpro::acoustics
{

int32_t ParseLeadingInt(const juce::String& text)
{
    auto p = text.getCharPointer().findEndOfWhitespace();
    bool negative = false;
    if (*p == '-' || *p == '+')
    {
        negative = *p == '-';
        ++p;
    }
    int64_t value = 0;
    const int64_t limit = negative ? -static_cast<int64_t>(std::numeric_limits<int32_t>::min())
                                   : std::numeric_limits<int32_t>::max();
    for (auto c = *p; c >= '0' && c <= '9'; c = *++p)
        value = std::min<int64_t>(limit, value * 10 + (c - '0'));
    return static_cast<int32_t>(negative ? -value : value);
}

juce::String LeadingOwnText(const juce::XmlElement& element)
{
    juce::String text;
    for (auto* child : element.getChildIterator())
    {
        if (!child->isTextElement())
            break;
        text += child->getText();
    }
    return text;
}

double ChildReal(const juce::XmlElement& parent, const char* tag)
{
    return ReadDouble(parent.getChildElementAllSubText(tag, "0").trim());
}

} // namespace zorvpro::acoustics
