#pragma once

#include "core/math/Matrix4.h"
#include "core/math/Quaternion.h"
#include "core/math/Vector3.h"

#include <QObject>

namespace zorvpro::view
{

// Where a view looks from and which way. The dirty flag says that the view
// matrix may be stale; the owning view clears it.
class Camera : public QObject
{
    Q_OBJECT

public:
    explicit Camera(QObject* parent = nullptr);

    void UpdateViewMatrix();
    // Rebuilt first when the camera is dirty.
    const math::Mat4& ViewMatrix();

    void LookAt(const math::Vec3& eye, const math::Vec3& target, const math::Vec3& up);
    void LookAtFromDirection(const math::Vec3& direction, const math::Vec3& target, const math::Vec3& up,
                             double distance);

    math::Vec3 Forward() const;
    math::Vec3 Right() const;
    math::Vec3 Up() const;

    const math::Vec3& GetPosition() const { return m_position; }
    // Moves the camera and marks it dirty.
    void MoveBy(const math::Vec3& offset);
    const math::Quaternion& GetOrientation() const { return m_orientation; }

    bool IsDirty() const { return m_dirty; }
    void SetDirty(bool dirty) { m_dirty = dirty; }

private:
    bool m_dirty = false;
    math::Vec3 m_position{0, 0, 1};
    math::Quaternion m_orientation;
    math::Mat4 m_view;
};

} // namespace zorvpro::view
