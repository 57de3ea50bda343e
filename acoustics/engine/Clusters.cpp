#include "acoustics/engine/Clusters.h"

#include <algorithm>

namespace zorvpro
{
namespace acoustics
{

bool Clusters::add(std::shared_ptr<ClusterSource> cluster)
{
    EngineGuard guard(lock);
    if (!cluster || !held.insert(cluster->identity()).second)
        return false;
    clusters.push_back(std::move(cluster));
    return true;
}

std::shared_ptr<ClusterSource> Clusters::remove(const void* identity)
{
    EngineGuard guard(lock);
    auto found =
        std::find_if(clusters.begin(), clusters.end(),
                     [&](const std::shared_ptr<ClusterSource>& c) { return c->identity() == identity; });
    if (found == clusters.end())
        return nullptr;
    auto removed = *found;
    clusters.erase(found);
    held.erase(identity);
    return removed;
}

void Clusters::clear()
{
    EngineGuard guard(lock);
    clusters.clear();
    held.clear();
}

bool Clusters::empty() const
{
    EngineGuard guard(lock);
    return clusters.empty();
}

size_t Clusters::size() const
{
    EngineGuard guard(lock);
    return clusters.size();
}

Clusters::Snapshot Clusters::snapshot() const
{
    EngineGuard guard(lock);
    return clusters;
}

} // namespace acoustics
} // namespace zorvpro
