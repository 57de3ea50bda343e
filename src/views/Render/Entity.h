#pragma once

#include "core/Nodes/HasUniqueId.h"
#include "core/math/BBox.h"
#include "core/math/Matrix4.h"
#include "core/math/Ray.h"
#include "views/Render/Geometry.h"
#include "views/Render/RenderMetaTypes.h"

#include <QObject>
#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace zorvpro::view
{

class Entity;
class HitPoint;
using EntityPtr = std::shared_ptr<Entity>;
using HitPointPtr = std::shared_ptr<HitPoint>;

// An object drawn by the venue views. It owns its drawables, carries the
// editable state as Qt properties and records which views have drawn it
// since it last changed, so each view repaints only when needed. One entity
// may sit in several views at once. GUI thread only.
class Entity : public QObject, public HasUniqueId
{
    Q_OBJECT
    Q_PROPERTY(bool dirty READ isDirty WRITE setDirty NOTIFY dirtyChanged)
    Q_PROPERTY(zorvpro::math::Mat4 transform READ getTransform WRITE setTransform NOTIFY transformChanged)
    Q_PROPERTY(bool transparent READ isTransparent WRITE setTransparent NOTIFY transparentChanged)
    Q_PROPERTY(bool visible READ isVisible WRITE setVisible NOTIFY visibleChanged)
    Q_PROPERTY(bool locked READ isLocked WRITE setLocked NOTIFY lockedChanged)
    Q_PROPERTY(bool selected READ isSelected WRITE setSelected NOTIFY selectedChanged)
    Q_PROPERTY(bool muted READ isMuted WRITE setMuted NOTIFY mutedChanged)
    Q_PROPERTY(std::string name READ getName WRITE setName NOTIFY nameChanged)

public:
    explicit Entity(const std::string& name);
    ~Entity() override;

    // The hit of a ray (world coordinates) on this entity, or empty. `self`
    // is this entity's own shared pointer, stored in the hit.
    virtual HitPointPtr Pick(const math::Ray& ray, const EntityPtr& self, double pixelsPerMeter) const;
    // The world box of the entity; empty when it has no extent to report.
    virtual std::optional<math::BBox> BoundingBox() const;
    // Called after `selected` changed.
    virtual void SelectionChanged();
    // Replaces the drawables; false keeps the entity dirty.
    virtual bool RebuildGeometry();
    virtual void ReleaseGeometry();

    bool isDirty() const { return m_dirty; }
    math::Mat4 getTransform() const { return m_transform; }
    bool isTransparent() const { return m_transparent; }
    bool isVisible() const { return m_visible; }
    bool isLocked() const { return m_locked; }
    bool isSelected() const { return m_selected; }
    bool isMuted() const { return m_muted; }
    std::string getName() const { return m_name; }

    // Clearing rebuilds the geometry first and stays dirty when that fails.
    void setDirty(bool dirty);
    void setTransform(const math::Mat4& transform);
    void setTransparent(bool transparent);
    void setVisible(bool visible);
    void setLocked(bool locked);
    void setSelected(bool selected);
    void setMuted(bool muted);
    // Renaming does not change what is drawn, so it does not make the entity dirty.
    void setName(const std::string& name);

    // Redraw bookkeeping of the views, by view id.
    bool NeedsDrawIn(uint64_t viewId) const { return m_shownIn.count(viewId) == 0; }
    void MarkShownIn(uint64_t viewId) { m_shownIn.insert(viewId); }
    void ClearShownIn() { m_shownIn.clear(); }

    const std::vector<GeometryPtr>& GetGeometries() const { return m_geometries; }
    // The inverse of the transform, kept for picking; null while the
    // transform is singular.
    const math::Mat4* GetInverseTransform() const { return m_invertible ? &m_inverse : nullptr; }

signals:
    void nameChanged(const std::string& name);
    void dirtyChanged(bool dirty);
    void transformChanged(const zorvpro::math::Mat4& transform);
    void transparentChanged(bool transparent);
    void visibleChanged(bool visible);
    void lockedChanged(bool locked);
    void selectedChanged(bool selected);
    void mutedChanged(bool muted);

protected:
    // Every change of what is drawn goes through here: the entity counts as
    // not shown in any view, and becomes dirty with one signal.
    void MarkDirty();
    void AddGeometry(const GeometryPtr& geometry);
    // Releases and drops every drawable.
    void ClearGeometries();

private:
    bool SetFlag(bool& field, bool value);

    std::string m_name = "<Unnamed Entity>";
    std::vector<GeometryPtr> m_geometries;
    std::set<uint64_t> m_shownIn;
    bool m_dirty = true;
    math::Mat4 m_transform;
    math::Mat4 m_inverse;
    bool m_invertible = true;
    bool m_transparent = true;
    bool m_visible = true;
    bool m_locked = false;
    bool m_selected = false;
    bool m_muted = false;
};

} // namespace zorvpro::view
