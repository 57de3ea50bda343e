#pragma once

#include "acoustics/engine/ISurface.h"
#include "core/math/Ray.h"

namespace zorvpro::acoustics::testing
{

// An endless wall across the x axis at x = position.
class Wall : public ISurface
{
public:
    explicit Wall(double position) : position(position) {}
    bool intersects(const math::Ray& ray, double maxDistance) const override
    {
        if (ray.direction.x == 0.0)
            return false;
        const double t = (position - ray.origin.x) / ray.direction.x;
        return t >= 1e-6 && maxDistance > t;
    }

private:
    double position;
};

} // namespace zorvpro::acoustics::testing
