#include "core/Nodes/QuadNode.h"
#include "core/math/Compare.h"
#include "views/Adapters/Venue/VenueTabAdapter.h"
#include "views/Common/BeamSpeakerItem.h"
#include "views/Render/QuadEntity.h"
#include "views/Render/VenueMouseHandler.h"

#include <algorithm>
#include <cmath>

namespace zorvpro
{
namespace
{
using Item = BeamSpeakerItem;
constexpr std::uint32_t Number(Item item)
{
    return static_cast<std::uint32_t>(item);
}

constexpr double kMaxDepth = 300.01;
constexpr double kMaxWidth = 300.01;
constexpr double kMaxHeight = 100.01;
constexpr double kSizeGrowthTolerance = 0.01;
constexpr double kVenueLimit = 1000.0;

bool IsZeroVector(const math::Vec3& v)
{
    return math::IsZero(v.x) && math::IsZero(v.y) && math::IsZero(v.z);
}

// True when the component on axis exceeds a hundred times each other component.
bool Dominated(const math::Vec3& v, int axis)
{
    for (int other = 0; other < 3; ++other)
        if (other != axis && !(std::abs(v[axis]) > 100.0 * std::abs(v[other])))
            return false;
    return true;
}

void PairCornerMoves(math::Vec3& a, math::Vec3& b, int axis, bool mirror)
{
    if (Dominated(a, axis) && IsZeroVector(b))
        b = mirror ? -a : a;
    else if (Dominated(b, axis) && IsZeroVector(a))
        a = mirror ? -b : b;
}

math::BBox CornerBox(const std::array<math::Vec3, 4>& corners)
{
    math::BBox box(corners[0], corners[0]);
    for (const math::Vec3& c : corners)
        for (int axis = 0; axis < 3; ++axis)
        {
            box.min[axis] = std::min(box.min[axis], c[axis]);
            box.max[axis] = std::max(box.max[axis], c[axis]);
        }
    return box;
}

bool WithinLimits(const math::Vec3& p)
{
    return std::abs(p.x) <= kVenueLimit && std::abs(p.y) <= kVenueLimit && std::abs(p.z) <= kVenueLimit;
}

// Rotation about the vertical axis through a world point.
math::Mat4 TurnAbout(const math::Vec3& pivot, double turn)
{
    return math::Mat4::Translation(pivot) * math::Mat4::RotationZ(turn) * math::Mat4::Translation(-pivot);
}
} // namespace

math::Vec3 VenueTabAdapter::SnapToDominantAxis(const math::Vec3& v)
{
    int axis = 0;
    if (std::abs(v.y) > std::abs(v[axis]))
        axis = 1;
    if (std::abs(v.z) > std::abs(v[axis]))
        axis = 2;
    math::Vec3 snapped(0, 0, 0);
    snapped[axis] = std::copysign(v.Length(), v[axis]);
    return snapped;
}

bool VenueTabAdapter::ConstrainPointMoves(const view::EntityPtr& entity, math::Vec3& t,
                                          std::array<math::Vec3, 4>& d, bool symmetric, double pendingTurn)
{
    const auto* quad = dynamic_cast<const view::QuadEntity*>(entity.get());
    if (quad == nullptr)
        return false;
    const std::array<math::Vec3, 4> p{quad->GetP1(), quad->GetP2(), quad->GetP3(), quad->GetP4()};
    // Partner corners follow depth and height moves; symmetric width moves are mirrored.
    PairCornerMoves(d[0], d[3], 0, false);
    PairCornerMoves(d[1], d[2], 0, false);
    PairCornerMoves(d[0], d[3], 2, false);
    PairCornerMoves(d[1], d[2], 2, false);
    if (symmetric)
    {
        PairCornerMoves(d[0], d[3], 1, true);
        PairCornerMoves(d[1], d[2], 1, true);
        PairCornerMoves(d[0], d[1], 0, true);
        PairCornerMoves(d[3], d[2], 0, true);
    }
    // The front edge stays in front of the back edge.
    if (p[0].x + d[0].x > p[1].x + d[1].x)
    {
        if (d[0].x > 0)
            d[0].x = d[3].x = p[1].x - p[0].x;
        else if (d[1].x < 0)
            d[1].x = d[2].x = p[0].x - p[1].x;
    }
    // The sides may meet but not cross.
    const double y1 = p[0].y + d[0].y, y2 = p[1].y + d[1].y, y3 = p[2].y + d[2].y, y4 = p[3].y + d[3].y;
    auto uncross = [symmetric, &p, &d](int a, int b)
    {
        if (symmetric)
        {
            d[a].y = (p[b].y - p[a].y) / 2.0;
            d[b].y = -d[a].y;
        }
        else if (d[a].y < 0)
            d[a].y = p[b].y - p[a].y;
        else if (d[b].y > 0)
            d[b].y = p[a].y - p[b].y;
    };
    if (y4 > y1 && y4 - y1 >= y3 - y2)
    {
        uncross(0, 3);
        if (d[1].y < 0)
            d[1].y = d[0].y;
        if (d[2].y > 0)
            d[2].y = d[3].y;
    }
    else if (y3 > y2)
    {
        uncross(1, 2);
        if (d[0].y < 0)
            d[0].y = d[1].y;
        if (d[3].y > 0)
            d[3].y = d[2].y;
    }
    // The front centre stays at the local origin: the surface moves instead.
    if (IsZeroVector(t))
    {
        const math::Vec3 oldCentre = (p[0] + p[3]) * 0.5;
        const math::Vec3 newCentre = (p[0] + d[0] + p[3] + d[3]) * 0.5;
        if (!IsZeroVector(newCentre - oldCentre))
        {
            t = newCentre - oldCentre;
            for (math::Vec3& di : d)
                di = di - t;
        }
    }
    std::array<math::Vec3, 4> moved;
    for (int i = 0; i < 4; ++i)
        moved[i] = p[i] + d[i];
    bool refused = false;
    // Size limits; a surface already too large may still shrink.
    const math::BBox before = CornerBox(p);
    const math::BBox after = CornerBox(moved);
    const double limits[3] = {kMaxDepth, kMaxWidth, kMaxHeight};
    for (int axis = 0; axis < 3; ++axis)
    {
        const double oldExtent = before.max[axis] - before.min[axis];
        const double newExtent = after.max[axis] - after.min[axis];
        if (newExtent > limits[axis] && newExtent - oldExtent > kSizeGrowthTolerance)
            refused = true;
    }
    // Venue limits; a surface outside them may come back but not go farther.
    if (!refused)
    {
        const math::Mat4 transform = entity->getTransform();
        const math::Vec3 pivot = math::TransformPoint(transform, (p[0] + p[3]) * 0.5);
        const math::Mat4 turnedNow = TurnAbout(pivot, pendingTurn) * transform;
        const math::Mat4 turnedMoved = math::Mat4::Translation(math::TransformPoint(transform, t) -
                                                               math::TransformPoint(transform, {0, 0, 0})) *
                                       turnedNow;
        bool inside = true;
        for (const math::Vec3& c : p)
            inside = inside && WithinLimits(math::TransformPoint(turnedNow, c));
        for (int i = 0; i < 4 && !refused; ++i)
        {
            const math::Vec3 world = math::TransformPoint(turnedMoved, moved[i]);
            const math::Vec3 old = math::TransformPoint(transform, p[i]);
            if (!WithinLimits(world) && (inside || world.Length() > old.Length()))
                refused = true;
        }
    }
    if (refused)
    {
        t = {0, 0, 0};
        d = {};
    }
    return !refused;
}

void VenueTabAdapter::MovePoints(const NodePtr& node, const math::Vec3& worldTranslation,
                                 const std::array<math::Vec3, 4>& corners, bool undoable, bool notify,
                                 bool symmetric, std::uint32_t batchPosition)
{
    auto* quad = dynamic_cast<QuadNode*>(node.get());
    if (quad == nullptr)
        return;
    const view::EntityPtr entity = links.GetEntityForNode(node);
    math::Vec3 worldT = worldTranslation;
    std::array<math::Vec3, 4> d = corners;
    if (entity)
    {
        const math::Mat4 transform = entity->getTransform();
        const math::Mat4 inverse = math::Inverse(transform);
        math::Vec3 t =
            math::TransformPoint(inverse, worldTranslation) - math::TransformPoint(inverse, {0, 0, 0});
        ConstrainPointMoves(entity, t, d, symmetric, 0.0);
        worldT = math::TransformPoint(transform, t) - math::TransformPoint(transform, {0, 0, 0});
        double total = worldT.Length();
        for (const math::Vec3& di : d)
            total += di.Length();
        if (math::IsZero(total))
        {
            UpdatePropertyPanel(entity);
            return;
        }
    }
    if (notify)
    {
        std::array<math::Vec3, 4> back;
        for (int i = 0; i < 4; ++i)
            back[i] = -d[i];
        const bool dealtWith = SetGenericValue(
            node, Number(Item::Quad_P1X), undoable,
            QString("Move points %1").arg(QString::fromStdString(node->GetName())),
            [this, node, worldT, d, symmetric, batchPosition]
            { MovePoints(node, worldT, d, false, true, symmetric, batchPosition); },
            [this, node, worldT, back, symmetric, batchPosition] {
                MovePoints(node, -worldT, back, false, true, symmetric, SwappedBatchPosition(batchPosition));
            });
        if (dealtWith)
            return;
    }
    quad->SetP1(quad->GetP1() + d[0]);
    quad->SetP2(quad->GetP2() + d[1]);
    quad->SetP3(quad->GetP3() + d[2]);
    quad->SetP4(quad->GetP4() + d[3]);
    quad->SetTransform(math::Mat4::Translation(worldT) * quad->GetTransform());
    if (batchPosition == kBatchLast || batchPosition == kBatchOnly)
        emit entitiesChanged();
    if (auto* shown = dynamic_cast<view::QuadEntity*>(entity.get()))
    {
        shown->SetCorners(quad->GetP1(), quad->GetP2(), quad->GetP3(), quad->GetP4());
        shown->setTransform(quad->GetTransform());
        shown->setDirty(true);
        UpdatePropertyPanel(entity);
    }
    if (notify && splAdapter != nullptr)
        splAdapter->NodeChanged(ISplNodeListener::kChanged, node);
}

void VenueTabAdapter::RotateQuad(const NodePtr& node, double turn, bool undoable, bool notify)
{
    auto* quad = dynamic_cast<QuadNode*>(node.get());
    if (quad == nullptr || math::IsZero(turn))
        return;
    const view::EntityPtr entity = links.GetEntityForNode(node);
    if (entity)
    {
        math::Vec3 t(0, 0, 0);
        std::array<math::Vec3, 4> d{};
        if (!ConstrainPointMoves(entity, t, d, false, turn))
        {
            UpdatePropertyPanel(entity);
            return;
        }
    }
    if (notify && SetGenericValue(
                      node, Number(Item::Quad_Rotation), undoable,
                      QString("Rotate %1").arg(QString::fromStdString(node->GetName())),
                      [this, node, turn] { RotateQuad(node, turn, false, true); },
                      [this, node, turn] { RotateQuad(node, -turn, false, true); }))
        return;
    const math::Vec3 pivot =
        math::TransformPoint(quad->GetTransform(), (quad->GetP1() + quad->GetP4()) * 0.5);
    quad->SetTransform(TurnAbout(pivot, turn) * quad->GetTransform());
    quad->SetRotationZ(quad->GetRotationZ() + turn);
    emit entitiesChanged();
    if (auto* shown = dynamic_cast<view::QuadEntity*>(entity.get()))
    {
        shown->setTransform(quad->GetTransform());
        shown->SetRotation(quad->GetRotationZ());
        shown->setDirty(true);
        UpdatePropertyPanel(entity);
    }
    if (notify && splAdapter != nullptr)
        splAdapter->NodeChanged(ISplNodeListener::kChanged, node);
}

void VenueTabAdapter::ModifyShape(const NodePtr& node, std::uint32_t item, double v, bool undoable)
{
    const view::EntityPtr entity = links.GetEntityForNode(node);
    const auto* quad = dynamic_cast<const view::QuadEntity*>(entity.get());
    if (quad == nullptr)
        return;
    const math::Mat4 transform = entity->getTransform();
    const math::Mat4 inverse = math::Inverse(transform);
    const std::array<math::Vec3, 4> old{quad->GetP1(), quad->GetP2(), quad->GetP3(), quad->GetP4()};
    std::array<math::Vec3, 4> p = old;
    const math::Vec3 oldP0 = (old[0] + old[3]) * 0.5;
    math::Vec3 p0 = oldP0;
    auto replaced = [&](const math::Vec3& local, int axis)
    {
        math::Vec3 world = math::TransformPoint(transform, local);
        world[axis] = v;
        return math::TransformPoint(inverse, world);
    };
    bool symmetric = false;
    if (item >= Number(Item::Quad_P0X) && item <= Number(Item::Quad_P0Z))
        p0 = replaced(oldP0, int(item - Number(Item::Quad_P0X)));
    else if (item >= Number(Item::Quad_P1X) && item <= Number(Item::Quad_P4Z))
    {
        const std::uint32_t k = item - Number(Item::Quad_P1X);
        p[k / 3] = replaced(old[k / 3], int(k % 3));
    }
    else if (item == Number(Item::Quad_FrontWidth) || item == Number(Item::Quad_BackWidth))
    {
        const int a = item == Number(Item::Quad_FrontWidth) ? 0 : 1;
        const int b = item == Number(Item::Quad_FrontWidth) ? 3 : 2;
        const math::Vec3 mid = (old[a] + old[b]) * 0.5;
        p[a] = mid + math::Vec3(0, v / 2.0, 0);
        p[b] = mid - math::Vec3(0, v / 2.0, 0);
        symmetric = true;
    }
    else if (item == Number(Item::Quad_BackDepth))
        p[1].x = p[2].x = v;
    else if (item == Number(Item::Quad_BackHeight))
    {
        p[1].z = p[2].z = v;
        symmetric = true;
    }
    else
    {
        LogError("Unknown id in Modify Shape");
        return;
    }
    const math::Vec3 t = math::TransformPoint(transform, p0) - math::TransformPoint(transform, oldP0);
    std::array<math::Vec3, 4> d;
    for (int i = 0; i < 4; ++i)
        d[i] = SnapToDominantAxis(p[i] - old[i]);
    MovePoints(node, t, d, undoable, true, symmetric, kBatchOnly);
}

void VenueTabAdapter::MoveEntity(const view::EntityPtr& entity, const math::Vec3& offset, bool undoable,
                                 bool commit, std::uint32_t batchPosition)
{
    MovePoints(links.GetNodeForEntity(entity), offset, {}, undoable, commit, true, batchPosition);
}

std::unique_ptr<view::MouseHandler> VenueTabAdapter::CreateMouseHandler(view::VenueView3D*)
{
    return std::make_unique<view::VenueMouseHandler>();
}
} // namespace zorvpro
