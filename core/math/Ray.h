#pragma once

#include "core/math/Matrix4.h"
#include "core/math/Vector3.h"

namespace zorvpro::math
{

// Origin and unit direction. The direction is normalised on construction; a
// zero (within tolerance) direction stays zero.
class Ray
{
public:
    Ray() = default;
    Ray(const Vec3& origin, const Vec3& direction);
    virtual ~Ray() = default;

    Ray(const Ray&) = default;
    Ray(Ray&&) = default;
    Ray& operator=(const Ray&) = default;
    Ray& operator=(Ray&&) = default;

    Vec3 origin;
    Vec3 direction;

    // The ray mapped through a matrix: the origin as a point, the direction
    // as the difference of the mapped direction point and the mapped zero
    // point, renormalised.
    Ray Transform(const Mat4& matrix) const;
    static Ray Transform(const Ray& ray, const Mat4& matrix) { return ray.Transform(matrix); }
};

} // namespace zorvpro::math
