#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace zorvpro::datagen
{

using Point = std::array<float, 3>;

// Little-endian writer for the binary model file: 32-bit integers, 32-bit
// floats and length-prefixed strings, appended to one byte string.
class BinaryWriter
{
public:
    void Int(int32_t value);
    void UInt(uint32_t value);
    void Float(float value);
    // A 32-bit length followed by the bytes (no terminator).
    void String(const std::string& value);
    // A length field that does not match the bytes that follow, for broken files.
    void RawLength(int32_t length) { Int(length); }
    void PointValue(const Point& p);
    void Box(const Point& minimum, const Point& maximum);
    void Floats(const std::vector<float>& values);
    void PointList(const std::vector<Point>& points);
    void Zeros(size_t count);
    void Bytes(const std::string& bytes) { data.append(bytes); }

    const std::string& Data() const { return data; }
    size_t Size() const { return data.size(); }

private:
    std::string data;
};

} // namespace zorvpro::datagen
