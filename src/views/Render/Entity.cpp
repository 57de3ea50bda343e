#include "views/Render/Entity.h"

#include "views/Render/HitPoint.h"

#include <stdexcept>

namespace zorvpro::view
{

Entity::Entity(const std::string& name)
{
    setName(name);
}

Entity::~Entity()
{
    for (const GeometryPtr& geometry : m_geometries)
    {
        if (geometry)
            geometry->Release();
    }
}

HitPointPtr Entity::Pick(const math::Ray&, const EntityPtr&, double) const
{
    return {};
}

std::optional<math::BBox> Entity::BoundingBox() const
{
    return std::nullopt;
}

void Entity::SelectionChanged() {}

bool Entity::RebuildGeometry()
{
    return true;
}

void Entity::ReleaseGeometry()
{
    for (const GeometryPtr& geometry : m_geometries)
    {
        if (geometry)
            geometry->Release();
    }
}

void Entity::MarkDirty()
{
    // Emptied even when already dirty: a view that recorded the entity after
    // a failed rebuild must still see this newer change.
    m_shownIn.clear();
    if (m_dirty)
        return;
    m_dirty = true;
    emit dirtyChanged(true);
}

void Entity::setDirty(bool dirty)
{
    if (dirty == m_dirty)
        return;
    if (dirty)
    {
        MarkDirty();
        return;
    }
    if (!RebuildGeometry())
    {
        m_shownIn.clear();
        return;
    }
    m_dirty = false;
    emit dirtyChanged(false);
}

void Entity::setTransform(const math::Mat4& transform)
{
    if (transform == m_transform)
        return;
    MarkDirty();
    m_transform = transform;
    try
    {
        m_inverse = math::Inverse(m_transform);
        m_invertible = true;
    }
    catch (const std::domain_error&)
    {
        m_invertible = false;
    }
    emit transformChanged(m_transform);
}

bool Entity::SetFlag(bool& field, bool value)
{
    if (field == value)
        return false;
    field = value;
    MarkDirty();
    return true;
}

void Entity::setTransparent(bool transparent)
{
    if (SetFlag(m_transparent, transparent))
        emit transparentChanged(transparent);
}

void Entity::setVisible(bool visible)
{
    if (SetFlag(m_visible, visible))
        emit visibleChanged(visible);
}

void Entity::setLocked(bool locked)
{
    if (SetFlag(m_locked, locked))
        emit lockedChanged(locked);
}

void Entity::setSelected(bool selected)
{
    if (!SetFlag(m_selected, selected))
        return;
    emit selectedChanged(selected);
    SelectionChanged();
}

void Entity::setMuted(bool muted)
{
    if (SetFlag(m_muted, muted))
        emit mutedChanged(muted);
}

void Entity::setName(const std::string& name)
{
    if (name == m_name)
        return;
    m_name = name;
    emit nameChanged(m_name);
}

void Entity::AddGeometry(const GeometryPtr& geometry)
{
    if (geometry)
        m_geometries.push_back(geometry);
}

void Entity::ClearGeometries()
{
    ReleaseGeometry();
    m_geometries.clear();
}

} // namespace zorvpro::view
