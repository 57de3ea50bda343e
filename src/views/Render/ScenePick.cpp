#include "views/Render/ScenePick.h"

#include "views/Render/AdornerEntity.h"
#include "views/Render/HitPoint.h"
#include "views/Render/Viewport.h"

namespace zorvpro::view
{

HitPointPtr PickAt(const std::list<EntityPtr>& entities, Viewport& viewport, int x, int y)
{
    const math::Ray ray = viewport.ScreenToRay(x, y);
    const double ppm = viewport.pixelsPerMeter();
    for (auto it = entities.rbegin(); it != entities.rend(); ++it)
    {
        const EntityPtr& entity = *it;
        if (!entity || !entity->isVisible() || dynamic_cast<const AdornerEntity*>(entity.get()) == nullptr)
            continue;
        if (HitPointPtr hit = entity->Pick(ray, entity, ppm))
            return hit;
    }
    HitPointPtr nearest;
    bool nearestVisible = false;
    for (const EntityPtr& entity : entities)
    {
        if (!entity || dynamic_cast<const AdornerEntity*>(entity.get()) != nullptr)
            continue;
        HitPointPtr hit = entity->Pick(ray, entity, ppm);
        if (!hit)
            continue;
        const bool visible = entity->isVisible();
        if (!nearest || (visible && !nearestVisible) ||
            (visible == nearestVisible && hit->distance < nearest->distance))
        {
            nearest = hit;
            nearestVisible = visible;
        }
    }
    return nearest;
}

} // namespace zorvpro::view
