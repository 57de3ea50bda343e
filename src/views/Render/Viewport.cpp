#include "views/Render/Viewport.h"

#include "core/Logger/OmbraxLogger.h"
#include "views/Render/CameraMath.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <stdexcept>

namespace zorvpro::view
{
namespace
{
// Rays start this far behind the view plane so they begin behind the venue.
constexpr double kRayBackOff = 5000.0;
constexpr double kVisibleDepth = 20000.0;
constexpr double kNearPlane = 0.001;
constexpr double kFarPlane = 10000.0;
constexpr double kMinimumZoom = 0.001;

// Truncated toward zero and held inside the int range (a far point at a
// close zoom would otherwise overflow); NaN gives 0.
int ToPixel(double value)
{
    if (std::isnan(value))
        return 0;
    return static_cast<int>(std::clamp(value, double(INT_MIN), double(INT_MAX)));
}
} // namespace

Viewport::Viewport(QObject* parent) : QObject(parent)
{
    UpdateProjection();
    UpdateBoundingBox();
}

void Viewport::Resize(int width, int height)
{
    m_width = width;
    m_height = height;
    UpdateProjection();
    if (HasAnchor())
        ApplyAnchor();
}

void Viewport::setPixelsPerMeter(double pixelsPerMeter)
{
    // A non-finite zoom would make every later mapping NaN or singular.
    if (pixelsPerMeter == 0.0 || !std::isfinite(pixelsPerMeter))
        return;
    ClearAnchor();
    m_pixelsPerMeter = std::max(pixelsPerMeter, kMinimumZoom);
    UpdateProjection();
    emit pixelsPerMeterChanged(m_pixelsPerMeter);
}

void Viewport::UpdateProjection()
{
    const double w = m_width / m_pixelsPerMeter;
    const double h = m_height / m_pixelsPerMeter;
    m_projection = Ortho(-w / 2, w / 2, -h / 2, h / 2, kNearPlane, kFarPlane);
    RebuildScreenToWorld();
    UpdateBoundingBox();
    m_dirty = true;
    m_camera.SetDirty(true);
}

void Viewport::RebuildScreenToWorld()
{
    math::Mat4 scale;
    scale(0, 0) = 1.0 / m_pixelsPerMeter;
    scale(1, 1) = -1.0 / m_pixelsPerMeter;
    scale(2, 2) = 1.0 / m_pixelsPerMeter;
    try
    {
        m_screenToWorld = math::Mat4::Translation(m_camera.Forward() * -kRayBackOff) *
                          math::Inverse(m_camera.ViewMatrix()) * scale *
                          math::Mat4::Translation({-m_width / 2.0, -m_height / 2.0, 0.0});
    }
    catch (const std::domain_error& e)
    {
        // The camera always holds a rotation, so this means corrupt state:
        // keep the last good mapping.
        OmbraxLogger::LogException(e, __FILE__, __func__, __LINE__);
    }
}

const math::Mat4& Viewport::ScreenToWorldMatrix()
{
    RebuildScreenToWorld();
    return m_screenToWorld;
}

math::Ray Viewport::ScreenToRay(int x, int y)
{
    RebuildScreenToWorld();
    return math::Ray(math::TransformPoint(m_screenToWorld, {double(x), double(y), 0.0}), m_camera.Forward());
}

QPoint Viewport::WorldToScreen(const math::Vec3& point)
{
    RebuildScreenToWorld();
    try
    {
        const math::Vec3 q = math::TransformPoint(math::Inverse(m_screenToWorld), point);
        return QPoint(ToPixel(q.x), ToPixel(q.y));
    }
    catch (const std::domain_error& e)
    {
        OmbraxLogger::LogException(e, __FILE__, __func__, __LINE__);
        return {};
    }
}

void Viewport::UpdateBoundingBox()
{
    math::BBox box;
    box.min = {HUGE_VAL, HUGE_VAL, HUGE_VAL};
    box.max = {-HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
    const int corners[4][2] = {{0, 0}, {m_width, 0}, {0, m_height}, {m_width, m_height}};
    for (const auto& corner : corners)
    {
        const math::Ray ray = ScreenToRay(corner[0], corner[1]);
        for (const math::Vec3& p : {ray.origin, ray.origin + ray.direction * kVisibleDepth})
        {
            for (int k = 0; k < 3; ++k)
            {
                box.min[k] = std::min(box.min[k], p[k]);
                box.max[k] = std::max(box.max[k], p[k]);
            }
        }
    }
    m_visibleBox = box;
    emit boundingBoxChanged(m_visibleBox);
}

void Viewport::Pan(const math::Vec3& offset)
{
    ClearAnchor();
    if (offset == math::Vec3())
        return;
    m_camera.MoveBy(offset);
    UpdateBoundingBox();
}

void Viewport::PanByFraction(double fx, double fy)
{
    ClearAnchor();
    m_camera.ViewMatrix();
    if (m_dirty || m_camera.IsDirty())
        UpdateProjection();
    const math::Vec3 o1 = ScreenToRay(m_width, 0).origin;
    const math::Vec3 o2 = ScreenToRay(0, m_height).origin;
    const math::Vec3 half = (o1 - o2) / 2.0;
    const double horizontal = std::sqrt(half.x * half.x + half.y * half.y);
    m_camera.MoveBy(m_camera.Right() * (fx * horizontal) + m_camera.Up() * (fy * half.z));
}

void Viewport::SetViewAnchor(const math::Vec3& point, const math::Vec3& fraction)
{
    m_anchorPoint = point;
    m_anchorFraction = fraction;
    if (m_width > 1)
    {
        // The visible box must be that of the camera as it is now (it may have just been turned).
        UpdateProjection();
        ApplyAnchor();
    }
}

void Viewport::ApplyAnchor()
{
    const math::Vec3 c = m_camera.GetPosition();
    const math::Vec3 s = m_camera.Up() + m_camera.Right();
    math::Vec3 move;
    for (int k = 0; k < 3; ++k)
    {
        const double d = (0.5 - m_anchorFraction[k]) * (m_visibleBox.max[k] - m_visibleBox.min[k]) +
                         m_anchorPoint[k] - c[k];
        move[k] = s[k] * d;
    }
    if (move.x == 0.0 && move.y == 0.0 && move.z == 0.0)
        return;
    m_camera.MoveBy(move);
    UpdateBoundingBox();
}

} // namespace zorvpro::view
