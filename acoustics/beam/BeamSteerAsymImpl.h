#pragma once

#include "acoustics/beam/BeamSteerImpl.h"

namespace zorvpro::acoustics
{

// Asymmetric steering: steering delays only, shaded from the first driver;
// no array EQ.
class BeamSteerAsymImpl : public BeamSteerImpl
{
public:
    BeamSteerAsymImpl() : BeamSteerImpl(2) {}
    ~BeamSteerAsymImpl() override = default;

    void solve() override;
};

} // namespace zorvpro::acoustics
