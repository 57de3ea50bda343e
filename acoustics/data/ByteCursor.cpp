#include "acoustics/data/ByteCursor.h"

#include <cstring>
#include <stdexcept>

namespace zorvpro::acoustics
{

void ByteCursor::require(uint64_t count, size_t valueBytes) const
{
    // Divide rather than multiply, so no product can wrap.
    if (valueBytes != 0 && count > remaining() / valueBytes)
        throw std::invalid_argument("Truncated model file");
}

int32_t ByteCursor::readInt()
{
    require(1, 4);
    const auto* p = reinterpret_cast<const unsigned char*>(data.data() + pos);
    pos += 4;
    const uint32_t v = static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                       static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
    return static_cast<int32_t>(v);
}

float ByteCursor::readFloat()
{
    const uint32_t bits = readUInt();
    float v = 0.0f;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

std::string ByteCursor::readString()
{
    const int32_t length = readInt();
    if (length < 0 || static_cast<size_t>(length) > remaining())
        throw std::invalid_argument("Invalid string length");
    std::string value(data, pos, static_cast<size_t>(length));
    pos += static_cast<size_t>(length);
    const size_t nul = value.find('\0');
    if (nul != std::string::npos)
        value.resize(nul);
    return value;
}

std::array<double, 3> ByteCursor::readPoint()
{
    std::array<double, 3> p{};
    for (double& v : p)
        v = readFloat();
    return p;
}

void ByteCursor::skip(size_t count)
{
    require(count, 1);
    pos += count;
}

uint32_t ByteCursor::readCount(size_t minRecordBytes)
{
    const int32_t count = readInt();
    if (count <= 0)
        return 0;
    if (minRecordBytes != 0 && static_cast<uint64_t>(count) > remaining() / minRecordBytes)
        throw std::invalid_argument("Invalid record count");
    return static_cast<uint32_t>(count);
}

} // namespace zorvpro::acoustics
