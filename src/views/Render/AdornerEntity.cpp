#include "views/Render/AdornerEntity.h"

#include "core/math/Compare.h"
#include "views/Render/Viewport.h"

#include <algorithm>

namespace zorvpro::view
{

AdornerEntity::AdornerEntity(const std::string& name, Viewport* viewport, EntityPtr adorned,
                             double offsetDistance)
    : Entity(name), m_viewport(viewport), m_adorned(std::move(adorned)), m_offsetDistance(offsetDistance)
{
    if (m_adorned)
    {
        // Rebuilding right here would touch GL objects outside a frame; a
        // dirty mark lets the next frame rebuild with the context current.
        connect(m_adorned.get(), &Entity::dirtyChanged, this, [this](bool) { MarkDirty(); });
    }
    if (m_viewport)
    {
        SetPixelsPerMeter(std::max(m_viewport->pixelsPerMeter(), 0.001));
        connect(m_viewport, &Viewport::pixelsPerMeterChanged, this, &AdornerEntity::SetPixelsPerMeter);
        SetVisibleBox(m_viewport->GetBoundingBox());
        connect(m_viewport, &Viewport::boundingBoxChanged, this, &AdornerEntity::SetVisibleBox);
    }
    MarkDirty();
}

void AdornerEntity::SetPixelsPerMeter(double pixelsPerMeter)
{
    if (math::AlmostEqual(pixelsPerMeter, m_pixelsPerMeter))
        return;
    m_pixelsPerMeter = std::max(pixelsPerMeter, 0.1);
    MarkDirty();
}

void AdornerEntity::SetVisibleBox(const math::BBox& box)
{
    if (math::IsEqual(box.min, m_visibleBox.min) && math::IsEqual(box.max, m_visibleBox.max))
        return;
    m_visibleBox = box;
    MarkDirty();
}

math::Vec3 AdornerEntity::OffsetVector() const
{
    if (m_viewport == nullptr)
        return {};
    return m_viewport->GetCamera().Forward() * -m_offsetDistance;
}

void AdornerEntity::FollowVisibility(bool visible)
{
    // setVisible marks the adorner dirty and emits visibleChanged on a change.
    setVisible(visible);
}

std::string AdornerName(const char* prefix, const EntityPtr& entity)
{
    return std::string(prefix) + "<" + (entity ? entity->getName() : std::string("nullptr")) + ">";
}

} // namespace zorvpro::view
