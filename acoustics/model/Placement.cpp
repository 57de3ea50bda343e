#include "acoustics/model/Placement.h"

#include "core/math/Compare.h"
#include "core/math/Quaternion.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace zorvpro::acoustics
{

namespace
{

constexpr double Pi = 3.141592653589793;

bool clampAngle(double& angle, double limit, bool apply)
{
    const bool inside = angle >= -limit && angle <= limit;
    if (apply && !inside)
        angle = std::isnan(angle) ? 0.0 : std::clamp(angle, -limit, limit);
    return inside;
}

math::Vec3 asVector(const Orientation& o)
{
    return math::Vec3(o.roll, o.pitch, o.yaw);
}

} // namespace

bool Orientation::Clamp(bool apply)
{
    const bool rollInside = clampAngle(roll, Pi, apply);
    const bool pitchInside = clampAngle(pitch, Pi / 2.0, apply);
    const bool yawInside = clampAngle(yaw, Pi, apply);
    return rollInside && pitchInside && yawInside;
}

math::Vec3 Placement::getPosition() const
{
    ScopedLock guard(placementLock);
    return position;
}

Orientation Placement::getOrientation() const
{
    ScopedLock guard(placementLock);
    return orientation;
}

math::Mat4 Placement::getTransform() const
{
    ScopedLock guard(placementLock);
    return transform;
}

math::Mat4 Placement::getInverseTransform() const
{
    ScopedLock guard(placementLock);
    return inverseTransform;
}

bool Placement::onPlacementChange(const math::Vec3&, const Orientation&)
{
    return true;
}

bool Placement::setPosition(const math::Vec3& newPosition)
{
    ScopedLock guard(placementLock);
    if (math::IsEqual(newPosition, position))
        return true;
    const bool result = onPlacementChange(newPosition, orientation);
    position = newPosition;
    applyTransform();
    return result;
}

bool Placement::setOrientation(const Orientation& newOrientation)
{
    ScopedLock guard(placementLock);
    if (math::IsEqual(asVector(newOrientation), asVector(orientation)))
        return true;
    const bool result = onPlacementChange(position, newOrientation);
    orientation = newOrientation;
    applyTransform();
    return result;
}

void Placement::applyTransform()
{
    const auto rotation = math::QuaternionToMatrix(
        math::QuaternionFromEuler(orientation.roll, orientation.pitch, orientation.yaw));
    setTransform(math::Mat4::Translation(position) * rotation);
}

void Placement::setTransform(const math::Mat4& newTransform)
{
    ScopedLock guard(placementLock);
    try
    {
        inverseTransform = math::Inverse(newTransform);
        transform = newTransform;
    }
    catch (const std::domain_error&)
    {
        // Keep the last invertible transform: callers map points both ways.
    }
}

} // namespace zorvpro::acoustics
