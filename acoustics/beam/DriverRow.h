#pragma once

#include <cstdint>

namespace zorvpro::acoustics
{

// One driver of a steered array: where it sits along the array's vertical
// axis and how it is driven. Transducer index and module key together
// identify the driver for the cluster's arrival computation.
struct DriverRow
{
    double position = 0.0;       // metres, relative to the current reference
    double steeringDelay = 0.0;  // seconds
    double curvatureDelay = 0.0; // seconds
    double totalDelay = 0.0;     // seconds
    double weight = 1.0;         // linear amplitude; exactly 0 is read as 1.0
    int64_t transducerIndex = -1;
    int64_t moduleKey = -1; // index of the module within its cluster
};

} // namespace zorvpro::acoustics
