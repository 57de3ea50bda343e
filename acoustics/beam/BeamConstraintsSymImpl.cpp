#include "acoustics/beam/BeamConstraintsSymImpl.h"

#include "acoustics/beam/SteeringLimits.h"

#include <algorithm>
#include <cmath>

namespace zorvpro::acoustics
{

namespace
{
constexpr double kHalfPi = 1.5707963267948966;
}

bool BeamConstraintsSymImpl::steeringFor(double t, double d, double b, double& steering,
                                         double& spreading) const
{
    const double run = std::cos(t) * d;
    if (d == 0.0 || run == 0.0)
        return false;
    const double c = std::atan((halfModule() + std::sin(t) * d) / run) - t;
    steering = (b + (t + c)) / 2.0;
    spreading = t - b + c;
    return true;
}

void BeamConstraintsSymImpl::applySteeringToPoints()
{
    Lock lock(mutex);
    const double s = steeringAngle.radians();
    const double w = spreadingAngle.radians();
    const double d = topDistance;
    // A distance of zero or below half a module (only reachable through
    // setPoints) puts the top point out of reach; keep the stored angle
    // rather than storing NaN.
    if (d != 0.0)
    {
        const double tangent = std::tan(s + w / 2.0);
        const double a = tangent == 0.0 ? kHalfPi : std::fabs(std::atan(1.0 / tangent));
        const double sine = -(std::sin(a) * halfModule() / d);
        if (std::fabs(sine) <= 1.0)
            topAngle = Angle(std::asin(sine) - std::atan(-tangent));
    }
    bottomAngle = Angle(s - w / 2.0);
}

void BeamConstraintsSymImpl::applyPointsToSteering()
{
    Lock lock(mutex);
    double steering = 0.0;
    double spreading = 0.0;
    steeringFor(topAngle.radians(), topDistance, bottomAngle.radians(), steering, spreading);
    steeringAngle = Angle(steering);
    spreadingAngle = Angle(spreading);
}

void BeamConstraintsSymImpl::previewSteering(Angle top, double topDist, Angle bottom, Angle& steering,
                                             Angle& spreading)
{
    Lock lock(mutex);
    double s = 0.0;
    double w = 0.0;
    if (steeringFor(top.radians(), topDist, bottom.radians(), s, w))
    {
        steering = Angle(s);
        spreading = Angle(w);
    }
}

Angle BeamConstraintsSymImpl::getMaxTopAngle()
{
    Lock lock(mutex);
    const double maxSpread = getMaxSpreadingAngle().radians();
    return Angle(std::min(MaxSteeringAngle().radians() + maxSpread / 2.0, bottomAngle.radians() + maxSpread));
}

Angle BeamConstraintsSymImpl::getMinTopAngle()
{
    Lock lock(mutex);
    const double b = bottomAngle.radians();
    const double run = bottomDistance * std::cos(b);
    const double reach =
        run == 0.0 ? 0.0 : std::atan((bottomDistance * std::sin(b) - getArrayLength()) / run);
    return Angle(std::max(MinSteeringAngle().radians(), reach));
}

Angle BeamConstraintsSymImpl::getMaxBottomAngle()
{
    Lock lock(mutex);
    const double t = topAngle.radians();
    const double run = topDistance * std::cos(t);
    const double reach = run == 0.0 ? 0.0 : std::atan((getArrayLength() + topDistance * std::sin(t)) / run);
    return Angle(std::min(MaxSteeringAngle().radians(), reach));
}

Angle BeamConstraintsSymImpl::getMinBottomAngle()
{
    Lock lock(mutex);
    const double maxSpread = getMaxSpreadingAngle().radians();
    return Angle(std::max(MinSteeringAngle().radians() - maxSpread / 2.0, topAngle.radians() - maxSpread));
}

} // namespace zorvpro::acoustics
