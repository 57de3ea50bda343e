#pragma once

#include "acoustics/beam/BeamConstraintsImpl.h"

namespace zorvpro::acoustics
{

// Symmetric spread: the beam opens by the spreading angle around the steering
// direction; the top point is aimed from half a module above the array's
// bottom (the same for every module count).
class BeamConstraintsSymImpl : public virtual BeamConstraintsImpl, public virtual BeamConstraints
{
public:
    BeamConstraintsSymImpl() = default;

    void applySteeringToPoints() override;
    void applyPointsToSteering() override;

    Angle getMaxTopAngle() override;
    Angle getMinTopAngle() override;
    Angle getMaxBottomAngle() override;
    Angle getMinBottomAngle() override;
    void previewSteering(Angle topAngle, double topDistance, Angle bottomAngle, Angle& steering,
                         Angle& spreading) override;
    bool supportsSteering() override { return true; }
    bool supportsSpreading() override { return true; }
    bool supportsShading() override { return true; }

private:
    // Steering and spreading for the given points; false when the top point
    // gives no direction (zero distance or straight up/down).
    bool steeringFor(double t, double d, double b, double& steering, double& spreading) const;
    double halfModule() const { return moduleHeight / 2.0; }
};

} // namespace zorvpro::acoustics
