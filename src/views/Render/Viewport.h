#pragma once

#include "core/math/BBox.h"
#include "core/math/Matrix4.h"
#include "core/math/Ray.h"
#include "core/math/Vector3.h"
#include "views/Render/Camera.h"
#include "views/Render/RenderMetaTypes.h"

#include <QObject>
#include <QPoint>

namespace zorvpro::view
{

// The orthographic window of one view onto the venue: zoom in pixels per
// metre, size in pixels and a camera. Turns pixels into picking rays and
// world points into pixels, keeps the visible world box, and can hold an
// anchor that keeps a world point at a fraction of the view across resizes.
// The dirty flag says that the projection changed; the owning view clears it.
class Viewport : public QObject
{
    Q_OBJECT
    Q_PROPERTY(double pixelsPerMeter READ pixelsPerMeter WRITE setPixelsPerMeter NOTIFY pixelsPerMeterChanged)

public:
    explicit Viewport(QObject* parent = nullptr);

    void Resize(int width, int height);
    double pixelsPerMeter() const { return m_pixelsPerMeter; }

    // Clears the anchor.
    void Pan(const math::Vec3& offset);
    // Moves by fractions of the half width and half height of the view.
    void PanByFraction(double fx, double fy);
    // Shows `point` at `fraction` of the width (from the left) and height
    // (from the bottom) until the next pan or zoom.
    void SetViewAnchor(const math::Vec3& point, const math::Vec3& fraction);
    // Whether an anchor places the view; dropping it leaves the camera where it is.
    bool HasAnchor() const { return m_anchorFraction.x >= 0.0; }
    void ClearAnchor() { m_anchorFraction = {-1, -1, -1}; }

    math::Ray ScreenToRay(int x, int y);
    // Truncated toward zero.
    QPoint WorldToScreen(const math::Vec3& point);
    const math::Mat4& ScreenToWorldMatrix();

    void UpdateProjection();
    void UpdateBoundingBox();

    Camera& GetCamera() { return m_camera; }
    const math::Mat4& GetProjection() const { return m_projection; }
    const math::BBox& GetBoundingBox() const { return m_visibleBox; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    bool IsDirty() const { return m_dirty; }
    void SetDirty(bool dirty) { m_dirty = dirty; }

public slots:
    // 0 is ignored; anything below 0.001 becomes 0.001.
    void setPixelsPerMeter(double pixelsPerMeter);

signals:
    void pixelsPerMeterChanged(double pixelsPerMeter);
    void boundingBoxChanged(const zorvpro::math::BBox& box);

private:
    void ApplyAnchor();
    void RebuildScreenToWorld();

    bool m_dirty = false;
    double m_pixelsPerMeter = 50.0;
    int m_width = 100;
    int m_height = 100;
    math::Mat4 m_screenToWorld;
    math::Mat4 m_projection;
    Camera m_camera;
    math::BBox m_visibleBox;
    math::Vec3 m_anchorPoint;
    math::Vec3 m_anchorFraction{-1, -1, -1};
};

} // namespace zorvpro::view
