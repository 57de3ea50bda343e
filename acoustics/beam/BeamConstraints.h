#pragma once

#include "acoustics/beam/Angle.h"
#include "core/math/Vector3.h"

#include <cstdint>

namespace zorvpro::acoustics
{

// The user-editable parameters of one beam, kept in two equivalent forms:
// steering/spreading angles and a top and a bottom aiming point (angle and
// distance in the array's vertical plane; x away from the array, z up, origin
// at the array's bottom). Setting one form recomputes the other. Values out of
// range are replaced by the nearest allowed one; such a setter returns false
// and writes the value it used back into an in/out argument.
class BeamConstraints
{
public:
    virtual ~BeamConstraints() = default;

    virtual Angle getMaxSpreadingAngle() = 0;
    virtual double getMinBottomDistance() = 0;
    virtual double getMinTopDistance() = 0;
    virtual Angle getMaxTopAngle() = 0;
    virtual Angle getMinTopAngle() = 0;
    virtual Angle getMaxBottomAngle() = 0;
    virtual Angle getMinBottomAngle() = 0;
    // Steering and spreading for the given points without storing anything.
    virtual void previewSteering(Angle topAngle, double topDistance, Angle bottomAngle, Angle& steering,
                                 Angle& spreading) = 0;
    virtual bool isSteeringAngleValid(Angle angle) = 0;
    virtual bool isSpreadingAngleValid(Angle angle) = 0;
    virtual uint32_t getModuleCount() = 0;
    virtual bool supportsSteering() = 0;
    virtual bool supportsSpreading() = 0;
    virtual bool supportsShading() = 0;
    virtual Angle getSteeringAngle() = 0;
    virtual Angle getSpreadingAngle() = 0;
    virtual bool isShadingOn() = 0;
    virtual Angle getTopAngle() = 0;
    virtual Angle getBottomAngle() = 0;
    virtual double getBottomDistance() = 0;
    virtual double getTopDistance() = 0;
    virtual math::Vec3 getTopPoint() = 0;
    virtual math::Vec3 getBottomPoint() = 0;
    virtual bool setModuleCount(uint32_t count) = 0;
    virtual void setShadingOn(bool on) = 0;
    virtual bool setSteeringAngle(Angle& angle, Angle& topAngle, Angle& bottomAngle) = 0;
    virtual bool setSteeringAngle(Angle& angle) = 0;
    virtual bool setSpreadingAngle(Angle& angle, Angle& topAngle, Angle& bottomAngle) = 0;
    virtual bool setSpreadingAngle(Angle& angle) = 0;
    virtual bool setTopPoint(Angle& angle, double& distance, Angle& steering, Angle& spreading) = 0;
    virtual bool setTopPoint(Angle& angle, double& distance) = 0;
    virtual bool setBottomPoint(Angle& angle, double& distance, Angle& steering, Angle& spreading) = 0;
    virtual bool setBottomPoint(Angle& angle, double& distance) = 0;
    virtual bool setTopAngle(Angle& angle, Angle& steering, Angle& spreading) = 0;
    virtual bool setTopAngle(Angle& angle) = 0;
    virtual bool setBottomAngle(Angle& angle, Angle& steering, Angle& spreading) = 0;
    virtual bool setBottomAngle(Angle& angle) = 0;
    virtual bool setTopDistance(double distance) = 0;
    virtual bool setBottomDistance(double distance) = 0;
    virtual double getArrayLength() = 0;
    // Steering and spreading from the stored points, without notification.
    virtual void recalculateSteering() = 0;
    // Stores all four values unchecked, then recomputes steering and publishes.
    virtual void setPoints(Angle topAngle, double topDistance, Angle bottomAngle, double bottomDistance) = 0;
    // Stores every value as an earlier reading of the getters gave them, unchecked and without
    // deriving either description from the other, so the beam returns to that state exactly (a
    // solve from the points alone may land a rounding away); publishes once.
    virtual void restoreValues(Angle steering, Angle spreading, Angle topAngle, double topDistance,
                               Angle bottomAngle, double bottomDistance, bool shading) = 0;
};

} // namespace zorvpro::acoustics
