#include "core/Nodes/QuadNode.h"
#include "core/math/Compare.h"
#include "views/Adapters/Venue/VenueTabAdapter.h"
#include "views/Render/HitPoint.h"
#include "views/Render/QuadAdornerEntity.h"
#include "views/Render/QuadEntity.h"
#include "views/Render/VenueView3D.h"

#include <QFontInfo>
#include <cmath>

namespace zorvpro
{
namespace
{
constexpr std::uint32_t kFirstCornerPart = 2;
constexpr std::uint32_t kLastShapePart = 9;
constexpr std::uint32_t kRotatePart = 10;
constexpr double kHalfPi = 1.5707963267948966;
constexpr double kSnapAngle = M_PI / 8.0; // 22.5 degrees

// Which corners a handle part moves: 2..5 one corner, 6..9 the two ends of a side or edge.
std::array<bool, 4> CornersOfPart(std::uint32_t part)
{
    switch (part)
    {
    case 2: return {true, false, false, false};
    case 3: return {false, true, false, false};
    case 4: return {false, false, true, false};
    case 5: return {false, false, false, true};
    case 6: return {true, true, false, false};
    case 7: return {false, true, true, false};
    case 8: return {false, false, true, true};
    case 9: return {true, false, false, true};
    default: return {false, false, false, false};
    }
}

std::array<math::Vec3, 4> CornersOf(const view::QuadEntity& quad)
{
    return {quad.GetP1(), quad.GetP2(), quad.GetP3(), quad.GetP4()};
}
} // namespace

void VenueTabAdapter::HandleSelectionAction(const view::MouseAction& action)
{
    if (!action.hit)
        return;
    const auto* adorner = dynamic_cast<view::QuadAdornerEntity*>(action.hit->entity.get());
    if (adorner == nullptr)
        return;
    const view::EntityPtr surface = adorner->AdornedEntity();
    if (dynamic_cast<view::QuadEntity*>(surface.get()) == nullptr)
        return;
    std::vector<view::EntityPtr> others;
    for (std::uint64_t id : selection.CollectSelectedIds())
        if (id != surface->GetId())
            if (view::EntityPtr entity = links.GetEntityByNodeId(id))
                others.push_back(entity);
    if (!others.empty())
        SetSelection(false, others, true, false);
    const std::uint32_t part = action.hit->part;
    if (part >= kFirstCornerPart && part <= kLastShapePart)
        QuadShapeDrag(action, surface);
    else if (part == kRotatePart)
        QuadRotateDrag(action, surface);
}

void VenueTabAdapter::QuadShapeDrag(const view::MouseAction& action, const view::EntityPtr& entity)
{
    auto* quad = dynamic_cast<view::QuadEntity*>(entity.get());
    view::VenueView3D* view = FindViewById(action.tag);
    const NodePtr node = links.GetNodeForEntity(entity);
    if (quad == nullptr || view == nullptr || !node || !entity->isVisible() || entity->isLocked())
        return;
    std::shared_ptr<view::QuadAdornerEntity> handles;
    for (const view::EntityPtr& adorner : links.EntryOf(entity->GetId()).adorners)
        if (view->HasEntity(adorner))
            if (auto typed = std::dynamic_pointer_cast<view::QuadAdornerEntity>(adorner))
                handles = typed;
    if (!handles)
        return;
    const std::uint32_t part = action.hit ? action.hit->part : 0;
    if (part >= 2 && part <= 5)
    {
        handles->SetActiveHandle(true, IsMetricUnits(), part - 1);
        // The view's font may be sized in pixels (point size -1); the resolved size is used.
        const QFontInfo font(view->font());
        handles->SetTooltipStyle(font.family(), qRound(font.pointSizeF()),
                                 QColor(lightTheme ? "#242424" : "#F8F8F8"),
                                 QColor(lightTheme ? "#F8F8F8" : "#575757"));
    }
    const bool inSide = view == sideView;
    const math::Vec3 startP0 = math::TransformPoint(entity->getTransform(), (quad->GetP1() + quad->GetP4()) * 0.5);
    const std::array<math::Vec3, 4> startCorners = CornersOf(*quad);
    auto step = [this, view, entity, quad, node, part, inSide](const view::MouseAction& move)
    {
        if (entity->isLocked())
            return;
        const std::array<bool, 4> moved = CornersOfPart(part);
        if (!(moved[0] || moved[1] || moved[2] || moved[3]))
        {
            UpdateViews();
            return;
        }
        const bool corner = part <= 5;
        const bool symmetric = !inSide && (corner ? !move.control : move.control);
        const double angle = quad->GetRotation() + ((part >= 2 && part <= 6) || part == 8 ? kHalfPi : 0.0);
        const math::Vec3 direction = inSide ? math::Vec3(0, 0, 1) : math::Vec3(std::cos(angle), std::sin(angle), 0);
        const std::array<math::Vec3, 4> corners = CornersOf(*quad);
        math::Vec3 local(0, 0, 0);
        int count = 0;
        for (int i = 0; i < 4; ++i)
            if (moved[i])
            {
                local = local + corners[i];
                ++count;
            }
        const QPoint handle =
            view->GetViewport().WorldToScreen(math::TransformPoint(entity->getTransform(), local / double(count)));
        const double pixels = inSide ? double(handle.y() - move.position.y())
                                     : (move.position.x() - handle.x()) * std::cos(angle) +
                                           (handle.y() - move.position.y()) * std::sin(angle);
        const double metres = pixels / std::max(view->GetViewport().pixelsPerMeter(), 0.001);
        math::Vec3 d = direction * metres;
        if (!inSide)
        {
            const math::Mat4 inverse = math::Inverse(entity->getTransform());
            d = math::TransformPoint(inverse, d) - math::TransformPoint(inverse, {0, 0, 0});
        }
        std::array<math::Vec3, 4> changes{};
        for (int i = 0; i < 4; ++i)
            if (moved[i])
                changes[i] = d;
        MovePoints(node, {0, 0, 0}, changes, false, false, symmetric, kBatchOnly);
        UpdateViews();
    };
    auto finish = [this, entity, quad, node, handles, startP0, startCorners](bool changed, const view::MouseAction&)
    {
        handles->SetActiveHandle(false, IsMetricUnits(), 0);
        if (!changed)
            return;
        const math::Vec3 p0 = math::TransformPoint(entity->getTransform(), (quad->GetP1() + quad->GetP4()) * 0.5);
        const math::Vec3 t = p0 - startP0;
        const std::array<math::Vec3, 4> now = CornersOf(*quad);
        std::array<math::Vec3, 4> d, back;
        double total = t.Length();
        for (int i = 0; i < 4; ++i)
        {
            d[i] = now[i] - startCorners[i];
            back[i] = -d[i];
            total += d[i].Length();
        }
        // A drag that ends where it began leaves no step.
        if (math::IsZero(total))
            return;
        MovePoints(node, -t, back, false, false, false, kBatchOnly);
        MovePoints(node, t, d, true, true, false, kBatchOnly);
        UpdateViews();
    };
    BeginIterativeUndo("Quad shape drag", action, step, finish);
}

void VenueTabAdapter::QuadRotateDrag(const view::MouseAction& action, const view::EntityPtr& entity)
{
    auto* quad = dynamic_cast<view::QuadEntity*>(entity.get());
    view::VenueView3D* view = FindViewById(action.tag);
    const NodePtr node = links.GetNodeForEntity(entity);
    if (quad == nullptr || view == nullptr || !node || !entity->isVisible() || entity->isLocked())
        return;
    const double r0 = quad->GetRotation();
    auto step = [this, view, entity, quad, node](const view::MouseAction& move)
    {
        const math::Vec3 backMiddle = (quad->GetP2() + quad->GetP3()) * 0.5;
        const double base = std::atan2(backMiddle.y, backMiddle.x);
        const QPoint s = view->GetViewport().WorldToScreen(
            math::TransformPoint(entity->getTransform(), (quad->GetP1() + quad->GetP4()) * 0.5));
        if (s == move.position)
            return;
        double a = std::atan2(double(s.y() - move.position.y()), double(move.position.x() - s.x())) - base;
        if (move.control)
            a = std::floor((a + kSnapAngle / 2.0) / kSnapAngle) * kSnapAngle;
        RotateQuad(node, a - quad->GetRotation(), false, false);
        UpdatePropertyPanel(entity);
        UpdateViews();
    };
    auto finish = [this, entity, quad, node, r0](bool changed, const view::MouseAction&)
    {
        if (!changed)
            return;
        const double r = quad->GetRotation();
        RotateQuad(node, r0 - r, false, false);
        RotateQuad(node, r - r0, true, true);
        UpdatePropertyPanel(entity);
        UpdateViews();
    };
    BeginIterativeUndo("Quad rotate", action, step, finish);
}
} // namespace zorvpro
