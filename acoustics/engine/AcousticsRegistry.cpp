#include "acoustics/engine/AcousticsRegistry.h"

#include "acoustics/engine/ZorvAcousticsImpl.h"

#include <mutex>
#include <unordered_map>

namespace zorvpro
{
namespace acoustics
{

namespace
{
struct Registry
{
    std::recursive_timed_mutex lock;
    std::unordered_map<uint32_t, std::shared_ptr<IZorvAcoustics>> engines;
};

Registry& TheRegistry()
{
    static Registry registry;
    return registry;
}
} // namespace

std::shared_ptr<IZorvAcoustics> getAcousticsEngine(uint32_t key)
{
    Registry& registry = TheRegistry();
    std::lock_guard<std::recursive_timed_mutex> guard(registry.lock);
    auto found = registry.engines.find(key);
    if (found != registry.engines.end())
        return found->second;
    std::shared_ptr<IZorvAcoustics> engine = ZorvAcousticsImpl::create();
    if (!engine)
        return engine;
    registry.engines[key] = engine;
    return engine;
}

void releaseAcousticsEngine(uint32_t key)
{
    Registry& registry = TheRegistry();
    std::lock_guard<std::recursive_timed_mutex> guard(registry.lock);
    registry.engines.erase(key);
}

} // namespace acoustics
} // namespace zorvpro
