#pragma once

#include <cstdint>

namespace zorvpro::acoustics
{

// Array-EQ settings for one beam: shelf corner (Hz), tilt and gain (dB).
// All zero when a table has no row for the request, meaning "no EQ".
struct EqCurveValues
{
    double LowCutFreq = 0.0;
    double Tilt = 0.0;
    double BoostOrCut = 0.0;
};

// Base of the requests a beam solve sends to its algorithm's EQ table.
class IEQRequestData
{
public:
    virtual ~IEQRequestData() = default;
};

struct EQRequestDataSpread : IEQRequestData
{
    EQRequestDataSpread() = default;
    EQRequestDataSpread(bool shading, double spreadDegrees, uint32_t modules)
        : shadingOn(shading), spreadingAngle(spreadDegrees), moduleCount(modules)
    {
    }

    bool shadingOn = false;
    double spreadingAngle = 0.0; // degrees
    uint32_t moduleCount = 1;
};

struct EQRequestDataSpiral : IEQRequestData
{
    EQRequestDataSpiral() = default;
    EQRequestDataSpiral(uint32_t modules, double incidentDegrees, double openDegrees, double metres)
        : moduleCount(modules), incidentAngle(incidentDegrees), openAngle(openDegrees), distance(metres)
    {
    }

    uint32_t moduleCount = 1;
    double incidentAngle = 0.0; // degrees
    double openAngle = 0.0;     // degrees
    double distance = 0.0;      // metres
};

// An algorithm's EQ table. Filled once while the data set loads, then only
// read (lookup takes no lock). Owned through std::shared_ptr made by
// std::make_shared of the concrete type, so the destructor needs no vtable.
class IEQData
{
public:
    virtual EqCurveValues lookup(const IEQRequestData& request) const = 0;

protected:
    ~IEQData() = default;
};

} // namespace zorvpro::acoustics
