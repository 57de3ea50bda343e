#include "acoustics/beam/BeamSteerImpl.h"

#include "acoustics/beam/BeamConstraintsFactory.h"
#include "acoustics/beam/ShelfResponse.h"
#include "acoustics/data/EQData.h"
#include "acoustics/data/LoudspeakerImpl.h"
#include "acoustics/data/Transducer.h"
#include "acoustics/model/Environment.h"
#include "acoustics/model/FrequencyBands.h"
#include "core/math/Compare.h"

#include <algorithm>
#include <cmath>

namespace zorvpro::acoustics
{

namespace
{
constexpr double kMinBeamGain = -10.0;
constexpr double kMaxBeamGain = 10.0;
constexpr double kEqSampleRate = 48000.0;
} // namespace

BeamSteerImpl::SolveLock::SolveLock(BeamSteerImpl& beam)
{
    if (beam.constraints)
        constraintsLock = std::unique_lock<RecursiveTimedMutex>(beam.constraints->getLock());
    beamLock = std::unique_lock<RecursiveTimedMutex>(beam.mutex);
}

std::unique_lock<RecursiveTimedMutex> BeamSteerImpl::lockConstraints()
{
    if (!constraints)
        return {};
    return std::unique_lock<RecursiveTimedMutex>(constraints->getLock());
}

BeamSteerImpl::BeamSteerImpl(uint32_t algorithmNumber)
    : constraints(BeamConstraintsFactory::instance().createBeamConstraints(algorithmNumber)),
      algorithm(algorithmNumber), eqResponse(coverageMapFrequencies(3, true).size(), 1.0)
{
    if (constraints)
        constraints->addListener(this);
}

BeamSteerImpl::~BeamSteerImpl()
{
    if (constraints)
        constraints->removeListener(this);
}

std::shared_ptr<BeamConstraints> BeamSteerImpl::getConstraints()
{
    return constraints; // fixed at construction
}

std::vector<DriverRow> BeamSteerImpl::getDriverTable()
{
    ScopedLock lock(mutex);
    return drivers;
}

std::vector<std::shared_ptr<Transducer>> BeamSteerImpl::collectDrivers()
{
    ScopedLock lock(mutex);
    std::vector<std::shared_ptr<Transducer>> all;
    for (LoudspeakerImpl* module : modules)
    {
        if (module == nullptr)
            continue;
        const auto& transducers = module->getTransducers();
        all.insert(all.end(), transducers.begin(), transducers.end());
    }
    return all;
}

uint64_t BeamSteerImpl::getDriverCount()
{
    return collectDrivers().size();
}

uint64_t BeamSteerImpl::getModuleCount()
{
    ScopedLock lock(mutex);
    return modules.size();
}

uint32_t BeamSteerImpl::getAlgorithm()
{
    return algorithm;
}

double BeamSteerImpl::getBeamGain()
{
    ScopedLock lock(mutex);
    return beamGain;
}

void BeamSteerImpl::setBeamGain(double gainDb)
{
    SolveLock lock(*this);
    if (std::isnan(gainDb))
        return; // no level to clamp: the gain stays
    const double clamped = std::clamp(gainDb, kMinBeamGain, kMaxBeamGain);
    if (math::AlmostEqual(clamped, beamGain))
        return;
    beamGain = clamped;
    propChanged(BeamChanged);
}

double BeamSteerImpl::getArrayEQGain()
{
    ScopedLock lock(mutex);
    return eqGain;
}

double BeamSteerImpl::getArrayEQFrequency()
{
    ScopedLock lock(mutex);
    return eqFrequency;
}

double BeamSteerImpl::getArrayEQTilt()
{
    ScopedLock lock(mutex);
    return eqTilt;
}

void BeamSteerImpl::setModuleCount(uint32_t count)
{
    // Only the constraints' lock: their notification takes the beam's lock
    // through solve(), so holding the beam's here would invert the order.
    const auto lock = lockConstraints();
    if (constraints)
        constraints->setModuleCount(count);
}

void BeamSteerImpl::addModule(LoudspeakerImpl* module)
{
    if (module == nullptr)
        return;
    const auto lock = lockConstraints();
    size_t count = 0;
    {
        ScopedLock beamLock(mutex);
        modules.push_back(module);
        count = modules.size();
    }
    setModuleCount(static_cast<uint32_t>(count));
}

void BeamSteerImpl::clearModules()
{
    const auto lock = lockConstraints();
    {
        ScopedLock beamLock(mutex);
        modules.clear();
        // Rows of modules that left the array must not outlive them: a solve
        // without modules changes nothing, so the table would stay stale.
        drivers.clear();
    }
    setModuleCount(0);
}

void BeamSteerImpl::propChanged(uint32_t)
{
    solve();
}

Angle BeamSteerImpl::steeringAngle()
{
    return constraints ? constraints->getSteeringAngle() : Angle();
}

Angle BeamSteerImpl::spreadingAngle()
{
    return constraints ? constraints->getSpreadingAngle() : Angle();
}

bool BeamSteerImpl::shadingOn()
{
    return constraints && constraints->isShadingOn();
}

void BeamSteerImpl::rebuildDriverTable()
{
    drivers.assign(getDriverCount(), DriverRow());
    size_t next = 0;
    for (LoudspeakerImpl* module : modules)
    {
        if (module == nullptr)
            continue;
        const double moduleZ = module->getPosition().z;
        const int64_t key = module->getIndex();
        for (const auto& transducer : module->getTransducers())
        {
            if (!transducer)
                continue;
            DriverRow& row = drivers[next++];
            row.position = moduleZ + transducer->getPosition().z;
            row.transducerIndex = transducer->getIndex();
            row.moduleKey = key;
        }
    }
}

void BeamSteerImpl::computeSteeringDelays()
{
    if (modules.empty() || modules.back() == nullptr)
        return;
    const double inverseSpeed = Environment::instance().getInverseSpeedOfSound();
    const double zRef = modules.back()->getBoundingBox().min.z;
    acoustics::computeSteeringDelays(drivers, steeringAngle(), zRef, inverseSpeed);
}

Angle BeamSteerImpl::getEffectiveSpreadAngle()
{
    return effectiveSpreadAngle(spreadingAngle(), shadingOn(), static_cast<uint32_t>(modules.size()));
}

void BeamSteerImpl::applyEq(uint32_t key, const IEQRequestData& request)
{
    const auto& tables = modules.front()->getEQData();
    const auto found = tables.find(static_cast<int32_t>(key));
    EqCurveValues values; // all zero: EQ off
    if (found != tables.end() && found->second)
        values = found->second->lookup(request);
    eqFrequency = values.LowCutFreq;
    eqTilt = values.Tilt;
    eqGain = values.BoostOrCut;
    updateEqResponse();
}

void BeamSteerImpl::makeSpreadEqRequest()
{
    if (modules.empty() || modules.front() == nullptr)
        return;
    const EQRequestDataSpread request(shadingOn(), spreadingAngle().degrees(),
                                      static_cast<uint32_t>(modules.size()));
    applyEq(1, request);
}

void BeamSteerImpl::makeSpiralEqRequest(double incidentAngle, double openAngle)
{
    if (modules.empty() || modules.front() == nullptr || !constraints)
        return;
    const EQRequestDataSpiral request(static_cast<uint32_t>(modules.size()),
                                      incidentAngle * Angle::kDegreesPerRadian,
                                      openAngle * Angle::kDegreesPerRadian, constraints->getTopDistance());
    applyEq(3, request);
}

bool BeamSteerImpl::isArrayEQActive()
{
    ScopedLock lock(mutex);
    return !math::IsZero(eqGain) && eqFrequency > 0.0;
}

DoubleBuffer BeamSteerImpl::getArrayEQResponse()
{
    ScopedLock lock(mutex);
    return eqResponse;
}

bool BeamSteerImpl::updateEqResponse()
{
    ScopedLock lock(mutex);
    if (eqResponse.empty())
        return false;
    if (!isArrayEQActive())
    {
        for (double& value : eqResponse)
            value = 1.0;
        return false;
    }
    const std::vector<double>& centres = coverageMapFrequencies(bandResolution, false);
    if (centres.size() != eqResponse.count())
        return false;
    return computeShelfResponse(centres.data(), eqResponse.data(), eqResponse.count(), eqGain, eqFrequency,
                                eqTilt, true, kEqSampleRate);
}

} // namespace zorvpro::acoustics
