#include "acoustics/fast/ClusterCapture.h"

#include "acoustics/cluster/LoudspeakerClusterImpl.h"
#include "acoustics/cluster/ModuleTransducers.h"
#include "acoustics/data/Loudspeaker.h"
#include "acoustics/model/Environment.h"
#include "acoustics/model/FrequencyBands.h"

#include <stdexcept>

namespace zorvpro::acoustics
{

namespace
{

// The filter as the cepstral combination would use it on a response held as
// amplitudes and delays: converted to those kinds, or unusable.
bool usableFilter(FrequencyMask& filter)
{
    if (filter.magnitudes().count() != CalculationBandCount)
        return false;
    if (filter.getMagnitudeKind() != LevelAmplitude || filter.getPhaseKind() != PhaseDelay)
        filter = filter.convertedCopy(LevelAmplitude, PhaseDelay);
    return filter.getMagnitudeKind() == LevelAmplitude && filter.getPhaseKind() == PhaseDelay;
}

} // namespace

FlatClusterModel captureFlatClusterModel(LoudspeakerClusterImpl& cluster)
{
    FlatClusterModel model;
    if (cluster.isMuted())
        return model;
    {
        Environment& environment = Environment::instance();
        ScopedLock environmentLock(environment.getLock());
        model.secondsPerMetre = environment.getInverseSpeedOfSound();
        model.absorption = environment.airAbsorptionTable(ThirdOctaveBands);
    }
    const double gainLinear = cluster.getGainAs(LevelAmplitude);
    model.delaySeconds = cluster.getDelayAs(ScaleSeconds);
    const uint64_t beamCount = cluster.getBeamSteerCount();
    model.steered = beamCount > 0;
    const math::Mat4 clusterTransform = cluster.getTransform();

    for (const std::shared_ptr<Loudspeaker>& module : cluster.copyModules())
    {
        if (!module || module->isMuted())
            continue;
        const math::Mat4 moduleTransform = module->getTransform();
        const uint32_t moduleKey = module->getIndex();
        for (const std::shared_ptr<Transducer>& transducer : gatherTransducers(*module))
        {
            FlatDriver driver;
            driver.polar = transducer->getPolar();
            if (!driver.polar)
                continue;
            try
            {
                driver.toLocal =
                    math::Inverse(clusterTransform * moduleTransform * transducer->getTransform());
            }
            catch (const std::domain_error&)
            {
                continue; // not heard, as in the cluster
            }
            driver.gain = gainLinear * transducer->getLevelFactor();
            for (uint64_t b = 0; b < beamCount; ++b)
            {
                FlatDriver::Beam beam;
                beam.hasFilter =
                    cluster.lookupFilter(b, moduleKey, transducer->getIndex(), beam.filter, beam.mask);
                beam.hasFilter = beam.hasFilter && usableFilter(beam.filter);
                driver.beams.push_back(std::move(beam));
            }
            model.drivers.push_back(std::move(driver));
        }
    }
    FlatClusterArrivals::prepare(model);
    return model;
}

} // namespace zorvpro::acoustics
