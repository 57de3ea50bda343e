#include "views/Render/QuadAdornerEntity.h"

#include "core/math/Intersections.h"
#include "data/Settings/AppSettings.h"
#include "views/Render/GeometryGL.h"
#include "views/Render/HitPoint.h"
#include "views/Render/QuadEntity.h"
#include "views/Render/TooltipQP.h"
#include "views/Render/Viewport.h"

#include <QRect>
#include <cmath>
#include <map>
#include <vector>

namespace zorvpro::view
{

namespace
{
// Handle identifiers that light up while a property item is edited.
const std::map<uint32_t, std::vector<uint32_t>>& HighlightTable()
{
    static const std::map<uint32_t, std::vector<uint32_t>> table{
        {7, {1}},        {8, {1}},  {9, {1}},  // P0 X, Y, Z
        {17, {2}},       {18, {2}}, {19, {2}}, // P1
        {20, {3}},       {21, {3}}, {22, {3}}, // P2
        {23, {4}},       {24, {4}}, {25, {4}}, // P3
        {26, {5}},       {27, {5}}, {28, {5}}, // P4
        {16, {9}},                             // rotation
        {10, {2, 5}},                          // front width
        {11, {3, 4}},                          // back width
        {12, {3, 4, 7}},                       // back depth
        {13, {3, 4, 7}},                       // back height
    };
    return table;
}

constexpr uint32_t kNoIdentifier = 0;
constexpr double kOutlineWidth = 0.9 * 1.25;
constexpr double kHandleOffsetScale = 1.01;
// The P0 dot lies on its handle: 1.01 again would put it within the depth
// buffer's resolution of the handle (half a millimetre at the usual offset),
// where it vanishes; a fifth of the offset more keeps it in front.
constexpr double kDotOffsetScale = 1.2;

math::Vec3 Mid(const math::Vec3& a, const math::Vec3& b)
{
    return (a + b) * 0.5;
}

bool DarkDot()
{
    // The dot contrasts with the surface colour of the light theme (1) or the dark one.
    return AppSettings::Instance().GetUiSettings()->getTheme() != UiTypes::UiTheme::Day;
}
} // namespace

QString FormatCoordinateTooltip(const math::Vec3& point, bool metric)
{
    const double scale = metric ? 1.0 : 1.0 / 0.3048;
    return QString::asprintf("X: %.2f\nY: %.2f\nZ: %.2f", point.x * scale, point.y * scale, point.z * scale);
}

bool QuadAdornerEntity::IsHighlighted(uint32_t item, uint32_t identifier)
{
    if (identifier == kNoIdentifier)
        return false;
    const auto& table = HighlightTable();
    const auto it = table.find(item);
    if (it == table.end())
        return false;
    for (uint32_t id : it->second)
    {
        if (id == identifier)
            return true;
    }
    return false;
}

QuadAdornerEntity::QuadAdornerEntity(Viewport* viewport, EntityPtr surface, double offsetDistance,
                                     bool sideViewCursors)
    : AdornerEntity(AdornerName("QuadAdornerEntity", surface), viewport, surface, offsetDistance),
      m_tooltip(std::make_shared<qpainter::TooltipQP>()), m_sideViewCursors(sideViewCursors)
{
    m_tooltip->SetKeepWidestWidth(true, 0);
}

QuadAdornerEntity::~QuadAdornerEntity() = default;

void QuadAdornerEntity::SetActiveHandle(bool show, bool metric, uint32_t index)
{
    m_metric = metric;
    if (show)
    {
        if (index > 4 || index == m_activeHandle)
            return;
        m_activeHandle = index;
        MarkDirty();
        return;
    }
    if (m_activeHandle != kNoHandle)
    {
        m_activeHandle = kNoHandle;
        MarkDirty();
    }
}

void QuadAdornerEntity::SetHighlightedItem(uint32_t item)
{
    m_highlightedItem = item;
    MarkDirty();
}

void QuadAdornerEntity::SetTooltipStyle(const QString& family, int pointSize, const QColor& textColor,
                                        const QColor& backgroundColor)
{
    if (m_tooltip)
        m_tooltip->SetStyle(family, pointSize, textColor, backgroundColor);
}

bool QuadAdornerEntity::RebuildGeometry()
{
    auto surface = std::dynamic_pointer_cast<QuadEntity>(AdornedEntity());
    if (!surface)
        return false;
    ClearGeometries();
    m_spheres.clear();
    QColor color = surface->GetColor();
    color.setAlphaF(1.0);

    const math::Vec3 offset = OffsetVector();
    const math::Mat4 transform = surface->getTransform();
    for (size_t i = 0; i < 4; ++i)
        m_corners[i] = math::TransformPoint(transform, surface->GetCorners()[i]) + offset;
    const auto& c = m_corners;

    auto outline = std::make_shared<opengl::GeometryGL>();
    for (size_t i = 0; i < 4; ++i)
        outline->AddLine(c[i], c[(i + 1) % 4], color, kOutlineWidth, math::Vec3());
    AddGeometry(outline);

    if (!surface->isLocked())
    {
        auto handles = std::make_shared<opengl::GeometryGL>();
        const double ppm = PixelsPerMeter();
        const double large = HandlePixels(ppm, 5);
        const double small = HandlePixels(ppm, 3);
        const math::Vec3 front = offset * kHandleOffsetScale;
        const uint32_t item = m_highlightedItem;
        auto handle = [&](const math::Vec3& at, double radius, const QColor& col, uint32_t part, uint32_t id,
                          const math::Vec3& off) {
            BuildHandleGeometry(*handles, at, off, radius, col, part, IsHighlighted(item, id), 2.0,
                                m_spheres);
        };

        for (uint32_t i = 0; i < 4; ++i)
            handle(c[i], large, color, 2 + i, 2 + i, front);
        handle(Mid(c[0], c[1]), small, color, 6, kNoIdentifier, front);
        const math::Vec3 back = Mid(c[1], c[2]);
        handle(back, small, color, 7, 7, front);
        handle(Mid(c[2], c[3]), small, color, 8, kNoIdentifier, front);
        const math::Vec3 p0 = Mid(c[3], c[0]);
        handle(p0, large, color, 9, 1, front);
        const QColor dot = DarkDot() ? QColor("#000000") : QColor("#FFFFFF");
        handle(p0, small, dot, 0, kNoIdentifier, front * kDotOffsetScale);
        const double r = surface->GetRotation();
        handle(back + math::Vec3{std::cos(r), std::sin(r), 0} * (3 * small), small, color, 10, 9, front);
        AddGeometry(handles);
    }

    if (surface->isVisible() != isVisible())
        FollowVisibility(surface->isVisible());

    if (m_activeHandle != kNoHandle && m_tooltip)
        PlaceTooltip(*surface);
    return true;
}

void QuadAdornerEntity::PlaceTooltip(const QuadEntity& surface)
{
    Viewport* viewport = GetViewport();
    if (viewport == nullptr)
        return;
    const auto& p = surface.GetCorners();
    const math::Vec3 local = m_activeHandle == 0 ? Mid(p[0], p[3]) : p[m_activeHandle - 1];
    const math::Vec3 point = math::TransformPoint(surface.getTransform(), local);
    m_tooltip->SetText(FormatCoordinateTooltip(point, m_metric));
    const QSize size = m_tooltip->ComputeSize();
    const QPoint s = viewport->WorldToScreen(point);
    QRect rect(s.x() + 20, s.y() + 20, size.width(), size.height());
    const QRect bounds(5, 5, viewport->Width() - 10, viewport->Height() - 10);
    // In this order, so that the top and left edges win in a view too small for the box.
    if (rect.right() > bounds.right())
        rect.moveRight(bounds.right());
    if (rect.bottom() > bounds.bottom())
        rect.moveBottom(bounds.bottom());
    if (rect.top() < bounds.top())
        rect.moveTop(bounds.top());
    if (rect.left() < bounds.left())
        rect.moveLeft(bounds.left());
    m_tooltip->SetPosition(rect.left(), rect.top());
    AddGeometry(m_tooltip);
}

HitPointPtr QuadAdornerEntity::Pick(const math::Ray& ray, const EntityPtr& self, double) const
{
    const math::Mat4* inverse = GetInverseTransform();
    if (inverse == nullptr)
        return {};
    const math::Ray mapped = ray.Transform(*inverse);
    const GeometryPtr first = GetGeometries().empty() ? GeometryPtr() : GetGeometries().front();
    if (auto hit = PickFirstSphere(m_spheres, mapped))
        return std::make_shared<HitPoint>(self, first, mapped, hit->distance, hit->sphere->part);

    const EntityPtr surface = AdornedEntity();
    if (!surface)
        return {};
    const auto& c = m_corners;
    double distance = 0.0;
    if (!math::RayIntersectsTriangle(mapped.origin, mapped.direction, c[0], c[1], c[2], nullptr, &distance) &&
        !math::RayIntersectsTriangle(mapped.origin, mapped.direction, c[2], c[3], c[0], nullptr, &distance))
        return {};
    auto result = std::make_shared<HitPoint>(surface, first, ray, distance, HitPart::Body);
    // The hit is found in world coordinates: keep the world point and give
    // the surface's own coordinates as the local point.
    result->worldPoint = ray.origin + ray.direction * distance;
    if (const math::Mat4* surfaceInverse = surface->GetInverseTransform())
        result->localPoint = math::TransformPoint(*surfaceInverse, result->worldPoint);
    return result;
}

} // namespace zorvpro::view
