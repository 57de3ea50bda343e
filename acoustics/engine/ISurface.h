#pragma once

namespace zorvpro
{
namespace math
{
class Ray;
} // namespace math

namespace acoustics
{

// A surface that can block the line of sight between a loudspeaker and a field point.
// The engine holds surfaces by weak pointer and calls intersects() from its worker threads.
class ISurface
{
public:
    virtual ~ISurface() = default;

    // True when the ray meets the surface at a distance t along it with maxDistance > t.
    virtual bool intersects(const math::Ray& ray, double maxDistance) const = 0;
};

} // namespace acoustics
} // namespace zorvpro
