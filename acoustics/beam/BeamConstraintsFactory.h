#pragma once

#include "acoustics/beam/BeamConstraintsImpl.h"

#include <memory>

namespace zorvpro::acoustics
{

// Makes the constraints of a beam algorithm: 1 symmetric spread, 2 asymmetric,
// 3 asymmetric spiral; any other number gives an empty pointer.
class BeamConstraintsFactory
{
public:
    static BeamConstraintsFactory& instance();

    std::shared_ptr<BeamConstraintsImpl> createBeamConstraints(uint32_t algorithm) const;
};

} // namespace zorvpro::acoustics
