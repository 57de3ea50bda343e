#pragma once

#include "acoustics/model/RecursiveMutex.h"
#include "core/math/Matrix4.h"
#include "core/math/Vector3.h"

namespace zorvpro::acoustics
{

// Three angles in radians: roll about x, pitch about y, yaw about z.
struct Orientation
{
    double roll = 0.0;
    double pitch = 0.0;
    double yaw = 0.0;

    // True when roll and yaw lie in [-pi, pi] and pitch in [-pi/2, pi/2].
    // With apply, angles outside are clamped (and one that is not a number
    // becomes 0).
    bool Clamp(bool apply);
};

// Position, orientation and transform of a placed acoustic object.
class Placement
{
public:
    Placement() = default;
    Placement(const Placement&) = delete;
    Placement& operator=(const Placement&) = delete;
    virtual ~Placement() = default;

    math::Vec3 getPosition() const;
    Orientation getOrientation() const;
    math::Mat4 getTransform() const;
    math::Mat4 getInverseTransform() const;

    // Each returns true when nothing changed; otherwise what the change hook
    // says. A change rebuilds the transform (translation times rotation) and
    // stores it through setTransform.
    bool setPosition(const math::Vec3& position);
    bool setOrientation(const Orientation& orientation);

    // Stores the matrix and its inverse. A singular matrix has no inverse and
    // is not taken: both stay as they were.
    virtual void setTransform(const math::Mat4& transform);

protected:
    // Told of a coming change with the new position and orientation.
    virtual bool onPlacementChange(const math::Vec3& position, const Orientation& orientation);

    mutable RecursiveTimedMutex placementLock;

private:
    void applyTransform();

    math::Vec3 position;
    Orientation orientation;
    math::Mat4 transform;
    math::Mat4 inverseTransform;
};

} // namespace zorvpro::acoustics
