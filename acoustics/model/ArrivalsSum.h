#pragma once

#include "acoustics/model/Arrival.h"
#include "acoustics/model/FrequencyMask.h"

#include <vector>

namespace zorvpro::acoustics
{

class ArrivalsSum
{
public:
    virtual ~ArrivalsSum() = default;
    virtual void sum(FrequencyMask& out, const std::vector<Arrival>& arrivals) = 0;
};

// Power per band: the squared amplitudes of all arrivals plus, for every pair
// whose band selections overlap, the windowed coherent cross term
// 2 A_i A_j W(f dtau) cos(2 pi f dtau - dphi).
class ArrivalsSumCrossPower : public ArrivalsSum
{
public:
    void sum(FrequencyMask& out, const std::vector<Arrival>& arrivals) override;
};

} // namespace zorvpro::acoustics
