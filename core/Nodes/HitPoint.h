#pragma once

#include "core/math/Matrix4.h"
#include "core/math/Ray.h"
#include "core/math/Vector3.h"

#include <memory>

namespace zorvpro
{

class Node;

// Where a ray met a node.
struct HitPoint
{
    // point = origin + t * direction on the caller's ray; mappedPoint is that
    // point through the caller's point matrix.
    HitPoint(std::shared_ptr<Node> node, const math::Mat4& pointMatrix, const math::Ray& ray, double t);

    std::shared_ptr<Node> node;
    math::Vec3 point;
    math::Vec3 mappedPoint;
    double distance = 0.0;
};

using HitPointPtr = std::shared_ptr<HitPoint>;

} // namespace zorvpro
