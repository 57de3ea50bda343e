#include "acoustics/beam/BeamConstraintsImpl.h"

#include "acoustics/beam/SteeringLimits.h"
#include "core/math/Compare.h"

#include <cmath>

namespace zorvpro::acoustics
{

BeamConstraintsImpl::ChangeScope::ChangeScope(BeamConstraintsImpl& o) : owner(o)
{
    ++owner.changeDepth;
}

BeamConstraintsImpl::ChangeScope::~ChangeScope()
{
    --owner.changeDepth;
}

void BeamConstraintsImpl::ChangeScope::finish()
{
    if (owner.changeDepth != 1)
        return;
    // A listener may edit this object again on the same thread; its change is
    // published by this loop rather than lost.
    while (owner.changePending)
    {
        owner.changePending = false;
        owner.notify(kChangeCode);
    }
}

bool BeamConstraintsImpl::refused(Angle& angle, Angle stored)
{
    if (!std::isnan(angle.radians()))
        return false;
    angle = stored;
    return true;
}

bool BeamConstraintsImpl::unchanged(double a, double b)
{
    return math::AlmostEqual(a, b, 25);
}

double BeamConstraintsImpl::minReachFor(Angle angle)
{
    const double c = std::cos(angle.radians());
    return c == 0.0 ? kMinPointReach : kMinPointReach / c;
}

bool BeamConstraintsImpl::clampAngle(Angle& angle, Angle minimum, Angle maximum)
{
    if (angle > maximum)
    {
        angle = maximum;
        return false;
    }
    if (angle < minimum)
    {
        angle = minimum;
        return false;
    }
    return true;
}

bool BeamConstraintsImpl::storeBeamAngle(Angle& angle, Angle& stored, bool supported, Angle minimum,
                                         Angle maximum)
{
    if (refused(angle, stored))
        return false;
    ChangeScope scope(*this);
    bool taken = true;
    if (!supported && !math::IsZero(angle.radians()))
    {
        angle = Angle(0.0);
        taken = false;
    }
    else
    {
        taken = clampAngle(angle, minimum, maximum);
    }
    if (!unchanged(angle.radians(), stored.radians()))
    {
        stored = angle;
        applySteeringToPoints();
        markChanged();
    }
    scope.finish();
    return taken;
}

bool BeamConstraintsImpl::storePointAngle(Angle& angle, Angle& stored, Angle minimum, Angle maximum)
{
    if (refused(angle, stored))
        return false;
    ChangeScope scope(*this);
    const bool taken = clampAngle(angle, minimum, maximum);
    if (!unchanged(angle.radians(), stored.radians()))
    {
        stored = angle;
        applyPointsToSteering();
        markChanged();
    }
    scope.finish();
    return taken;
}

bool BeamConstraintsImpl::storePointDistance(double distance, double& stored, double minimum)
{
    if (!std::isfinite(distance))
        return false;
    ChangeScope scope(*this);
    bool taken = true;
    if (distance < minimum)
    {
        distance = minimum;
        taken = false;
    }
    if (!unchanged(distance, stored))
    {
        stored = distance;
        applyPointsToSteering();
        markChanged();
    }
    scope.finish();
    return taken;
}

Angle BeamConstraintsImpl::getMaxSpreadingAngle()
{
    Lock lock(mutex);
    if (moduleCount == 2 || moduleCount == 3)
        return Angle(0.6981317007977318);
    return Angle(0.5235987755982988);
}

double BeamConstraintsImpl::getMinBottomDistance()
{
    Lock lock(mutex);
    return minReachFor(bottomAngle);
}

double BeamConstraintsImpl::getMinTopDistance()
{
    Lock lock(mutex);
    return minReachFor(topAngle);
}

bool BeamConstraintsImpl::isSteeringAngleValid(Angle angle)
{
    Lock lock(mutex);
    return angle >= MinSteeringAngle() && angle <= MaxSteeringAngle();
}

bool BeamConstraintsImpl::isSpreadingAngleValid(Angle angle)
{
    Lock lock(mutex);
    return angle >= MinSpreadingAngle() && angle <= getMaxSpreadingAngle();
}

uint32_t BeamConstraintsImpl::getModuleCount()
{
    Lock lock(mutex);
    return moduleCount;
}

Angle BeamConstraintsImpl::getSteeringAngle()
{
    Lock lock(mutex);
    return steeringAngle;
}

Angle BeamConstraintsImpl::getSpreadingAngle()
{
    Lock lock(mutex);
    return spreadingAngle;
}

bool BeamConstraintsImpl::isShadingOn()
{
    Lock lock(mutex);
    return shadingOn;
}

Angle BeamConstraintsImpl::getTopAngle()
{
    Lock lock(mutex);
    return topAngle;
}

Angle BeamConstraintsImpl::getBottomAngle()
{
    Lock lock(mutex);
    return bottomAngle;
}

double BeamConstraintsImpl::getBottomDistance()
{
    Lock lock(mutex);
    return bottomDistance;
}

double BeamConstraintsImpl::getTopDistance()
{
    Lock lock(mutex);
    return topDistance;
}

math::Vec3 BeamConstraintsImpl::getTopPoint()
{
    Lock lock(mutex);
    const double t = topAngle.radians();
    return {std::cos(t) * topDistance, 0.0, getArrayLength() + std::sin(t) * topDistance};
}

math::Vec3 BeamConstraintsImpl::getBottomPoint()
{
    Lock lock(mutex);
    const double b = bottomAngle.radians();
    return {std::cos(b) * bottomDistance, 0.0, std::sin(b) * bottomDistance};
}

bool BeamConstraintsImpl::setModuleCount(uint32_t count)
{
    Lock lock(mutex);
    ChangeScope scope(*this);
    bool taken = true;
    if (count == 0)
    {
        count = 1;
        taken = false;
    }
    else if (count > 3)
    {
        count = 3;
        taken = false;
    }
    if (count != moduleCount)
    {
        moduleCount = count;
        // Lowers the stored spread in place when it exceeds the new maximum.
        setSpreadingAngle(spreadingAngle);
        applySteeringToPoints();
        markChanged();
    }
    scope.finish();
    return taken;
}

void BeamConstraintsImpl::setShadingOn(bool on)
{
    Lock lock(mutex);
    ChangeScope scope(*this);
    if (on != shadingOn)
    {
        shadingOn = on;
        applyPointsToSteering();
        applySteeringToPoints();
        markChanged();
    }
    scope.finish();
}

bool BeamConstraintsImpl::setSteeringAngle(Angle& angle, Angle& top, Angle& bottom)
{
    Lock lock(mutex);
    const bool taken = setSteeringAngle(angle);
    top = getTopAngle();
    bottom = getBottomAngle();
    return taken;
}

bool BeamConstraintsImpl::setSteeringAngle(Angle& angle)
{
    Lock lock(mutex);
    return storeBeamAngle(angle, steeringAngle, supportsSteering(), MinSteeringAngle(), MaxSteeringAngle());
}

bool BeamConstraintsImpl::setSpreadingAngle(Angle& angle, Angle& top, Angle& bottom)
{
    Lock lock(mutex);
    const bool taken = setSpreadingAngle(angle);
    top = getTopAngle();
    bottom = getBottomAngle();
    return taken;
}

bool BeamConstraintsImpl::setSpreadingAngle(Angle& angle)
{
    Lock lock(mutex);
    return storeBeamAngle(angle, spreadingAngle, supportsSpreading(), MinSpreadingAngle(),
                          getMaxSpreadingAngle());
}

bool BeamConstraintsImpl::setTopPoint(Angle& angle, double& distance, Angle& steering, Angle& spreading)
{
    Lock lock(mutex);
    ChangeScope scope(*this);
    setTopDistance(distance);
    const bool taken = setTopAngle(angle, steering, spreading);
    scope.finish();
    return taken;
}

bool BeamConstraintsImpl::setTopPoint(Angle& angle, double& distance)
{
    Lock lock(mutex);
    ChangeScope scope(*this);
    setTopDistance(distance);
    const bool taken = setTopAngle(angle);
    scope.finish();
    return taken;
}

bool BeamConstraintsImpl::setBottomPoint(Angle& angle, double& distance, Angle& steering, Angle& spreading)
{
    Lock lock(mutex);
    ChangeScope scope(*this);
    setBottomDistance(distance);
    const bool taken = setBottomAngle(angle, steering, spreading);
    scope.finish();
    return taken;
}

bool BeamConstraintsImpl::setBottomPoint(Angle& angle, double& distance)
{
    Lock lock(mutex);
    ChangeScope scope(*this);
    setBottomDistance(distance);
    const bool taken = setBottomAngle(angle);
    scope.finish();
    return taken;
}

bool BeamConstraintsImpl::setTopAngle(Angle& angle, Angle& steering, Angle& spreading)
{
    Lock lock(mutex);
    const bool taken = setTopAngle(angle);
    steering = getSteeringAngle();
    spreading = getSpreadingAngle();
    return taken;
}

bool BeamConstraintsImpl::setTopAngle(Angle& angle)
{
    Lock lock(mutex);
    return storePointAngle(angle, topAngle, getMinTopAngle(), getMaxTopAngle());
}

bool BeamConstraintsImpl::setBottomAngle(Angle& angle, Angle& steering, Angle& spreading)
{
    Lock lock(mutex);
    const bool taken = setBottomAngle(angle);
    steering = getSteeringAngle();
    spreading = getSpreadingAngle();
    return taken;
}

bool BeamConstraintsImpl::setBottomAngle(Angle& angle)
{
    Lock lock(mutex);
    return storePointAngle(angle, bottomAngle, getMinBottomAngle(), getMaxBottomAngle());
}

bool BeamConstraintsImpl::setTopDistance(double distance)
{
    Lock lock(mutex);
    return storePointDistance(distance, topDistance, getMinTopDistance());
}

bool BeamConstraintsImpl::setBottomDistance(double distance)
{
    Lock lock(mutex);
    return storePointDistance(distance, bottomDistance, getMinBottomDistance());
}

double BeamConstraintsImpl::getArrayLength()
{
    Lock lock(mutex);
    return static_cast<int32_t>(moduleCount) * moduleHeight;
}

void BeamConstraintsImpl::recalculateSteering()
{
    Lock lock(mutex);
    applyPointsToSteering();
}

void BeamConstraintsImpl::setPoints(Angle top, double topDist, Angle bottom, double bottomDist)
{
    Lock lock(mutex);
    // Unchecked, but never a value without a place on the plane.
    if (!std::isfinite(top.radians()) || !std::isfinite(topDist) || !std::isfinite(bottom.radians()) ||
        !std::isfinite(bottomDist))
        return;
    ChangeScope scope(*this);
    topAngle = top;
    topDistance = topDist;
    bottomAngle = bottom;
    bottomDistance = bottomDist;
    applyPointsToSteering();
    markChanged();
    scope.finish();
}

void BeamConstraintsImpl::restoreValues(Angle steering, Angle spreading, Angle top, double topDist,
                                        Angle bottom, double bottomDist, bool shading)
{
    Lock lock(mutex);
    for (const double value :
         {steering.radians(), spreading.radians(), top.radians(), topDist, bottom.radians(), bottomDist})
        if (!std::isfinite(value))
            return;
    ChangeScope scope(*this);
    steeringAngle = steering;
    spreadingAngle = spreading;
    topAngle = top;
    topDistance = topDist;
    bottomAngle = bottom;
    bottomDistance = bottomDist;
    shadingOn = shading;
    markChanged();
    scope.finish();
}

} // namespace zorvpro::acoustics
