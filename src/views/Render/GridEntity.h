// The measuring grid behind a plan or side view: a frame inset from the widget's edges, lines
// at a readable step, their numbers, the axis names and title, an origin marker, and opaque
// bands that hide the scene outside the frame. Laid out in the camera's view plane, so it stays
// put on screen while the view pans and zooms.
#pragma once

#include "core/math/Vector3.h"
#include "views/Render/Entity.h"

#include <QColor>
#include <QRect>
#include <QString>
#include <array>
#include <memory>

namespace zorvpro::qpainter
{
class TextQP;
}

namespace zorvpro::view
{
class Viewport;

class GridEntity : public Entity
{
    Q_OBJECT

public:
    // The second size is accepted for the callers' sake; the grid uses one label size.
    GridEntity(const std::string& name, const std::string& fontFamily, double pointSize, double secondSize);
    ~GridEntity() override;

    void SetLabels(const std::string& xAxisName, const std::string& yAxisName, const std::string& title);
    void SetColors(const QColor& lineColor, const QColor& textColor, const QColor& backgroundColor);
    void SetMetric(bool metric);
    void UpdateLayout(Viewport& viewport);

    std::optional<math::BBox> BoundingBox() const override;
    bool RebuildGeometry() override;

    // The frame on screen, from its top-left to its bottom-right corner.
    QRect ScreenRect() const { return m_screenRect; }
    // The label columns left and right of the frame, in pixels; they follow the font, not the
    // view's size (0 before the first layout).
    int MarginLeft() const { return m_marginLeft; }
    int MarginRight() const { return m_marginRight; }
    double XStep() const { return m_xStep; }
    double YStep() const { return m_yStep; }
    bool IsMetric() const { return m_metric; }
    const QColor& LineColor() const { return m_lineColor; }
    const QColor& TextColor() const { return m_textColor; }
    const QColor& BackgroundColor() const { return m_backgroundColor; }
    const std::shared_ptr<qpainter::TextQP>& Labels() const { return m_labels; }

private:
    bool m_layoutValid = false;
    QString m_fontFamily;
    double m_pointSize = 9.0;
    QString m_xAxisName;
    QString m_yAxisName;
    QString m_title;
    QColor m_lineColor;
    QColor m_textColor;
    QColor m_backgroundColor;
    bool m_metric = true;
    std::array<math::Vec3, 4> m_corners{};
    math::Vec3 m_depth{};
    double m_xOffset = 1.0;
    double m_xStep = 1.0;
    int32_t m_xCount = 1;
    double m_yOffset = 1.0;
    double m_yStep = 1.0;
    int32_t m_yCount = 1;
    math::Vec3 m_originMarker{};
    std::shared_ptr<qpainter::TextQP> m_labels;
    double m_pixelsPerMeter = 1.0;
    int32_t m_marginLeft = 0;
    int32_t m_marginTop = 0;
    int32_t m_marginRight = 0;
    int32_t m_marginBottom = 0;
    QRect m_screenRect;
};
} // namespace zorvpro::view
