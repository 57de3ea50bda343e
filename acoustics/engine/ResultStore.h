#pragma once

#include "acoustics/engine/EngineLock.h"
#include "acoustics/engine/FieldPointsData.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <unordered_set>

namespace zorvpro
{
namespace acoustics
{

class CalcListener;

// The published results of one engine, its calculation listeners and the count of open
// calculation steps. Listeners are called under the store's lock on the calling thread.
//
// Every step carries the generation in which it was opened. notifyResultsCleared starts a new
// generation, so steps and results of a cleared calculation that arrive late neither drive the
// count below zero nor suppress calcStarted of the next calculation, nor publish stale results.
class ResultStore
{
public:
    using Generation = uint64_t;

    std::shared_ptr<FieldPointsData> getDataSet(uint64_t id) const;
    bool hasResults() const;
    // Stores the points with their data set under id and calls dataSetReady, unless the
    // results belong to a cleared generation.
    void publishDataSet(uint64_t id, std::shared_ptr<FieldPointsData> points, Generation generation);

    // Opens a step; the first open step of a generation calls calcStarted.
    void notifyCalculationStarted(Generation generation);
    // Closes a step; closing the last one calls calcStateChanged(false).
    void notifyCalculationFinished(Generation generation);
    // Abandons the open steps (calcStateChanged(true) when there were any) and starts a new
    // generation. Stored results stay.
    void notifyResultsCleared();
    // As notifyResultsCleared, but only while the given generation is the current one: a
    // calculation that fails ends itself without touching a newer calculation's steps.
    void abandonGeneration(Generation generation);

    Generation currentGeneration() const;
    int32_t openSteps() const { return steps.load(); }

    void addCalcListener(CalcListener* listener);
    void removeCalcListener(CalcListener* listener);

private:
    template <typename Call> void callListeners(Call call);
    void abandonLocked();

    std::unordered_map<uint64_t, std::shared_ptr<FieldPointsData>> results;
    std::unordered_set<CalcListener*> listeners;
    std::atomic<int32_t> steps{0};
    Generation generation = 1;
    mutable EngineLock lock;
};

} // namespace acoustics
} // namespace zorvpro
