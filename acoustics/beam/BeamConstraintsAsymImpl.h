#pragma once

#include "acoustics/beam/BeamConstraintsImpl.h"

namespace zorvpro::acoustics
{

// Asymmetric steering: only a steering angle (no spread); the top point is
// aimed from the array's acoustic centre, whose height depends on shading and
// module count. The bottom point never lies above the top point.
class BeamConstraintsAsymImpl : public virtual BeamConstraintsImpl, public virtual BeamConstraints
{
public:
    BeamConstraintsAsymImpl();

    void applySteeringToPoints() override;
    void applyPointsToSteering() override;

    Angle getMaxTopAngle() override;
    Angle getMinTopAngle() override;
    Angle getMaxBottomAngle() override;
    Angle getMinBottomAngle() override;
    void previewSteering(Angle topAngle, double topDistance, Angle bottomAngle, Angle& steering,
                         Angle& spreading) override;
    bool supportsSteering() override { return true; }
    bool supportsSpreading() override { return false; }
    bool supportsShading() override { return true; }

    using BeamConstraintsImpl::setTopAngle;
    bool setTopAngle(Angle& angle) override;

private:
    double acousticCentre() const;
    // Top angle that a steering angle a asks for at distance d; false (top
    // untouched) when no top point at that distance can be aimed at.
    bool topAngleFor(double a, double d, double& top) const;
    bool steeringFor(double t, double d, double& steering) const;
};

} // namespace zorvpro::acoustics
