#include "acoustics/beam/BeamConstraintsFactory.h"

#include "acoustics/beam/BeamConstraintsAsymImpl.h"
#include "acoustics/beam/BeamConstraintsSpiralImpl.h"
#include "acoustics/beam/BeamConstraintsSymImpl.h"

namespace zorvpro::acoustics
{

BeamConstraintsFactory& BeamConstraintsFactory::instance()
{
    static BeamConstraintsFactory factory;
    return factory;
}

std::shared_ptr<BeamConstraintsImpl> BeamConstraintsFactory::createBeamConstraints(uint32_t algorithm) const
{
    std::shared_ptr<BeamConstraintsImpl> constraints;
    switch (algorithm)
    {
    case 1:
        constraints = std::make_shared<BeamConstraintsSymImpl>();
        break;
    case 2:
        constraints = std::make_shared<BeamConstraintsAsymImpl>();
        break;
    case 3:
        constraints = std::make_shared<BeamConstraintsSpiralImpl>();
        break;
    default:
        return nullptr;
    }
    // Steering and spreading start out matching the default points.
    constraints->recalculateSteering();
    return constraints;
}

} // namespace zorvpro::acoustics
