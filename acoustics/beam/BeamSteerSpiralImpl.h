#pragma once

#include "acoustics/beam/BeamSteerImpl.h"

namespace zorvpro::acoustics
{

// Asymmetric spiral: neighbouring drivers aimed at points between the top and
// bottom aim points; no shading, followed by the spiral EQ.
class BeamSteerSpiralImpl : public BeamSteerImpl
{
public:
    BeamSteerSpiralImpl() : BeamSteerImpl(3) {}
    ~BeamSteerSpiralImpl() override = default;

    void solve() override;

    math::Vec3 getTopAimPoint();
    math::Vec3 getBottomAimPoint();
    double getOpenAngle();
    double getIncidentAngle();

private:
    void computeAimGeometry();

    SpiralAim aim;
};

} // namespace zorvpro::acoustics
