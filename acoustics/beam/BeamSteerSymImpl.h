#pragma once

#include "acoustics/beam/BeamSteerImpl.h"

namespace zorvpro::acoustics
{

// Symmetric spread: steering plus an arc that opens the beam by the spread,
// shaded from the centre, followed by the spread EQ.
class BeamSteerSymImpl : public BeamSteerImpl
{
public:
    BeamSteerSymImpl() : BeamSteerImpl(1) {}
    ~BeamSteerSymImpl() override = default;

    void solve() override;
};

} // namespace zorvpro::acoustics
