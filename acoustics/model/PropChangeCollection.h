#pragma once

#include "acoustics/model/PropChange.h"
#include "core/math/Timestamp.h"

#include <condition_variable>
#include <thread>
#include <unordered_set>
#include <vector>

namespace zorvpro::acoustics
{

class PropChangeCollection;

class PropsChangedListener
{
public:
    virtual void propsChanged(PropChangeCollection& changes) = 0;

protected:
    ~PropsChangedListener() = default;
};

// Watches publishers, gathers the codes they publish with the time of the
// last one, and tells its own listeners.
//
// Publishers call in holding their own lock, so this class never takes a
// publisher's lock (nor calls out) while holding its own: it copies what it
// needs, releases, then calls. The watched set has a lock of its own, taken
// before a publisher's lock, so that once unwatch returns no reset still
// touches that publisher; watch, unwatch and reset must therefore not be
// called from inside a notification.
class PropChangeCollection : public PropChangeListener
{
public:
    PropChangeCollection();
    virtual ~PropChangeCollection() = default;
    PropChangeCollection(const PropChangeCollection&) = delete;
    PropChangeCollection& operator=(const PropChangeCollection&) = delete;

    void watch(PropChange* source);
    void unwatch(PropChange* source);
    void addListener(PropsChangedListener* listener);
    // Once this returns the listener is not being called on any other thread
    // and will not be called again, so it may be destroyed. It waits for calls
    // under way elsewhere: do not hold a lock here that the listener takes.
    void removeListener(PropsChangedListener* listener);

    // Records the code and the time, then calls every listener. A listener
    // removed while others are being called is not called afterwards.
    void propChanged(uint32_t code) override;

    bool hasChanges() const;
    // Forgets the gathered codes and the time and clears every source's flags.
    void reset();

    Timestamp lastChangeTime() const;
    std::unordered_set<uint32_t> changeCodes() const;

private:
    mutable RecursiveTimedMutex lock;
    Timestamp lastChange;
    RecursiveTimedMutex sourcesLock;
    std::unordered_set<PropChange*> sources;
    std::unordered_set<uint32_t> codes;
    std::unordered_set<PropsChangedListener*> listeners;

    struct Call
    {
        PropsChangedListener* listener;
        std::thread::id thread;
    };
    class CallScope;
    std::vector<Call> calls;
    std::condition_variable_any callFinished;
};

} // namespace zorvpro::acoustics
