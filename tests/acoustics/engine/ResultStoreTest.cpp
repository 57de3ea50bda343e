#include "acoustics/engine/ResultStore.h"
#include "RecordingListener.h"

#include <gtest/gtest.h>

using namespace zorvpro::acoustics;
using zorvpro::acoustics::testing::RecordingListener;

TEST(ResultStore, StepsOpenAndCloseWithOneStartAndOneFinish)
{
    ResultStore store;
    RecordingListener listener;
    store.addCalcListener(&listener);
    const auto generation = store.currentGeneration();

    store.notifyCalculationStarted(generation);
    store.notifyCalculationStarted(generation);
    EXPECT_EQ(listener.joined(), "started") << "only the step that finds no open step starts";
    store.notifyCalculationFinished(generation);
    EXPECT_EQ(listener.joined(), "started");
    store.notifyCalculationFinished(generation);
    EXPECT_EQ(listener.joined(), "started finished");
    EXPECT_EQ(store.openSteps(), 0);

    store.removeCalcListener(&listener);
    store.notifyCalculationStarted(generation);
    EXPECT_EQ(listener.joined(), "started finished");
}

TEST(ResultStore, PublishesAndReplacesResultsById)
{
    ResultStore store;
    RecordingListener listener;
    store.addCalcListener(&listener);
    EXPECT_FALSE(store.hasResults());
    EXPECT_EQ(store.getDataSet(7), nullptr);

    auto first = std::make_shared<FieldPointsData>();
    auto second = std::make_shared<FieldPointsData>();
    store.publishDataSet(7, first, store.currentGeneration());
    EXPECT_TRUE(store.hasResults());
    EXPECT_EQ(store.getDataSet(7), first);
    store.publishDataSet(7, second, store.currentGeneration());
    EXPECT_EQ(store.getDataSet(7), second);
    EXPECT_EQ(store.getDataSet(8), nullptr);
    EXPECT_EQ(listener.joined(), "ready:7 ready:7");

    store.notifyResultsCleared();
    EXPECT_EQ(store.getDataSet(7), second) << "clearing abandons steps, not results";
    EXPECT_EQ(listener.joined(), "ready:7 ready:7") << "no open step: nothing to abandon";
}

TEST(ResultStore, LateStepsOfAClearedCalculationDoNotDisturbTheNextOne)
{
    ResultStore store;
    RecordingListener listener;
    store.addCalcListener(&listener);
    const auto old = store.currentGeneration();
    store.notifyCalculationStarted(old);
    store.notifyCalculationStarted(old);

    store.notifyResultsCleared();
    EXPECT_EQ(listener.joined(), "started abandoned");
    const auto next = store.currentGeneration();
    EXPECT_NE(next, old);

    // The old calculation's steps finish late, and one even publishes.
    store.notifyCalculationFinished(old);
    store.notifyCalculationFinished(old);
    store.publishDataSet(3, std::make_shared<FieldPointsData>(), old);
    EXPECT_EQ(store.openSteps(), 0);
    EXPECT_EQ(store.getDataSet(3), nullptr);

    store.notifyCalculationStarted(next);
    store.abandonGeneration(old); // a late failure of the old calculation leaves this one open
    EXPECT_EQ(store.openSteps(), 1);
    store.publishDataSet(3, std::make_shared<FieldPointsData>(), next);
    store.notifyCalculationFinished(next);
    EXPECT_EQ(listener.joined(), "started abandoned started ready:3 finished");

    // A failure of the current calculation abandons its open steps and retires it.
    store.notifyCalculationStarted(store.currentGeneration());
    store.abandonGeneration(store.currentGeneration());
    EXPECT_EQ(store.openSteps(), 0);
    EXPECT_EQ(listener.joined(), "started abandoned started ready:3 finished started abandoned");
    EXPECT_NE(store.currentGeneration(), next);
}

TEST(ResultStore, AListenerMayRemoveItselfWhileCalled)
{
    struct Leaving : RecordingListener
    {
        ResultStore* store = nullptr;
        void calcStarted() override
        {
            RecordingListener::calcStarted();
            store->removeCalcListener(this);
        }
    };
    ResultStore store;
    Leaving leaving;
    RecordingListener staying;
    leaving.store = &store;
    store.addCalcListener(&leaving);
    store.addCalcListener(&staying);
    store.notifyCalculationStarted(store.currentGeneration());
    store.notifyCalculationFinished(store.currentGeneration());
    EXPECT_EQ(leaving.joined(), "started");
    EXPECT_EQ(staying.joined(), "started finished");
}
