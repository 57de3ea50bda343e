#pragma once

#include "core/math/Timestamp.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace zorvpro
{
namespace acoustics
{

// The computed levels of one field-point set. Shared by pointer; read-only once published.
class DataSet
{
public:
    // One (point tag, level in dB) pair per field point, in point order.
    using SplValues = std::vector<std::pair<uint64_t, double>>;

    virtual ~DataSet() = default;

    // Levels for a bandwidth code (-2 vocal bands, -1 all bands, 1 octave, 3 one-third octave)
    // at the band nearest above frequency (Hz).
    virtual void getSpl(SplValues& out, int32_t bandwidth, double frequency) = 0;
    // Smallest and largest level of the last getSpl.
    virtual void getSplRange(double& min, double& max) const = 0;

    // Creation time: clients keep the newer of two data sets.
    const Timestamp& GetTimestamp() const { return timestamp; }

private:
    Timestamp timestamp;
};

} // namespace acoustics
} // namespace zorvpro
