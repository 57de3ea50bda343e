// The sound of a cluster's transducers at field points.
#include "acoustics/cluster/LoudspeakerClusterImpl.h"
#include "acoustics/cluster/ModuleTransducers.h"
#include "acoustics/data/Loudspeaker.h"
#include "acoustics/model/CepstralBasis.h"
#include "acoustics/model/Environment.h"
#include "core/math/Compare.h"
#include "core/math/Matrix4.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace zorvpro::acoustics
{

namespace
{

constexpr int32_t kBandResolution = 3;
// Spreading is limited to that of 1 cm so a point on a driver stays finite.
constexpr double kMinDistance = 0.01;

void scale(DoubleBuffer& values, double factor)
{
    for (double& value : values)
        value *= factor;
}

void offset(DoubleBuffer& values, double amount)
{
    for (double& value : values)
        value += amount;
}

} // namespace

std::vector<Arrival> LoudspeakerClusterImpl::computeArrivalsAtPoint(const math::Vec3& point)
{
    ArrivalLists lists = computeArrivals({point});
    if (lists.empty())
        return {};
    return std::move(lists.front());
}

LoudspeakerClusterImpl::ArrivalLists
LoudspeakerClusterImpl::computeArrivals(const std::vector<math::Vec3>& points)
{
    ArrivalLists result(points.size());
    if (isMuted())
        return result;

    double secondsPerMetre = 0.0;
    DoubleBuffer absorption;
    {
        Environment& environment = Environment::instance();
        ScopedLock environmentLock(environment.getLock());
        secondsPerMetre = environment.getInverseSpeedOfSound();
        absorption = environment.airAbsorptionTable(kBandResolution);
    }

    const double gainLinear = getGainAs(LevelAmplitude);
    const double delaySeconds = getDelayAs(ScaleSeconds);
    const uint64_t beamCount = getBeamSteerCount();
    const math::Mat4 clusterTransform = getTransform();

    for (const std::shared_ptr<Loudspeaker>& module : copyModules())
    {
        if (!module || module->isMuted())
            continue;
        const math::Mat4 moduleTransform = module->getTransform();
        const uint32_t moduleKey = module->getIndex();
        for (const std::shared_ptr<Transducer>& transducer : gatherTransducers(*module))
        {
            const std::shared_ptr<Polar> polar = transducer->getPolar();
            if (!polar)
                continue;
            math::Mat4 toLocal;
            try
            {
                toLocal = math::Inverse(clusterTransform * moduleTransform * transducer->getTransform());
            }
            catch (const std::domain_error&)
            {
                // Each stored transform is invertible, but their product can
                // still round to a singular one; such a driver is not heard
                // rather than failing the engine's job.
                continue;
            }
            const double g = gainLinear * transducer->getLevelFactor();
            const uint32_t transducerIndex = transducer->getIndex();

            for (size_t i = 0; i < points.size(); ++i)
            {
                const math::Vec3& p = points[i];
                const math::Vec3 q = math::TransformPoint(toLocal, p);
                FrequencyMask response = polar->lookup(q);
                if (!response.isUsable())
                    continue;
                if (response.getMagnitudeKind() != LevelAmplitude || response.getPhaseKind() != PhaseDelay)
                    response.setRepresentation(LevelAmplitude, PhaseDelay);

                const double r = q.LengthSquared() < math::kZeroTolerance ? 0.0 : q.Length();
                offset(response.phases(), r * secondsPerMetre);
                const double spreadingDistance = std::max(kMinDistance, r);
                scale(response.magnitudes(), 1.0 / spreadingDistance);
                DoubleBuffer& magnitudes = response.magnitudes();
                if (!absorption.empty() && absorption.count() == magnitudes.count())
                {
                    for (uint64_t b = 0; b < magnitudes.count(); ++b)
                        magnitudes[b] *= std::pow(10.0, absorption[b] * spreadingDistance / 20.0);
                }
                if (g != 1.0 && g != 0.0)
                    scale(magnitudes, g);
                if (delaySeconds > 0.0)
                    offset(response.phases(), delaySeconds);

                if (beamCount == 0)
                {
                    result[i].emplace_back(q, p, std::move(response));
                    continue;
                }
                for (uint64_t b = 0; b < beamCount; ++b)
                {
                    FrequencyMask beamResponse(response);
                    FrequencyMask filter;
                    DoubleBuffer levelFactor;
                    if (lookupFilter(b, moduleKey, transducerIndex, filter, levelFactor))
                        CepstralBasis::math(beamResponse, CepstralBasis::Combine, filter);
                    beamResponse.magnitudes().multiply(levelFactor);
                    result[i].emplace_back(q, p, std::move(beamResponse));
                }
            }
        }
    }
    return result;
}

} // namespace zorvpro::acoustics
