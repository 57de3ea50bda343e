#include "acoustics/engine/EngineThread.h"
#include "acoustics/engine/EngineLog.h"
#include "acoustics/engine/WorkerPool.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <future>
#include <set>
#include <thread>

using namespace zorvpro::acoustics;

namespace
{
// Names of this process's threads, as the system knows them.
std::vector<std::string> ThreadNames()
{
    std::vector<std::string> names;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task"))
    {
        std::ifstream comm(task.path() / "comm");
        std::string name;
        std::getline(comm, name);
        names.push_back(name);
    }
    return names;
}

// Spins until the job is interrupted, yielding so that the test machine stays usable.
void RunUntilCancelled(std::atomic<bool>& cancel)
{
    while (!cancel.load())
        std::this_thread::yield();
}
} // namespace

TEST(WorkerPool, SizeFollowsTheCoreRuleAndOverrides)
{
    EXPECT_EQ(WorkerPool::AutomaticThreadCount(8, 4), 4);
    EXPECT_EQ(WorkerPool::AutomaticThreadCount(4, 4), 3);
    EXPECT_EQ(WorkerPool::AutomaticThreadCount(1, 1), 1);
    EXPECT_EQ(WorkerPool::AutomaticThreadCount(2, 2), 1);
    EXPECT_EQ(WorkerPool(0).getNumThreads(), 1u);
    EXPECT_EQ(EngineThread(3).getNumThreads(), 3u);
    EXPECT_GE(EngineThread().getNumThreads(), 1u);
}

TEST(EngineThread, RunsJobThenCompletionOnAWorkerWithFreshIds)
{
    EngineThread engine(2);
    EXPECT_FALSE(engine.isDispatcherRunning()) << "made without starting the dispatcher";
    const auto before = ThreadNames();
    EXPECT_EQ(std::find(before.begin(), before.end(), "engineThread"), before.end());

    std::set<uint64_t> ids;
    std::atomic<int> order{0};
    std::atomic<int> jobSlot{-1}, completionSlot{-1};
    std::thread::id jobThread;
    const uint64_t first = engine.addJobs(
        [&](std::atomic<bool>&)
        {
            jobThread = std::this_thread::get_id();
            jobSlot = order++;
        },
        [&] { completionSlot = order++; });
    EXPECT_TRUE(engine.isDispatcherRunning());
    const auto names = ThreadNames();
    EXPECT_NE(std::find(names.begin(), names.end(), "engineThread"), names.end());
    engine.waitForJob(first, -1);
    EXPECT_EQ(jobSlot.load(), 0);
    EXPECT_EQ(completionSlot.load(), 1);
    EXPECT_NE(jobThread, std::this_thread::get_id());
    ids.insert(first);

    for (int i = 0; i < 50; ++i)
        ids.insert(engine.addJobs([](std::atomic<bool>&) {}));
    engine.waitForAll(-1);
    EXPECT_EQ(ids.size(), 51u) << "ids are never reused";
    EXPECT_EQ(ids.count(0), 0u);
    EXPECT_FALSE(engine.isBusy());
}

TEST(EngineThread, StoppedDispatchKeepsJobsPendingUntilStart)
{
    EngineThread engine(1);
    engine.requestStop();
    std::atomic<bool> ran{false};
    const uint64_t id = engine.addJobs([&](std::atomic<bool>&) { ran = true; });
    EXPECT_FALSE(engine.isBusy()) << "a pending job is not in the pool";
    engine.waitForJob(id, 20); // gives up: still pending
    EXPECT_FALSE(ran.load());

    engine.start();
    engine.waitForJob(id, -1);
    EXPECT_TRUE(ran.load());
}

TEST(EngineThread, WaitForUnknownJobReturnsAtOnce)
{
    EngineThread engine(1);
    engine.waitForJob(0, -1);
    engine.waitForJob(123456789, -1);
    engine.waitForAll(-1);
    EXPECT_FALSE(engine.isBusy());
    EXPECT_FALSE(engine.isDispatcherRunning()) << "waiting starts nothing";
}

TEST(EngineThread, CancelInterruptsRunningJobsAndSkipsTheirCompletions)
{
    EngineThread engine(2);
    std::promise<void> running;
    std::atomic<bool> sawCancel{false}, completed{false};
    const uint64_t id = engine.addJobs(
        [&](std::atomic<bool>& cancel)
        {
            running.set_value();
            RunUntilCancelled(cancel);
            sawCancel = true;
        },
        [&] { completed = true; });
    running.get_future().wait();
    EXPECT_TRUE(engine.isBusy());

    engine.cancelJobs(-1);
    EXPECT_TRUE(sawCancel.load()) << "cancelJobs(-1) returns after interrupted jobs";
    engine.waitForJob(id, -1);
    engine.waitForAll(-1);
    EXPECT_FALSE(completed.load());
    EXPECT_FALSE(engine.isBusy());
}

TEST(EngineThread, DroppedJobsNeverRunAndReleaseTheirData)
{
    EngineThread engine(1);
    engine.requestStop();
    auto data = std::make_shared<int>(5);
    std::atomic<bool> ran{false}, completed{false};
    engine.addJobs([&ran, data](std::atomic<bool>&) { ran = true; },
                   [&completed, data] { completed = true; });
    EXPECT_EQ(data.use_count(), 3);
    engine.clearJobs();
    EXPECT_EQ(data.use_count(), 1);
    engine.start();
    engine.waitForAll(-1);
    EXPECT_FALSE(ran.load());
    EXPECT_FALSE(completed.load());
}

TEST(EngineThread, ClearJobsFromAWorkerReturnsWithoutWaiting)
{
    EngineThread engine(2);
    std::atomic<bool> cancelledItself{false}, completed{false};
    const uint64_t id = engine.addJobs(
        [&](std::atomic<bool>& cancel)
        {
            engine.clearJobs(); // would deadlock if it waited for this very job
            cancelledItself = cancel.load();
        },
        [&] { completed = true; });
    engine.waitForJob(id, -1);
    engine.waitForAll(-1);
    EXPECT_TRUE(cancelledItself.load());
    EXPECT_FALSE(completed.load());
}

TEST(EngineThread, JobsQueuedByJobsAreAwaitedByWaitForAll)
{
    EngineThread engine(2);
    std::atomic<int> depth{0};
    std::function<void(std::atomic<bool>&)> chain = [&](std::atomic<bool>&)
    {
        if (++depth < 20)
            engine.addJobs(chain);
    };
    engine.addJobs(chain);
    engine.waitForAll(-1);
    EXPECT_EQ(depth.load(), 20);
}

TEST(EngineThread, ThrowingJobsAreContainedAndTheEngineKeepsWorking)
{
    EngineThread engine(1);
    std::atomic<bool> completed{false}, next{false};
    engine.addJobs([](std::atomic<bool>&) { throw std::runtime_error("boom"); }, [&] { completed = true; });
    engine.addJobs([](std::atomic<bool>&) {}, [] { throw 42; });
    const uint64_t last = engine.addJobs([&](std::atomic<bool>&) { next = true; });
    engine.waitForJob(last, -1);
    engine.waitForAll(-1);
    EXPECT_FALSE(completed.load()) << "a failed job counts as cancelled";
    EXPECT_TRUE(next.load());
    EXPECT_FALSE(engine.isBusy());
}

TEST(EngineThread, ExceptionTextNamesThePlace)
{
    EXPECT_EQ(ExceptionLogText("boom", "a/b.cpp", "runJob", 54),
              "Exception boom occurred @ 'a/b.cpp::runJob() Line 54'");
}

TEST(EngineThread, DestroyingWithStoppedDispatchAndPendingJobsDoesNotHang)
{
    auto data = std::make_shared<int>(1);
    {
        EngineThread engine(1);
        engine.addJobs([](std::atomic<bool>&) {});
        engine.requestStop();
        engine.addJobs([data](std::atomic<bool>&) {});
    }
    EXPECT_EQ(data.use_count(), 1);
}

TEST(EngineThread, OwnThreadsAreRecognised)
{
    EngineThread engine(1);
    EngineThread other(1);
    EXPECT_FALSE(engine.isOwnThread());
    std::atomic<bool> own{false}, foreign{true};
    const uint64_t id = engine.addJobs(
        [&](std::atomic<bool>&)
        {
            own = engine.isOwnThread();
            foreign = other.isOwnThread();
        });
    engine.waitForJob(id, -1);
    EXPECT_TRUE(own.load());
    EXPECT_FALSE(foreign.load());
}
