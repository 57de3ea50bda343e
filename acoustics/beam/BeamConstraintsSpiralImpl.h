#pragma once

#include "acoustics/beam/BeamConstraintsImpl.h"
#include "acoustics/beam/BeamConstraintsSpiral.h"

#include <array>

namespace zorvpro::acoustics
{

// Asymmetric spiral: no steering, spreading or shading. The top point is free
// within its limits; the bottom point is kept inside the guide region (the
// polygon of guide points 5, 4, 1, 2, 3) and snapped onto its outline when a
// setter would leave it.
class BeamConstraintsSpiralImpl : public BeamConstraintsSpiral, public virtual BeamConstraintsImpl
{
public:
    BeamConstraintsSpiralImpl() = default;

    void applyPointsToSteering() override;

    Angle getMaxTopAngle() override;
    Angle getMinTopAngle() override;
    Angle getMaxBottomAngle() override;
    Angle getMinBottomAngle() override;
    void previewSteering(Angle, double, Angle, Angle&, Angle&) override {}
    bool supportsSteering() override { return false; }
    bool supportsSpreading() override { return false; }
    bool supportsShading() override { return false; }

    bool setModuleCount(uint32_t count) override;
    // The region follows the restored top point; the bottom point stays where it was stored.
    void restoreValues(Angle steering, Angle spreading, Angle topAngle, double topDistance, Angle bottomAngle,
                       double bottomDistance, bool shading) override;
    using BeamConstraintsImpl::setBottomAngle;
    bool setBottomAngle(Angle& angle) override;
    bool setBottomDistance(double distance) override;
    bool setBottomPoint(Angle& angle, double& distance, Angle& steering, Angle& spreading) override;
    bool setBottomPoint(Angle& angle, double& distance) override;

    math::Vec3 getGuidePoint0() override;
    math::Vec3 getGuidePoint1() override;
    math::Vec3 getGuidePoint2() override;
    math::Vec3 getGuidePoint3() override;
    math::Vec3 getGuidePoint4() override;
    math::Vec3 getGuidePoint5() override;
    bool isBottomPointAllowed(Angle angle, double distance) override;
    bool isInsideRegion(const math::Vec3& point) override;
    void snapToRegion(Angle& angle, double& distance) override;
    void computeGuidePoints(Angle topAngle, double topDistance, math::Vec3& guide5, math::Vec3& guide4,
                            math::Vec3& guide1, math::Vec3& guide2, math::Vec3& guide3) override;

private:
    math::Vec3 guidePoint(size_t index);
    // Snaps (angle, distance) when outside the region; true when it did.
    bool snapIfOutside(Angle& angle, double& distance);

    std::array<math::Vec3, 6> guides{};
};

} // namespace zorvpro::acoustics
