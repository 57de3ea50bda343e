#pragma once

#include "acoustics/beam/BeamConstraints.h"

namespace zorvpro::acoustics
{

// Extra operations of the spiral algorithm: the bottom point must lie in a
// region of the (x, height) plane derived from the top point. Guide points are
// (x, height, 0); guide point 0 is the origin.
class BeamConstraintsSpiral : public virtual BeamConstraints
{
public:
    virtual math::Vec3 getGuidePoint0() = 0;
    virtual math::Vec3 getGuidePoint1() = 0;
    virtual math::Vec3 getGuidePoint2() = 0;
    virtual math::Vec3 getGuidePoint3() = 0;
    virtual math::Vec3 getGuidePoint4() = 0;
    virtual math::Vec3 getGuidePoint5() = 0;
    virtual bool isBottomPointAllowed(Angle angle, double distance) = 0;
    virtual bool isInsideRegion(const math::Vec3& point) = 0;
    // Moves the point (angle, distance) to the nearest point of the region's outline.
    virtual void snapToRegion(Angle& angle, double& distance) = 0;
    virtual void computeGuidePoints(Angle topAngle, double topDistance, math::Vec3& guide5,
                                    math::Vec3& guide4, math::Vec3& guide1, math::Vec3& guide2,
                                    math::Vec3& guide3) = 0;
};

} // namespace zorvpro::acoustics
