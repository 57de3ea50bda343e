#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace zorvpro::acoustics
{

// Little-endian reads over the bytes of one archive entry. Every read is
// checked against what remains: reading past the end, a string longer than
// the rest of the entry, or a count of records that cannot fit all throw
// std::invalid_argument, so corrupt input never drives an allocation or a
// loop beyond the size of the entry.
class ByteCursor
{
public:
    explicit ByteCursor(const std::string& bytes) : data(bytes) {}

    size_t remaining() const { return data.size() - pos; }
    size_t position() const { return pos; }

    int32_t readInt();
    uint32_t readUInt() { return static_cast<uint32_t>(readInt()); }
    float readFloat();
    // A 32-bit length and that many bytes; the value ends at the first NUL.
    std::string readString();
    std::array<double, 3> readPoint();
    void skip(size_t count);
    // A record count that must leave at least minRecordBytes per record;
    // counts of 0 or below give 0.
    uint32_t readCount(size_t minRecordBytes);
    // Ensures that count values of valueBytes each remain.
    void require(uint64_t count, size_t valueBytes) const;

private:
    const std::string& data;
    size_t pos = 0;
};

} // namespace zorvpro::acoustics
