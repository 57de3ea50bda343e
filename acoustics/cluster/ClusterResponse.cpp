// The beam filters of a cluster and the two level limits derived from them.
#include "acoustics/beam/BeamSteerImpl.h"
#include "acoustics/cluster/LoudspeakerClusterImpl.h"
#include "acoustics/cluster/ModuleTransducers.h"
#include "acoustics/data/Loudspeaker.h"
#include "acoustics/model/ArrivalsSum.h"
#include "acoustics/model/CepstralBasis.h"
#include "acoustics/model/LevelConversion.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <utility>

namespace zorvpro::acoustics
{

namespace
{

constexpr double kGainLimitDb = 50.0;

// The smallest usable limit (at least 1.0) among the selected bands; an
// all-zero selection selects every band.
double smallestLimit(const Polar& polar)
{
    const DoubleBuffer& limits = polar.getLimit();
    const uint32_t bits = polar.getBandSelection().bits();
    double smallest = std::numeric_limits<double>::max();
    bool found = false;
    for (uint64_t band = 0; band < limits.count(); ++band)
    {
        const bool selected = bits == 0 || (band < 32 && ((bits >> band) & 1u) != 0);
        if (selected && limits[band] >= 1.0 && limits[band] < smallest)
        {
            smallest = limits[band];
            found = true;
        }
    }
    return found ? smallest : 1.0;
}

double largestValue(const DoubleBuffer& values)
{
    if (values.empty())
        return 0.0;
    return *std::max_element(values.begin(), values.end());
}

} // namespace

bool LoudspeakerClusterImpl::lookupFilter(uint64_t beam, uint32_t moduleKey, uint32_t transducerIndex,
                                          FrequencyMask& filter, DoubleBuffer& maskMagnitudes)
{
    ScopedLock lock(clusterLock);
    maskMagnitudes = responseMask.magnitudes();
    if (beam >= responseCache.size())
        return false;
    const ModuleFilters& entry = responseCache[beam].filters;
    const auto module = entry.find(moduleKey);
    if (module == entry.end())
        return false;
    const auto found = module->second.find(transducerIndex);
    if (found == module->second.end())
        return false;
    filter = found->second;
    return true;
}

LoudspeakerClusterImpl::BeamResponse LoudspeakerClusterImpl::makeBeamResponse(BeamSteerImpl& beam)
{
    BeamResponse response;
    const double beamAmplitude = convertLevel(LevelDecibels, beam.getBeamGain(), LevelAmplitude, 1.0);
    DoubleBuffer eq;
    const bool eqActive = beam.isArrayEQActive();
    if (eqActive)
        eq = beam.getArrayEQResponse();
    for (const DriverRow& row : beam.getDriverTable())
    {
        // An unshaded beam leaves its weights at 0, meaning full level.
        const double weight = row.weight == 0.0 ? 1.0 : row.weight;
        FrequencyMask filter(LevelAmplitude, PhaseDelay, weight * beamAmplitude, row.totalDelay);
        if (eqActive && eq.count() == filter.magnitudes().count())
            filter.magnitudes().multiply(eq);
        const uint32_t moduleKey = static_cast<uint32_t>(row.moduleKey);
        const uint32_t transducerIndex = static_cast<uint32_t>(row.transducerIndex);
        response.filters[moduleKey][transducerIndex] = std::move(filter);
        response.drivers.emplace_back(moduleKey, transducerIndex);
    }
    return response;
}

void LoudspeakerClusterImpl::rebuildResponseCache()
{
    const std::vector<std::shared_ptr<BeamSteerImpl>> beams = copyBeams();
    std::vector<BeamResponse> cache(beams.size());
    for (size_t b = 0; b < beams.size(); ++b)
    {
        if (beams[b])
            cache[b] = makeBeamResponse(*beams[b]);
    }
    // Swapped in whole, so a lookup never sees a half-built cache.
    ScopedLock lock(clusterLock);
    responseCache = std::move(cache);
    for (double& value : responseMask.magnitudes())
        value = 1.0;
}

double LoudspeakerClusterImpl::computeBeamLevelFactor()
{
    ScopedLock lock(clusterLock);
    if (beamSteers.empty())
        return 1.0;
    const double beamCount = static_cast<double>(beamSteers.size());
    const double beamCountDb = 20.0 * std::log10(beamCount);
    const double headroom = std::max(getGainHeadroom(), 0.0);
    if (beamSteers.size() == 1 || !(headroom < beamCountDb))
        return 1.0;

    // Every driver's filters, one per beam, summed as coherent sources. The
    // driver rows are those the cache was built from, so no solver is read
    // here.
    std::map<std::pair<uint32_t, uint32_t>, std::vector<Arrival>> perDriver;
    const math::Vec3 origin;
    for (size_t b = 0; b < responseCache.size() && b < beamSteers.size(); ++b)
    {
        for (const std::pair<uint32_t, uint32_t>& driver : responseCache[b].drivers)
        {
            std::vector<Arrival>& arrivals = perDriver[driver];
            FrequencyMask filter;
            DoubleBuffer unused;
            if (lookupFilter(b, driver.first, driver.second, filter, unused))
                arrivals.emplace_back(origin, origin, std::move(filter));
            else
                arrivals.emplace_back();
        }
    }
    ArrivalsSumCrossPower summation;
    double peak = std::numeric_limits<double>::lowest();
    for (const auto& driver : perDriver)
    {
        FrequencyMask power;
        summation.sum(power, driver.second);
        peak = std::max(peak, largestValue(power.magnitudes()));
    }
    // A peak of 0 or below reads as 0 dB.
    const double peakDb = convertLevel(LevelPower, peak, LevelDecibels, 1.0);
    if (headroom < peakDb)
    {
        const double excess = std::pow(10.0, (peakDb - headroom) / 20.0);
        return excess == 0.0 ? 1.0 : 1.0 / excess;
    }
    return 1.0;
}

double LoudspeakerClusterImpl::computeMaxGain(double reference)
{
    ScopedLock lock(clusterLock);
    double result = std::numeric_limits<double>::max();
    // Kept across modules: a module's peak includes those before it.
    double peak = -50.0;
    FrequencyMask accumulator(LevelDecibels, PhaseDelay);
    const uint64_t beamCount = beamSteers.size();
    for (const std::shared_ptr<Loudspeaker>& module : copyModules())
    {
        const std::vector<std::shared_ptr<Transducer>> transducers = gatherTransducers(*module);
        double product = reference;
        double limit = 0.0;
        bool limitTaken = false;
        for (const std::shared_ptr<Transducer>& transducer : transducers)
        {
            product *= transducer->getLevelFactor();
            const std::shared_ptr<Polar> polar = transducer->getPolar();
            if (!limitTaken && polar)
            {
                limit = smallestLimit(*polar);
                limitTaken = true;
            }
        }
        const uint32_t moduleKey = module->getIndex();
        for (uint64_t b = 0; b < beamCount; ++b)
        {
            for (const std::shared_ptr<Transducer>& transducer : transducers)
            {
                for (double& value : accumulator.magnitudes())
                    value = 0.0;
                for (double& value : accumulator.phases())
                    value = 0.0;
                FrequencyMask filter;
                DoubleBuffer unused;
                if (lookupFilter(b, moduleKey, transducer->getIndex(), filter, unused))
                    CepstralBasis::math(accumulator, CepstralBasis::Combine, filter);
                peak = std::max(peak, largestValue(accumulator.magnitudes()));
            }
        }
        const double v = product * std::pow(10.0, peak / 10.0);
        double m = (limit != 0.0 && v != 0.0) ? limit / v : 0.0;
        if (m <= 0.0)
            m = 1.0;
        result = std::min(result, 10.0 * std::log10(m));
    }
    return result;
}

double LoudspeakerClusterImpl::getMaxGain()
{
    ScopedLock lock(clusterLock);
    return std::clamp(computeMaxGain(1.0), -kGainLimitDb, kGainLimitDb);
}

} // namespace zorvpro::acoustics
