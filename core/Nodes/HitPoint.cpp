#include "core/Nodes/HitPoint.h"

#include "core/Nodes/Node.h"

#include <utility>

namespace zorvpro
{

HitPoint::HitPoint(std::shared_ptr<Node> hitNode, const math::Mat4& pointMatrix, const math::Ray& ray,
                   double t)
    : node(std::move(hitNode)), point(ray.origin + ray.direction * t),
      mappedPoint(math::TransformPoint(pointMatrix, point)), distance(t)
{
}

} // namespace zorvpro
