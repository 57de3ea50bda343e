#pragma once

#include <cstdint>

namespace zorvpro
{
namespace acoustics
{

// Told by the engine how a calculation proceeds. Called from the engine's worker threads
// (and from the caller's thread when results are reset) while the engine's result lock is held:
// an implementation must not wait for another thread that needs the engine's results.
class CalcListener
{
public:
    // A calculation opened its first step.
    virtual void calcStarted() = 0;
    // false: the last open step finished; true: open steps were abandoned.
    virtual void calcStateChanged(bool abandoned) = 0;
    // The results of the field-point set with this id are stored (IZorvAcoustics::getDataSet).
    virtual void dataSetReady(uint64_t id) = 0;
    virtual ~CalcListener() = default;
};

} // namespace acoustics
} // namespace zorvpro
