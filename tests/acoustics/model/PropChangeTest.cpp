#include "acoustics/model/PropChangeCollection.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

using namespace zorvpro::acoustics;

namespace
{

struct RecordingListener : PropChangeListener
{
    std::vector<uint32_t> codes;
    void propChanged(uint32_t code) override { codes.push_back(code); }
};

// Removes itself, and optionally another listener, when first called.
struct LeavingListener : PropChangeListener
{
    PropChange* source = nullptr;
    PropChangeListener* alsoRemove = nullptr;
    int calls = 0;
    void propChanged(uint32_t) override
    {
        ++calls;
        source->removeListener(this);
        source->removeListener(alsoRemove);
    }
};

struct CountingPropsListener : PropsChangedListener
{
    std::atomic<int> calls{0};
    void propsChanged(PropChangeCollection&) override { ++calls; }
};

struct LeavingPropsListener : PropsChangedListener
{
    PropsChangedListener* alsoRemove = nullptr;
    int calls = 0;
    void propsChanged(PropChangeCollection& changes) override
    {
        ++calls;
        changes.removeListener(this);
        changes.removeListener(alsoRemove);
    }
};

} // namespace

TEST(PropChange, NotifySetsFlagAndCallsListeners)
{
    PropChange source;
    RecordingListener a, b;
    source.addListener(&a);
    source.addListener(&b);
    source.notify(31);
    EXPECT_TRUE(source.changeFlags().test(31));
    EXPECT_EQ(a.codes, std::vector<uint32_t>{31});
    EXPECT_EQ(b.codes, std::vector<uint32_t>{31});

    try
    {
        source.notify(32);
        FAIL() << "expected out_of_range";
    }
    catch (const std::out_of_range& e)
    {
        EXPECT_STREQ(e.what(), "invalid bitset<N> position");
    }
    EXPECT_EQ(a.codes.size(), 1u);
    EXPECT_EQ(source.changeFlags().count(), 1u);
}

TEST(PropChange, ListenerHeldOnceAndNullIgnored)
{
    PropChange source;
    RecordingListener a;
    source.addListener(&a);
    source.addListener(&a);
    source.addListener(nullptr);
    source.notify(13);
    EXPECT_EQ(a.codes.size(), 1u);
    source.removeListener(&a);
    source.removeListener(nullptr);
    source.notify(13);
    EXPECT_EQ(a.codes.size(), 1u);
}

TEST(PropChange, ListenersMayRemoveThemselvesAndOthersWhileCalled)
{
    for (int round = 0; round < 8; ++round)
    {
        PropChange source;
        RecordingListener other;
        LeavingListener leaving;
        leaving.source = &source;
        leaving.alsoRemove = &other;
        source.addListener(&other);
        source.addListener(&leaving);
        source.notify(5);
        EXPECT_EQ(leaving.calls, 1);
        // Called before the leaving listener or removed by it, never after.
        source.notify(6);
        EXPECT_EQ(leaving.calls, 1);
        EXPECT_LE(other.codes.size(), 1u);
    }
}

TEST(PropChangeCollection, GathersCodesAndResets)
{
    PropChangeCollection changes;
    PropChange source;
    CountingPropsListener listener;
    changes.addListener(&listener);
    changes.watch(&source);
    EXPECT_FALSE(changes.hasChanges());
    EXPECT_EQ(changes.lastChangeTime().Milliseconds(), 0);

    source.notify(13);
    source.notify(13);
    changes.propChanged(1);
    EXPECT_TRUE(changes.hasChanges());
    EXPECT_EQ(changes.changeCodes(), (std::unordered_set<uint32_t>{1, 13}));
    EXPECT_EQ(listener.calls, 3);
    EXPECT_NE(changes.lastChangeTime().Milliseconds(), 0);
    EXPECT_TRUE(source.changeFlags().test(13));

    changes.reset();
    EXPECT_FALSE(changes.hasChanges());
    EXPECT_EQ(changes.lastChangeTime().Milliseconds(), 0);
    EXPECT_TRUE(source.changeFlags().none());

    changes.unwatch(&source);
    source.notify(7);
    EXPECT_FALSE(changes.hasChanges());
    // An unwatched source keeps its flags through a reset.
    changes.reset();
    EXPECT_TRUE(source.changeFlags().test(7));
}

TEST(PropChangeCollection, NullArgumentsChangeNothing)
{
    PropChangeCollection changes;
    CountingPropsListener listener;
    changes.addListener(&listener);
    changes.watch(nullptr);
    changes.unwatch(nullptr);
    changes.addListener(nullptr);
    changes.removeListener(nullptr);
    changes.propChanged(2);
    EXPECT_EQ(listener.calls, 1);
    changes.removeListener(&listener);
    changes.propChanged(2);
    EXPECT_EQ(listener.calls, 1);
}

TEST(PropChangeCollection, ListenerMayLeaveWhileCalled)
{
    PropChangeCollection changes;
    LeavingPropsListener leaving;
    CountingPropsListener other;
    leaving.alsoRemove = &other;
    changes.addListener(&leaving);
    changes.addListener(&other);
    changes.propChanged(3);
    changes.propChanged(4);
    EXPECT_EQ(leaving.calls, 1);
    EXPECT_LE(other.calls, 1);
}

// A worker resets while other threads publish, watch, unwatch and change the
// listeners: none of them may block the others for good, nor call a listener
// that was removed and destroyed.
TEST(PropChangeCollection, ConcurrentPublishResetAndListenerChurn)
{
    PropChangeCollection changes;
    PropChange sources[3];
    for (auto& s : sources)
        changes.watch(&s);
    CountingPropsListener steady;
    changes.addListener(&steady);

    constexpr int Rounds = 3000;
    std::vector<std::thread> threads;
    for (int t = 0; t < 2; ++t)
        threads.emplace_back(
            [&, t]
            {
                for (int i = 0; i < Rounds; ++i)
                    sources[t].notify(static_cast<uint32_t>(i % 15));
            });
    threads.emplace_back(
        [&]
        {
            for (int i = 0; i < Rounds; ++i)
                changes.reset();
        });
    threads.emplace_back(
        [&]
        {
            for (int i = 0; i < Rounds; ++i)
            {
                CountingPropsListener passing;
                changes.addListener(&passing);
                changes.removeListener(&passing);
                if (i % 10 == 0)
                {
                    changes.unwatch(&sources[2]);
                    sources[2].notify(9);
                    changes.watch(&sources[2]);
                }
            }
        });
    threads.emplace_back(
        [&]
        {
            for (int i = 0; i < Rounds; ++i)
            {
                RecordingListener direct;
                sources[i % 3].addListener(&direct);
                sources[i % 3].removeListener(&direct);
            }
        });
    for (auto& t : threads)
        t.join();

    EXPECT_EQ(steady.calls.load(), 2 * Rounds);
    changes.reset();
    EXPECT_FALSE(changes.hasChanges());
    sources[0].notify(8);
    EXPECT_TRUE(changes.hasChanges());
}

namespace
{
struct BlockingPropsListener : PropsChangedListener
{
    std::atomic<bool> entered{false};
    std::atomic<bool> release{false};
    std::atomic<bool> finished{false};
    void propsChanged(PropChangeCollection&) override
    {
        entered = true;
        while (!release)
            std::this_thread::yield();
        finished = true;
    }
};
} // namespace

TEST(PropChangeCollection, RemoveWaitsForCallUnderWayOnAnotherThread)
{
    PropChangeCollection changes;
    BlockingPropsListener listener;
    changes.addListener(&listener);
    std::thread publisher([&] { changes.propChanged(11); });
    while (!listener.entered)
        std::this_thread::yield();

    std::atomic<bool> removed{false};
    bool finishedWhenRemoved = false;
    std::thread remover(
        [&]
        {
            changes.removeListener(&listener);
            finishedWhenRemoved = listener.finished;
            removed = true;
        });
    // Give the remover a chance to return early if it does not wait.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(removed);
    listener.release = true;
    publisher.join();
    remover.join();
    EXPECT_TRUE(finishedWhenRemoved);
}
