#pragma once

#include "acoustics/model/DoubleBuffer.h"
#include "acoustics/model/FrequencyMask.h"
#include "core/math/Vector3.h"

#include <cstdint>

namespace zorvpro::acoustics
{

// What one source contributes at one field point: its response in that
// direction, and the total delay and excess phase per band derived from it.
class Arrival
{
public:
    // An empty arrival (no response values) with a fresh id.
    Arrival();
    // Takes the response over (the source mask is left empty), brings it to
    // amplitudes and delays and derives the total delay and excess phase.
    Arrival(const math::Vec3& localPoint, const math::Vec3& fieldPoint, FrequencyMask&& response);
    Arrival(const Arrival&) = default;
    Arrival(Arrival&&) noexcept = default;
    Arrival& operator=(const Arrival&) = default;
    Arrival& operator=(Arrival&&) noexcept = default;
    virtual ~Arrival() = default;

    uint64_t getId() const { return id; }
    // The field point in the source's own coordinates.
    const math::Vec3& getLocalPoint() const { return localPoint; }
    const math::Vec3& getFieldPoint() const { return fieldPoint; }
    const FrequencyMask& getResponse() const { return response; }
    // Seconds per band.
    const DoubleBuffer& getTotalDelay() const { return totalDelay; }
    // Radians per band.
    const DoubleBuffer& getExcessPhase() const { return excessPhase; }

private:
    uint64_t id;
    math::Vec3 localPoint;
    math::Vec3 fieldPoint;
    FrequencyMask response;
    DoubleBuffer totalDelay;
    DoubleBuffer excessPhase;
};

// Takes the next value of a process-wide id counter; the largest value is
// never handed out (it yields 0).
uint64_t nextArrivalId();

} // namespace zorvpro::acoustics
