#include "acoustics/engine/Surfaces.h"

#include "core/math/Ray.h"

#include <algorithm>

namespace zorvpro
{
namespace acoustics
{

void Surfaces::add(std::weak_ptr<ISurface> surface)
{
    EngineGuard guard(lock);
    surfaces.push_back(std::move(surface));
}

void Surfaces::remove(const std::weak_ptr<ISurface>& surface)
{
    EngineGuard guard(lock);
    const auto target = surface.lock();
    surfaces.erase(std::remove_if(surfaces.begin(), surfaces.end(),
                                  [&](const std::weak_ptr<ISurface>& held) { return held.lock() == target; }),
                   surfaces.end());
}

void Surfaces::clear()
{
    EngineGuard guard(lock);
    surfaces.clear();
}

size_t Surfaces::size() const
{
    EngineGuard guard(lock);
    return surfaces.size();
}

Surfaces::Snapshot Surfaces::snapshot() const
{
    EngineGuard guard(lock);
    Snapshot live;
    live.reserve(surfaces.size());
    for (const auto& held : surfaces)
        if (auto surface = held.lock())
            live.push_back(std::move(surface));
    return live;
}

bool Surfaces::hitTest(const Snapshot& surfaces, const math::Ray& ray, double maxDistance)
{
    for (const auto& surface : surfaces)
        if (surface->intersects(ray, maxDistance))
            return true;
    return false;
}

} // namespace acoustics
} // namespace zorvpro
