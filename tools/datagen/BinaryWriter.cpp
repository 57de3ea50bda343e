#include "tools/datagen/BinaryWriter.h"

#include <cstring>

namespace zorvpro::datagen
{

void BinaryWriter::UInt(uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        data.push_back(static_cast<char>((value >> shift) & 0xFFu));
}

void BinaryWriter::Int(int32_t value)
{
    UInt(static_cast<uint32_t>(value));
}

void BinaryWriter::Float(float value)
{
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    UInt(bits);
}

void BinaryWriter::String(const std::string& value)
{
    Int(static_cast<int32_t>(value.size()));
    data.append(value);
}

void BinaryWriter::PointValue(const Point& p)
{
    for (float v : p)
        Float(v);
}

void BinaryWriter::Box(const Point& minimum, const Point& maximum)
{
    PointValue(minimum);
    PointValue(maximum);
}

void BinaryWriter::Floats(const std::vector<float>& values)
{
    data.reserve(data.size() + values.size() * 4);
    for (float v : values)
        Float(v);
}

void BinaryWriter::PointList(const std::vector<Point>& points)
{
    Int(static_cast<int32_t>(points.size()));
    for (const Point& p : points)
        PointValue(p);
}

void BinaryWriter::Zeros(size_t count)
{
    data.append(count, '\0');
}

} // namespace zorvpro::datagen
