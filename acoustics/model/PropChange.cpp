#include "acoustics/model/PropChange.h"

#include <stdexcept>
#include <vector>

namespace zorvpro::acoustics
{

void PropChange::addListener(PropChangeListener* listener)
{
    if (!listener)
        return;
    ScopedLock lock(propChangeLock);
    listeners.insert(listener);
}

void PropChange::removeListener(PropChangeListener* listener)
{
    if (!listener)
        return;
    ScopedLock lock(propChangeLock);
    listeners.erase(listener);
}

void PropChange::notify(uint32_t code)
{
    ScopedLock lock(propChangeLock);
    if (code >= flags.size())
        throw std::out_of_range("invalid bitset<N> position");
    flags.set(code);
    // Listeners may change the set while being called, so walk a snapshot and
    // skip any that left it meanwhile.
    const std::vector<PropChangeListener*> snapshot(listeners.begin(), listeners.end());
    for (auto* listener : snapshot)
        if (listeners.count(listener) != 0)
            listener->propChanged(code);
}

PropChange::ChangeFlags PropChange::changeFlags() const
{
    ScopedLock lock(propChangeLock);
    return flags;
}

void PropChange::clearChangeFlags()
{
    ScopedLock lock(propChangeLock);
    flags.reset();
}

} // namespace zorvpro::acoustics
