#include "acoustics/data/Utf8Text.h"

#include <cstdint>

namespace zorvpro::acoustics
{
namespace
{

constexpr char kReplacement[] = "\xEF\xBF\xBD";

bool Continuation(uint8_t b)
{
    return (b & 0xC0) == 0x80;
}

// Length of the well-formed sequence starting at i, or 0 when there is none.
size_t SequenceLength(std::string_view s, size_t i)
{
    const auto b0 = uint8_t(s[i]);
    if (b0 < 0x80)
        return 1;
    size_t length = 0;
    uint8_t low = 0x80, high = 0xBF; // allowed range of the second byte
    if (b0 >= 0xC2 && b0 <= 0xDF)
        length = 2;
    else if (b0 >= 0xE0 && b0 <= 0xEF)
    {
        length = 3;
        if (b0 == 0xE0)
            low = 0xA0; // no overlong forms
        else if (b0 == 0xED)
            high = 0x9F; // no surrogates
    }
    else if (b0 >= 0xF0 && b0 <= 0xF4)
    {
        length = 4;
        if (b0 == 0xF0)
            low = 0x90;
        else if (b0 == 0xF4)
            high = 0x8F; // nothing above U+10FFFF
    }
    else
        return 0;
    if (s.size() - i < length)
        return 0;
    const auto b1 = uint8_t(s[i + 1]);
    if (b1 < low || b1 > high)
        return 0;
    for (size_t k = 2; k < length; ++k)
        if (!Continuation(uint8_t(s[i + k])))
            return 0;
    return length;
}

} // namespace

std::string ValidUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    size_t i = 0;
    while (i < bytes.size())
    {
        const size_t n = SequenceLength(bytes, i);
        if (n == 0)
        {
            out += kReplacement;
            ++i;
            continue;
        }
        out.append(bytes.data() + i, n);
        i += n;
    }
    return out;
}

} // namespace zorvpro::acoustics
