#include "acoustics/data/TextNumber.h"

#include <cctype>
#include <string>

namespace zorvpro::acoustics
{

double ReadDouble(const juce::String& text)
{
    std::string s = text.toStdString();
    const auto digit = [&](size_t i)
    { return i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])); };
    for (size_t i = 0; i < s.size(); ++i)
    {
        if (s[i] != 'e' && s[i] != 'E')
            continue;
        size_t start = i + 1;
        if (start < s.size() && (s[start] == '+' || s[start] == '-'))
            ++start;
        size_t first = start; // first significant digit
        while (first < s.size() && s[first] == '0')
            ++first;
        size_t end = first;
        while (digit(end))
            ++end;
        if (end - first > 4)
            s.replace(start, end - start, "9999");
    }
    return juce::String::fromUTF8(s.data(), static_cast<int>(s.size())).getDoubleValue();
}

} // namespace zorvpro::acoustics
