#include "views/Render/HitPoint.h"

#include <utility>

namespace zorvpro::view
{

HitPoint::HitPoint(EntityPtr entity_, GeometryPtr geometry_, const math::Ray& localRay, double distance_,
                   uint32_t part_)
    : entity(std::move(entity_)), geometry(std::move(geometry_)),
      localPoint(localRay.origin + localRay.direction * distance_), distance(distance_), part(part_)
{
    if (entity)
        worldPoint = math::TransformPoint(entity->getTransform(), localPoint);
}

} // namespace zorvpro::view
