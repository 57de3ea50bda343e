#pragma once

#include <cstdint>

namespace zorvpro::acoustics
{

// Which of the (up to 32) bands take part: bit i selects band i.
class BandSelection
{
public:
    static constexpr uint32_t AllBits = 0xFFFFFFFFu;

    constexpr BandSelection() = default;
    constexpr explicit BandSelection(uint32_t bits_) : bitSet(bits_) {}

    constexpr uint32_t bits() const { return bitSet; }
    constexpr bool test(uint32_t band) const { return band < 32 && (bitSet >> band & 1u) != 0; }
    constexpr bool none() const { return bitSet == 0; }
    constexpr bool all() const { return bitSet == AllBits; }

    // Intersection in place; the result equals the new value.
    BandSelection& operator&=(BandSelection other)
    {
        bitSet &= other.bitSet;
        return *this;
    }
    constexpr bool overlaps(BandSelection other) const { return (bitSet & other.bitSet) != 0; }

    constexpr bool operator==(BandSelection other) const { return bitSet == other.bitSet; }
    constexpr bool operator!=(BandSelection other) const { return bitSet != other.bitSet; }

private:
    uint32_t bitSet = AllBits;
};

} // namespace zorvpro::acoustics
