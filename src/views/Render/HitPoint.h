#pragma once

#include "core/math/Ray.h"
#include "core/math/Vector3.h"
#include "views/Render/Entity.h"
#include "views/Render/Geometry.h"

#include <cstdint>
#include <memory>

namespace zorvpro::view
{

// Which part of an entity a pick hit.
namespace HitPart
{
constexpr uint32_t Body = 1;
// Quad adorner corner handles at p1..p4 are CornerP1 + 0..3.
constexpr uint32_t CornerP1 = 2;
constexpr uint32_t EdgeP1P2 = 6;
constexpr uint32_t BackEdge = 7;
constexpr uint32_t EdgeP3P4 = 8;
constexpr uint32_t FrontEdge = 9;
constexpr uint32_t Rotate = 10;
constexpr uint32_t Beam1TopRear = 11;
constexpr uint32_t Beam1BottomFront = 12;
constexpr uint32_t Beam2TopRear = 13;
constexpr uint32_t Beam2BottomFront = 14;
constexpr uint32_t Beam1Outline = 15;
constexpr uint32_t Beam2Outline = 16;
} // namespace HitPart

// Where a picking ray met an entity.
class HitPoint
{
public:
    // `localRay` is the picking ray in the entity's own coordinates and
    // `distance` the hit distance along it: the local point lies on that
    // ray, and the world point is the local point through the entity's
    // transform (it stays at the origin without an entity).
    HitPoint(EntityPtr entity, GeometryPtr geometry, const math::Ray& localRay, double distance,
             uint32_t part);

    EntityPtr entity;
    GeometryPtr geometry;
    math::Vec3 localPoint;
    math::Vec3 worldPoint;
    double distance = 0.0;
    uint32_t part = 0;
};

} // namespace zorvpro::view
