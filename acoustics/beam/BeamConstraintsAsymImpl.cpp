#include "acoustics/beam/BeamConstraintsAsymImpl.h"

#include "acoustics/beam/SteeringLimits.h"

#include <cmath>

namespace zorvpro::acoustics
{

namespace
{
constexpr double kHalfPi = 1.5707963267948966;
}

BeamConstraintsAsymImpl::BeamConstraintsAsymImpl()
{
    shadingOn = true;
}

double BeamConstraintsAsymImpl::acousticCentre() const
{
    if (shadingOn)
    {
        switch (moduleCount)
        {
        case 1:
            return 0.3;
        case 2:
            return 0.85;
        case 3:
            return 1.35;
        default:
            break;
        }
    }
    return moduleHeight / 2.0;
}

bool BeamConstraintsAsymImpl::topAngleFor(double a, double d, double& top) const
{
    if (d == 0.0)
        return false;
    const double tangent = std::tan(a);
    const double q = tangent == 0.0 ? kHalfPi : std::fabs(std::atan(1.0 / tangent));
    const double sine = -(acousticCentre() / d) * std::sin(q);
    // A top point nearer than the acoustic centre (only reachable through
    // setPoints) cannot be aimed at.
    if (!(std::fabs(sine) <= 1.0))
        return false;
    top = std::asin(sine) - std::atan(-tangent);
    return true;
}

bool BeamConstraintsAsymImpl::steeringFor(double t, double d, double& steering) const
{
    const double run = std::cos(t) * d;
    if (d == 0.0 || run == 0.0)
        return false;
    const double c = std::atan((acousticCentre() + std::sin(t) * d) / run) - t;
    steering = t + c;
    return true;
}

void BeamConstraintsAsymImpl::applySteeringToPoints()
{
    Lock lock(mutex);
    double aimed = 0.0;
    if (!topAngleFor(steeringAngle.radians(), topDistance, aimed))
        return; // no top point to aim at (only reachable through setPoints)
    // Through the limiting setter: a top point outside its range is pulled in
    // and the steering then follows the limited point.
    Angle top(aimed);
    setTopAngle(top);
}

void BeamConstraintsAsymImpl::applyPointsToSteering()
{
    Lock lock(mutex);
    double steering = steeringAngle.radians();
    if (steeringFor(topAngle.radians(), topDistance, steering))
        steeringAngle = Angle(steering);
    spreadingAngle = Angle(0.0);
}

void BeamConstraintsAsymImpl::previewSteering(Angle top, double topDist, Angle, Angle& steering,
                                              Angle& spreading)
{
    Lock lock(mutex);
    double s = 0.0;
    if (steeringFor(top.radians(), topDist, s))
        steering = Angle(s);
    spreading = Angle(0.0);
}

Angle BeamConstraintsAsymImpl::getMaxTopAngle()
{
    Lock lock(mutex);
    // Out of reach, the steering limit itself bounds the top angle.
    double top = MaxSteeringAngle().radians();
    topAngleFor(top, topDistance, top);
    return Angle(top);
}

Angle BeamConstraintsAsymImpl::getMinTopAngle()
{
    Lock lock(mutex);
    double top = MinSteeringAngle().radians();
    topAngleFor(top, topDistance, top);
    return Angle(top);
}

Angle BeamConstraintsAsymImpl::getMaxBottomAngle()
{
    Lock lock(mutex);
    return topAngle;
}

Angle BeamConstraintsAsymImpl::getMinBottomAngle()
{
    Lock lock(mutex);
    return getMinTopAngle();
}

bool BeamConstraintsAsymImpl::setTopAngle(Angle& angle)
{
    Lock lock(mutex);
    ChangeScope scope(*this);
    const bool taken = BeamConstraintsImpl::setTopAngle(angle);
    if (bottomAngle > topAngle)
    {
        bottomAngle = topAngle;
        markChanged();
    }
    scope.finish();
    return taken;
}

} // namespace zorvpro::acoustics
