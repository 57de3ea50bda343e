#include "acoustics/model/Arrival.h"

#include "acoustics/model/CepstralBasis.h"
#include "acoustics/model/FrequencyBands.h"
#include "acoustics/model/IdCounter.h"

namespace zorvpro::acoustics
{

uint64_t nextArrivalId()
{
    static IdCounter counter;
    return counter.next();
}

Arrival::Arrival() : id(nextArrivalId()) {}

Arrival::Arrival(const math::Vec3& local, const math::Vec3& field, FrequencyMask&& mask)
    : id(nextArrivalId()), localPoint(local), fieldPoint(field), response(std::move(mask))
{
    response.setRepresentation(LevelAmplitude, PhaseDelay);
    const DoubleBuffer minimumPhase = CepstralBasis::minimumPhaseDelay(response);
    totalDelay = response.phases();
    totalDelay.add(minimumPhase);
    excessPhase = CepstralBasis::excessPhase(totalDelay, ThirdOctaveBands);
}

} // namespace zorvpro::acoustics
