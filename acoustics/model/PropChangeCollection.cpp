#include "acoustics/model/PropChangeCollection.h"

#include <algorithm>
#include <memory>

namespace zorvpro::acoustics
{

// Marks one call of a listener as under way for as long as it runs.
class PropChangeCollection::CallScope
{
public:
    CallScope(PropChangeCollection& owner_, PropsChangedListener* listener) : owner(owner_)
    {
        owner.calls.push_back({listener, std::this_thread::get_id()});
        entry = owner.calls.back();
    }
    ~CallScope()
    {
        ScopedLock guard(owner.lock);
        auto it = std::find_if(owner.calls.begin(), owner.calls.end(),
                               [&](const Call& c)
                               { return c.listener == entry.listener && c.thread == entry.thread; });
        if (it != owner.calls.end())
            owner.calls.erase(it);
        owner.callFinished.notify_all();
    }
    CallScope(const CallScope&) = delete;
    CallScope& operator=(const CallScope&) = delete;

private:
    PropChangeCollection& owner;
    Call entry{};
};

PropChangeCollection::PropChangeCollection() : lastChange(0) {}

void PropChangeCollection::watch(PropChange* source)
{
    if (!source)
        return;
    ScopedLock guard(sourcesLock);
    sources.insert(source);
    source->addListener(this);
}

void PropChangeCollection::unwatch(PropChange* source)
{
    if (!source)
        return;
    ScopedLock guard(sourcesLock);
    sources.erase(source);
    source->removeListener(this);
}

void PropChangeCollection::addListener(PropsChangedListener* listener)
{
    if (!listener)
        return;
    ScopedLock guard(lock);
    listeners.insert(listener);
}

void PropChangeCollection::removeListener(PropsChangedListener* listener)
{
    if (!listener)
        return;
    std::unique_lock<RecursiveTimedMutex> guard(lock);
    listeners.erase(listener);
    const auto self = std::this_thread::get_id();
    // A listener removing itself from inside its call must not wait for it.
    callFinished.wait(guard,
                      [&]
                      {
                          return std::none_of(calls.begin(), calls.end(),
                                              [&](const Call& c)
                                              { return c.listener == listener && c.thread != self; });
                      });
}

void PropChangeCollection::propChanged(uint32_t code)
{
    std::vector<PropsChangedListener*> snapshot;
    {
        ScopedLock guard(lock);
        lastChange = Timestamp();
        codes.insert(code);
        snapshot.assign(listeners.begin(), listeners.end());
    }
    for (auto* listener : snapshot)
    {
        std::unique_ptr<CallScope> scope;
        {
            ScopedLock guard(lock);
            if (listeners.count(listener) == 0)
                continue;
            scope = std::make_unique<CallScope>(*this, listener);
        }
        listener->propsChanged(*this);
    }
}

bool PropChangeCollection::hasChanges() const
{
    ScopedLock guard(lock);
    return !codes.empty();
}

void PropChangeCollection::reset()
{
    {
        ScopedLock guard(lock);
        lastChange = Timestamp(0);
        codes.clear();
    }
    ScopedLock guard(sourcesLock);
    for (auto* source : sources)
        source->clearChangeFlags();
}

Timestamp PropChangeCollection::lastChangeTime() const
{
    ScopedLock guard(lock);
    return lastChange;
}

std::unordered_set<uint32_t> PropChangeCollection::changeCodes() const
{
    ScopedLock guard(lock);
    return codes;
}

} // namespace zorvpro::acoustics
