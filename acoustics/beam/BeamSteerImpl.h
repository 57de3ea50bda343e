#pragma once

#include "acoustics/beam/BeamConstraintsImpl.h"
#include "acoustics/beam/BeamSteer.h"
#include "acoustics/beam/DriverTableSteps.h"
#include "acoustics/model/DoubleBuffer.h"
#include "acoustics/model/PropChange.h"
#include "acoustics/model/RecursiveMutex.h"

#include <memory>
#include <mutex>
#include <vector>

namespace zorvpro::acoustics
{

class IEQRequestData;
class LoudspeakerImpl;
class Transducer;

// Shared part of the three beam solvers: module list, driver table, beam
// gain and array EQ. Each algorithm supplies solve().
//
// Lock order on the whole beam chain is fixed: constraints, then beam, then
// cluster, then the engine's change collection. A constraint edit reaches
// solve() with the constraints' lock held; every operation here that reads
// or writes the constraints therefore takes the constraints' lock before the
// beam's (SolveLock). Constraint setters publish under their own lock and
// reach solve() from there, so they are called with the constraints' lock
// held and the beam's lock not held. Code 11 is published under both locks.
class BeamSteerImpl : public BeamSteer, public PropChange, public PropChangeListener
{
public:
    ~BeamSteerImpl() override;

    std::shared_ptr<BeamConstraints> getConstraints() override;
    std::vector<DriverRow> getDriverTable() override;
    uint64_t getDriverCount() override;
    uint64_t getModuleCount() override;
    uint32_t getAlgorithm() override;
    double getBeamGain() override;
    void setBeamGain(double gainDb) override;
    double getArrayEQGain() override;
    double getArrayEQFrequency() override;
    double getArrayEQTilt() override;
    void setModuleCount(uint32_t count) override;

    // Module list, in array order; the modules are owned by the cluster.
    void addModule(LoudspeakerImpl* module);
    // Also drops the driver table, whose rows belonged to the old modules.
    void clearModules();

    // Any change of the constraints re-solves the beam.
    void propChanged(uint32_t code) override;

    bool isArrayEQActive();
    // One value per third-octave band; 1.0 everywhere while the EQ is off.
    DoubleBuffer getArrayEQResponse();
    // Recomputes the response from the stored EQ gain, frequency and tilt;
    // false unless a shelf response was computed.
    bool updateEqResponse();

protected:
    explicit BeamSteerImpl(uint32_t algorithm);

    // Constraints' lock, then the beam's.
    class SolveLock
    {
    public:
        explicit SolveLock(BeamSteerImpl& beam);

    private:
        std::unique_lock<RecursiveTimedMutex> constraintsLock;
        std::unique_lock<RecursiveTimedMutex> beamLock;
    };

    // The constraints' lock alone (empty without constraints).
    std::unique_lock<RecursiveTimedMutex> lockConstraints();

    // The steps below run under SolveLock.
    void rebuildDriverTable();
    // Steering delays referred to the bottom of the last module.
    void computeSteeringDelays();
    Angle getEffectiveSpreadAngle();
    void publishSolved() { notify(BeamChanged); }
    void makeSpreadEqRequest();
    void makeSpiralEqRequest(double incidentAngle, double openAngle);

    Angle steeringAngle();
    Angle spreadingAngle();
    bool shadingOn();

    std::shared_ptr<BeamConstraintsImpl> constraints;
    DriverTable drivers;
    const uint32_t algorithm;
    std::vector<LoudspeakerImpl*> modules;

private:
    std::vector<std::shared_ptr<Transducer>> collectDrivers();
    // Stores the looked-up EQ; a data set without a usable table for the
    // algorithm means no EQ.
    void applyEq(uint32_t key, const IEQRequestData& request);

    double beamGain = 0.0;
    double eqGain = 0.0;
    double eqFrequency = 0.0;
    double eqTilt = 0.0;
    const int32_t bandResolution = 3;
    DoubleBuffer eqResponse;
    RecursiveTimedMutex mutex;
};

} // namespace zorvpro::acoustics
