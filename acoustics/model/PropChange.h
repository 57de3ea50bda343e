#pragma once

#include "acoustics/model/RecursiveMutex.h"

#include <bitset>
#include <cstdint>
#include <unordered_set>

namespace zorvpro::acoustics
{

// Change codes published through PropChange::notify or handed to a
// PropChangeCollection directly.
enum PropChangeCode : uint32_t
{
    ClusterAdded = 1,
    ClusterRemoved = 2,
    SurfaceAdded = 3,
    SurfaceRemoved = 4,
    ModuleAdded = 5,
    ModuleRemoved = 6,
    MuteChanged = 7,
    ClusterGainChanged = 8,
    ClusterDelayChanged = 10,
    BeamChanged = 11,
    ClusterTransformChanged = 12,
    EnvironmentChanged = 13,
    FieldPointsChanged = 14,
};

class PropChangeListener
{
public:
    virtual void propChanged(uint32_t code) = 0;

protected:
    ~PropChangeListener() = default;
};

// Base of every acoustics object that publishes change codes.
class PropChange
{
public:
    using ChangeFlags = std::bitset<32>;

    PropChange() = default;
    virtual ~PropChange() = default;
    PropChange(const PropChange&) = delete;
    PropChange& operator=(const PropChange&) = delete;

    void addListener(PropChangeListener* listener);
    void removeListener(PropChangeListener* listener);

    // Sets the code's flag and calls every listener on this thread while the
    // publisher's lock is held. A code of 32 or more throws std::out_of_range
    // and calls nobody. A listener may remove itself (or others) while called;
    // a removed listener is not called again.
    void notify(uint32_t code);

    ChangeFlags changeFlags() const;
    void clearChangeFlags();

private:
    mutable RecursiveTimedMutex propChangeLock;
    ChangeFlags flags;
    std::unordered_set<PropChangeListener*> listeners;
};

} // namespace zorvpro::acoustics
