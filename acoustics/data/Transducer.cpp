#include "acoustics/data/Transducer.h"

namespace zorvpro::acoustics
{

Transducer::Transducer(std::string name, uint32_t index, double levelFactor, uint32_t polarId,
                       uint32_t transformerId)
    : name(std::move(name)), index(index), levelFactor(levelFactor), polarId(polarId),
      transformerId(transformerId)
{
}

Transducer::Transducer(const Transducer& other)
    : Node(), Placement(), name(other.name), index(other.index), levelFactor(other.levelFactor),
      polarId(other.polarId), transformerId(other.transformerId), polar(other.polar)
{
    math::Vec3 position;
    Orientation orientation;
    {
        ScopedLock guard(other.placementLock);
        position = other.getPosition();
        orientation = other.getOrientation();
    }
    setOrientation(orientation);
    setPosition(position);
}

} // namespace zorvpro::acoustics
