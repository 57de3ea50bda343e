#include "views/Render/Camera.h"

#include "views/Render/CameraMath.h"

namespace zorvpro::view
{

Camera::Camera(QObject* parent) : QObject(parent)
{
    UpdateViewMatrix();
}

void Camera::UpdateViewMatrix()
{
    m_view = math::QuaternionToMatrix(Conjugate(m_orientation)) * math::Mat4::Translation(-m_position);
}

const math::Mat4& Camera::ViewMatrix()
{
    if (m_dirty)
        UpdateViewMatrix();
    return m_view;
}

void Camera::LookAt(const math::Vec3& eye, const math::Vec3& target, const math::Vec3& up)
{
    m_dirty = true;
    const math::Mat4 m = LookAtMatrix(eye, target, up);
    const double w = m(3, 3);
    m_position = w == 0.0 ? math::Vec3() : math::Vec3(m(0, 3), m(1, 3), m(2, 3)) / w;
    m_orientation = QuaternionFromMatrix(m);
    m_dirty = true;
    UpdateViewMatrix();
}

void Camera::LookAtFromDirection(const math::Vec3& direction, const math::Vec3& target, const math::Vec3& up,
                                 double distance)
{
    LookAt(target + math::Normalize(direction) * distance, target, up);
}

math::Vec3 Camera::Forward() const
{
    return Rotate(m_orientation, {0, 0, -1});
}

math::Vec3 Camera::Right() const
{
    return Rotate(m_orientation, {1, 0, 0});
}

math::Vec3 Camera::Up() const
{
    return Rotate(m_orientation, {0, 1, 0});
}

void Camera::MoveBy(const math::Vec3& offset)
{
    m_position += offset;
    m_dirty = true;
}

} // namespace zorvpro::view
