#pragma once

#include "acoustics/engine/EngineLock.h"
#include "acoustics/engine/ISurface.h"

#include <memory>
#include <vector>

namespace zorvpro
{
namespace math
{
class Ray;
}

namespace acoustics
{

// The occluding surfaces given to the engine, by weak pointer, in the order added.
class Surfaces
{
public:
    // The surfaces that still exist, in order, held for the duration of one computation so
    // that worker threads test rays without taking the surfaces' lock.
    using Snapshot = std::vector<std::shared_ptr<ISurface>>;

    void add(std::weak_ptr<ISurface> surface);
    // Erases every entry that gives the same surface; an expired pointer erases every
    // expired entry.
    void remove(const std::weak_ptr<ISurface>& surface);
    void clear();
    size_t size() const;

    Snapshot snapshot() const;
    // True at the first surface that the ray meets nearer than maxDistance.
    static bool hitTest(const Snapshot& surfaces, const math::Ray& ray, double maxDistance);

private:
    mutable EngineLock lock;
    std::vector<std::weak_ptr<ISurface>> surfaces;
};

} // namespace acoustics
} // namespace zorvpro
