#include "data/Settings/HeldPlace.h"

namespace zorvpro
{
namespace
{
bool Normal(Qt::WindowStates states)
{
    return (states & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized)) == 0;
}
} // namespace

HeldPlace::HeldPlace(const QRect& geometry, Qt::WindowStates states)
{
    if (Normal(states))
        held_ = geometry;
}

void HeldPlace::Settle(qint64 ms)
{
    if (candidate_ && ms - candidate_->since >= kHoldMs)
        held_ = candidate_->geometry;
}

void HeldPlace::Moved(const QRect& geometry, Qt::WindowStates states, bool spontaneous, qint64 ms)
{
    // Where the manager puts a zoomed window is never its normal place.
    if (!Normal(states))
        return;
    if (!spontaneous)
    {
        // The program's own move is no step of a manager's zoom.
        held_ = geometry;
        candidate_.reset();
        return;
    }
    if (candidate_ && candidate_->geometry == geometry)
        return;
    Settle(ms);
    candidate_ = Candidate{geometry, ms};
}

void HeldPlace::StateChanged(Qt::WindowStates before, Qt::WindowStates now, const QRect& geometry,
                             bool spontaneous, qint64 ms)
{
    if (Normal(before) == Normal(now))
        return;
    if (Normal(now))
    {
        // Given back by the manager, the window may still be on its way to its place.
        candidate_ = Candidate{geometry, ms};
        return;
    }
    if (!spontaneous)
        held_ = geometry; // the program zooms the window where it is
    else
        Settle(ms); // a place that came just before is a step of the manager's zoom
    candidate_.reset();
}
} // namespace zorvpro
