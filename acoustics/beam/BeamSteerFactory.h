#pragma once

#include "acoustics/beam/BeamSteerImpl.h"

#include <memory>

namespace zorvpro::acoustics
{

// Makes the solver of a beam algorithm: 1 symmetric spread, 2 asymmetric,
// 3 asymmetric spiral; any other number gives an empty pointer.
class BeamSteerFactory
{
public:
    static BeamSteerFactory& instance();

    std::shared_ptr<BeamSteerImpl> createBeamSteer(uint32_t algorithm) const;
};

} // namespace zorvpro::acoustics
