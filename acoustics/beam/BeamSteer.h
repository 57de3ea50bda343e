#pragma once

#include "acoustics/beam/BeamConstraints.h"
#include "acoustics/beam/DriverRow.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace zorvpro::acoustics
{

// The solver of one beam of a steerable array: owns the beam's constraints
// and turns them into a per-driver table of delays and weights.
class BeamSteer
{
public:
    virtual ~BeamSteer() = default;

    virtual int32_t getMinModuleCount() const { return 1; }
    virtual int32_t getMaxModuleCount() const { return 3; }
    virtual std::shared_ptr<BeamConstraints> getConstraints() = 0;
    virtual std::vector<DriverRow> getDriverTable() = 0;
    virtual uint64_t getDriverCount() = 0;
    virtual uint64_t getModuleCount() = 0;
    virtual uint32_t getAlgorithm() = 0;
    virtual void solve() = 0;
    virtual double getBeamGain() = 0;
    // Clamped to [-10, 10] dB; an effective change re-solves the beam.
    virtual void setBeamGain(double gainDb) = 0;
    virtual double getMinBeamGain() const { return -10.0; }
    virtual double getMaxBeamGain() const { return 10.0; }
    virtual double getArrayEQGain() = 0;
    virtual double getArrayEQFrequency() = 0;
    virtual double getArrayEQTilt() = 0;
    virtual void setModuleCount(uint32_t count) = 0;
};

} // namespace zorvpro::acoustics
