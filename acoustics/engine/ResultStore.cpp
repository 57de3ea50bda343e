#include "acoustics/engine/ResultStore.h"

#include "acoustics/engine/CalcListener.h"

namespace zorvpro
{
namespace acoustics
{

// Called under the lock; iterates a copy so that a listener may remove itself.
template <typename Call> void ResultStore::callListeners(Call call)
{
    const auto current = listeners;
    for (auto* listener : current)
        call(*listener);
}

std::shared_ptr<FieldPointsData> ResultStore::getDataSet(uint64_t id) const
{
    EngineGuard guard(lock);
    auto found = results.find(id);
    return found == results.end() ? nullptr : found->second;
}

bool ResultStore::hasResults() const
{
    EngineGuard guard(lock);
    return !results.empty();
}

void ResultStore::publishDataSet(uint64_t id, std::shared_ptr<FieldPointsData> points,
                                 Generation stepGeneration)
{
    EngineGuard guard(lock);
    if (stepGeneration != generation)
        return;
    results[id] = std::move(points);
    callListeners([id](CalcListener& listener) { listener.dataSetReady(id); });
}

void ResultStore::notifyCalculationStarted(Generation stepGeneration)
{
    EngineGuard guard(lock);
    if (stepGeneration != generation)
        return;
    if (steps.load() == 0)
        callListeners([](CalcListener& listener) { listener.calcStarted(); });
    ++steps;
}

void ResultStore::notifyCalculationFinished(Generation stepGeneration)
{
    EngineGuard guard(lock);
    if (stepGeneration != generation || steps.load() <= 0)
        return;
    if (--steps < 1)
        callListeners([](CalcListener& listener) { listener.calcStateChanged(false); });
}

void ResultStore::notifyResultsCleared()
{
    EngineGuard guard(lock);
    abandonLocked();
}

void ResultStore::abandonGeneration(Generation stepGeneration)
{
    EngineGuard guard(lock);
    if (stepGeneration == generation)
        abandonLocked();
}

void ResultStore::abandonLocked()
{
    ++generation;
    if (steps.load() > 0)
    {
        steps.store(0);
        callListeners([](CalcListener& listener) { listener.calcStateChanged(true); });
    }
}

ResultStore::Generation ResultStore::currentGeneration() const
{
    EngineGuard guard(lock);
    return generation;
}

void ResultStore::addCalcListener(CalcListener* listener)
{
    EngineGuard guard(lock);
    if (listener)
        listeners.insert(listener);
}

void ResultStore::removeCalcListener(CalcListener* listener)
{
    EngineGuard guard(lock);
    listeners.erase(listener);
}

} // namespace acoustics
} // namespace zorvpro
