#pragma once

#include "acoustics/model/Arrival.h"

#include <cstdint>
#include <vector>

namespace zorvpro
{
namespace acoustics
{

// The arrivals reaching one field point, under the point's tag.
struct PointArrivals
{
    uint64_t tag = 0;
    std::vector<Arrival> arrivals;
};

// One entry per field point of a set, in point order.
using ArrivalsList = std::vector<PointArrivals>;

} // namespace acoustics
} // namespace zorvpro
