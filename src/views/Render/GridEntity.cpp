#include "GridEntity.h"

#include "views/Render/Camera.h"
#include "views/Render/GeometryGL.h"
#include "views/Render/GridMath.h"
#include "views/Render/TextQP.h"
#include "views/Render/Viewport.h"

#include <algorithm>
#include <cmath>

namespace zorvpro::view
{
namespace
{
const QString kWidestNumber = QStringLiteral("-10000.0");
const QColor kOriginColor(QStringLiteral("#D9A400"));
constexpr double kLineWidth = 0.75;
} // namespace

GridEntity::GridEntity(const std::string& name, const std::string& fontFamily, double pointSize, double)
    : Entity(name), m_fontFamily(QString::fromStdString(fontFamily)), m_pointSize(pointSize)
{
}

GridEntity::~GridEntity() = default;

void GridEntity::SetLabels(const std::string& xAxisName, const std::string& yAxisName,
                           const std::string& title)
{
    m_xAxisName = QStringLiteral(" %1 ").arg(QString::fromStdString(xAxisName));
    m_yAxisName = QStringLiteral(" %1 ").arg(QString::fromStdString(yAxisName));
    m_title = QString::fromStdString(title);
    MarkDirty();
}

void GridEntity::SetColors(const QColor& lineColor, const QColor& textColor, const QColor& backgroundColor)
{
    if (lineColor == m_lineColor && textColor == m_textColor && backgroundColor == m_backgroundColor)
        return;
    m_lineColor = lineColor;
    m_textColor = textColor;
    m_backgroundColor = backgroundColor;
    MarkDirty();
}

void GridEntity::SetMetric(bool metric)
{
    if (metric == m_metric)
        return;
    m_metric = metric;
    MarkDirty();
}

void GridEntity::UpdateLayout(Viewport& viewport)
{
    const int w = viewport.Width();
    const int h = viewport.Height();
    if (w < 1 || h < 1)
        return;
    m_pixelsPerMeter = std::max(viewport.pixelsPerMeter(), 0.001);

    const QSize xName = qpainter::MeasureText(m_fontFamily, m_pointSize, m_xAxisName, false);
    const QSize yName = qpainter::MeasureText(m_fontFamily, m_pointSize, m_yAxisName, false);
    const QSize title = qpainter::MeasureText(m_fontFamily, m_pointSize, m_title, false);
    const QSize widest = qpainter::MeasureText(m_fontFamily, m_pointSize, kWidestNumber, false);

    m_marginLeft = 3 + widest.width() + 8;
    m_marginTop = 3 + title.height() + 5;
    m_marginRight = xName.width() + 3 + 3;
    m_marginBottom = 3 + widest.height() + 3;

    Camera& camera = viewport.GetCamera();
    const math::Vec3 right = camera.Right();
    const math::Vec3 up = camera.Up();
    const math::Vec3 forward = camera.Forward();
    const auto planePoint = [&](int x, int y)
    {
        const math::Vec3 origin = viewport.ScreenToRay(x, y).origin;
        return math::Vec3{origin.Dot(right), origin.Dot(up), 0.0};
    };
    const auto lift = [&](const math::Vec3& p, double extraDepth)
    { return right * p.x + up * p.y + forward * (2500.0 + extraDepth); };

    std::array<math::Vec3, 4> c = {planePoint(m_marginLeft, m_marginTop),
                                   planePoint(w - m_marginRight - 1, m_marginTop),
                                   planePoint(w - m_marginRight - 1, h - m_marginBottom - 1),
                                   planePoint(m_marginLeft, h - m_marginBottom - 1)};
    // Never less than one pixel each way, even in a window narrower than the margins.
    const double d = 1.0 / m_pixelsPerMeter;
    if (c[3].y >= c[0].y - d)
    {
        c[3].y = c[0].y - d;
        c[2].y = c[1].y - d;
    }
    if (c[0].x >= c[1].x - d)
    {
        c[1].x = c[0].x + d;
        c[2].x = c[3].x + d;
    }

    const math::Vec3 p0 = planePoint(0, 0);
    const math::Vec3 q = planePoint(widest.width(), widest.height());
    m_xStep = GridStep(q.x - p0.x, m_metric);
    m_yStep = GridStep(-(q.y - p0.y) * 1.2, m_metric);
    const GridLineRange xs = GridLineStart(c[0].x, c[1].x, m_xStep);
    const GridLineRange ys = GridLineStart(c[3].y, c[0].y, m_yStep);
    m_xOffset = xs.offset;
    m_xCount = xs.count;
    m_yOffset = ys.offset;
    m_yCount = ys.count;

    const QSize numberSize =
        qpainter::MeasureText(m_fontFamily, m_pointSize, QStringLiteral("1.2345"), false);
    const double hl = numberSize.height();
    const bool showX = h - 3 - 1 - 2.1 * hl > 0;
    const bool showY = std::fabs(c[3].y - c[0].y) > hl / m_pixelsPerMeter;

    for (size_t i = 0; i < 4; ++i)
        m_corners[i] = lift(c[i], 0.0);
    m_originMarker = lift({0.0, 0.0, 0.0}, -1.0);
    m_depth = forward * -6000.0;

    m_labels = std::make_shared<qpainter::TextQP>();
    m_labels->SetOver(true);
    m_labels->SetStyle(m_fontFamily, m_pointSize, m_textColor, 1.0, false);
    m_labels->AddText(w - xName.width() - 4, h - widest.height() - 7, m_xAxisName);
    m_labels->AddText(3 + 8 + widest.width() - yName.width() / 2, title.height() + 3, m_yAxisName);
    m_labels->AddText(yName.width() + widest.width() + 3 + 28, title.height() + 3, m_title);
    if (showX)
    {
        GridLines(m_corners[1], m_corners[0], m_xOffset, m_xStep, m_xCount,
                  [&](const math::Vec3& p)
                  {
                      const QString text = FormatGridNumber(p.Dot(right), m_xStep, m_metric);
                      const QPoint s = viewport.WorldToScreen(p);
                      const QSize size = qpainter::MeasureText(m_fontFamily, m_pointSize, text, false);
                      m_labels->AddText(s.x() - size.width() / 2, h - 4, text);
                  });
    }
    if (showY)
    {
        GridLines(m_corners[0], m_corners[3], m_yOffset, m_yStep, m_yCount,
                  [&](const math::Vec3& p)
                  {
                      const QString text = FormatGridNumber(p.Dot(up), m_yStep, m_metric);
                      const QPoint s = viewport.WorldToScreen(p);
                      const QSize size = qpainter::MeasureText(m_fontFamily, m_pointSize, text, false);
                      m_labels->AddText(3 + widest.width() - size.width(), s.y() + size.height() / 2, text);
                  });
    }

    m_screenRect = QRect(viewport.WorldToScreen(m_corners[0]), viewport.WorldToScreen(m_corners[2]));
    m_layoutValid = true;
    MarkDirty();
}

std::optional<math::BBox> GridEntity::BoundingBox() const
{
    math::BBox box(m_corners[0], m_corners[0]);
    for (const math::Vec3& corner : m_corners)
        box = box.Extended(corner);
    return box;
}

bool GridEntity::RebuildGeometry()
{
    if (!m_layoutValid)
        return false;
    ClearGeometries();

    auto lines = std::make_shared<opengl::GeometryGL>();
    const math::Vec3 zero{0.0, 0.0, 0.0};
    const double depthLength = m_depth.Length();
    const math::Vec3 f = depthLength > 0.0 ? m_depth * ((depthLength + 20.0) / depthLength) : zero;
    for (size_t i = 0; i < 4; ++i)
        lines->AddLine(m_corners[i] + f, m_corners[(i + 1) % 4] + f, m_lineColor, kLineWidth, zero);
    const math::Vec3 down = m_corners[3] - m_corners[0];
    const math::Vec3 across = m_corners[1] - m_corners[0];
    GridLines(m_corners[1], m_corners[0], m_xOffset, m_xStep, m_xCount,
              [&](const math::Vec3& p) { lines->AddLine(p, p + down, m_lineColor, kLineWidth, zero); });
    GridLines(m_corners[0], m_corners[3], m_yOffset, m_yStep, m_yCount,
              [&](const math::Vec3& p) { lines->AddLine(p, p + across, m_lineColor, kLineWidth, zero); });
    AddGeometry(lines);

    auto fills = std::make_shared<opengl::GeometryGL>();
    const double radius = 3.0 / m_pixelsPerMeter;
    const math::Vec3 ax{radius, 0.0, 0.0}, ay{0.0, radius, 0.0}, az{0.0, 0.0, radius};
    fills->AddDisc(m_originMarker, ax, ay, kOriginColor, 13);
    fills->AddDisc(m_originMarker, ay, az, kOriginColor, 13);
    fills->AddDisc(m_originMarker, az, ax, kOriginColor, 13);

    const auto& c = m_corners;
    const math::Vec3 d1 = math::Normalize(c[2] - c[3]) * 10000.0;
    const math::Vec3 d2 = math::Normalize(c[0] - c[3]) * 10000.0;
    const auto band = [&](const math::Vec3& a, const math::Vec3& b, const math::Vec3& e, const math::Vec3& g)
    { fills->AddQuad(a + m_depth, b + m_depth, e + m_depth, g + m_depth, m_backgroundColor, false); };
    band(c[0] - d1, c[1] + d1, c[1] + d1 + d2, c[0] - d1 + d2); // above
    band(c[3] - d1, c[3] - d1 - d2, c[2] + d1 - d2, c[2] + d1); // below
    band(c[1] + d1 + d2, c[1] + d2, c[2] - d2, c[2] + d1 - d2); // right
    band(c[0] + d2, c[0] - d1 + d2, c[3] - d1 - d2, c[3] - d2); // left
    AddGeometry(fills);

    if (m_labels)
        AddGeometry(m_labels);
    return true;
}
} // namespace zorvpro::view
