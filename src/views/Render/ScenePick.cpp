#include "views/Render/ScenePick.h"

#include "views/Render/AdornerEntity.h"
#include "views/Render/HitPoint.h"
#include "views/Render/Viewport.h"

namespace zorvpro::view
{

namespace
{
bool IsAdorner(const EntityPtr& entity)
{
    return dynamic_cast<const AdornerEntity*>(entity.get()) != nullptr;
}
} // namespace

HitPointPtr PickAt(const std::list<EntityPtr>& entities, Viewport& viewport, int x, int y)
{
    const math::Ray ray = viewport.ScreenToRay(x, y);
    const double ppm = viewport.pixelsPerMeter();
    HitPointPtr nearest;
    bool nearestVisible = false;
    auto consider = [&](const HitPointPtr& hit)
    {
        const bool visible = hit->entity && hit->entity->isVisible();
        if (!nearest || (visible && !nearestVisible) ||
            (visible == nearestVisible && hit->distance < nearest->distance))
        {
            nearest = hit;
            nearestVisible = visible;
        }
    };
    // Handles first, the last drawn first; an adorner's body hit (its entity) competes by distance.
    for (auto it = entities.rbegin(); it != entities.rend(); ++it)
    {
        const EntityPtr& entity = *it;
        if (!entity || !entity->isVisible() || !IsAdorner(entity))
            continue;
        if (HitPointPtr hit = entity->Pick(ray, entity, ppm))
        {
            if (hit->entity == entity)
                return hit;
            consider(hit);
        }
    }
    for (const EntityPtr& entity : entities)
    {
        if (!entity || IsAdorner(entity))
            continue;
        if (HitPointPtr hit = entity->Pick(ray, entity, ppm))
            consider(hit);
    }
    return nearest;
}

} // namespace zorvpro::view
