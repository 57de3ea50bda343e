#include "acoustics/beam/BeamSteerFactory.h"

#include "acoustics/beam/BeamSteerAsymImpl.h"
#include "acoustics/beam/BeamSteerSpiralImpl.h"
#include "acoustics/beam/BeamSteerSymImpl.h"

namespace zorvpro::acoustics
{

BeamSteerFactory& BeamSteerFactory::instance()
{
    static BeamSteerFactory factory;
    return factory;
}

std::shared_ptr<BeamSteerImpl> BeamSteerFactory::createBeamSteer(uint32_t algorithm) const
{
    switch (algorithm)
    {
    case 1:
        return std::make_shared<BeamSteerSymImpl>();
    case 2:
        return std::make_shared<BeamSteerAsymImpl>();
    case 3:
        return std::make_shared<BeamSteerSpiralImpl>();
    default:
        return nullptr;
    }
}

} // namespace zorvpro::acoustics
