#pragma once

#include "acoustics/engine/ClusterSource.h"
#include "acoustics/engine/EngineLock.h"

#include <memory>
#include <set>
#include <vector>

namespace zorvpro
{
namespace acoustics
{

// The clusters given to the engine, in the order added, each held once.
class Clusters
{
public:
    using Snapshot = std::vector<std::shared_ptr<ClusterSource>>;

    // False (and nothing changes) for an empty pointer or a cluster already held.
    bool add(std::shared_ptr<ClusterSource> cluster);
    // Erases the first entry of that cluster; the removed source, or empty when not held.
    std::shared_ptr<ClusterSource> remove(const void* identity);
    void clear();
    bool empty() const;
    size_t size() const;
    // A copy of the list, so that worker threads never read it while others change it.
    Snapshot snapshot() const;

private:
    mutable EngineLock lock;
    Snapshot clusters;
    std::set<const void*> held;
};

} // namespace acoustics
} // namespace zorvpro
