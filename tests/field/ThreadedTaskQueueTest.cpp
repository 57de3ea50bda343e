#include "data/Field/ThreadedTaskQueue.h"
#include "FieldTestSupport.h"
#include "tests/core/support/LogCapture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

namespace zorvpro
{
namespace
{

TEST(ThreadedTaskQueue, CompletionsRunWithinTheirBudgetInOrder)
{
    ThreadedTaskQueue queue;
    std::vector<int> done;
    queue.Add(nullptr, [&] { done.push_back(-1); }); // no task: still completes
    queue.Add([] {}, nullptr);                       // no completion: taken, nothing runs
    for (int i = 0; i < 148; ++i)
        queue.Add([] {}, [&, i] { done.push_back(i); });
    while (queue.ProcessOne())
    {
    }
    EXPECT_FALSE(queue.ProcessOne());
    ASSERT_EQ(queue.FinishedCount(), 150u);

    const struct
    {
        int32_t budget;
        int taken;
        size_t left;
    } ticks[] = {{100, 100, 50}, {0, 1, 49}, {-5, 1, 48}, {100, 48, 0}, {100, 0, 0}};
    for (const auto& tick : ticks)
    {
        EXPECT_EQ(queue.RunCompletions(tick.budget), tick.taken) << "budget " << tick.budget;
        EXPECT_EQ(queue.FinishedCount(), tick.left);
    }
    ASSERT_EQ(done.size(), 149u);
    EXPECT_EQ(done.front(), -1);
    for (size_t i = 1; i < done.size(); ++i)
        ASSERT_EQ(done[i], int(i) - 1);
}

// A task that has left the pending ones and not yet finished is counted as running, so that a
// caller waiting for the queue to be empty does not take a task in flight for none.
TEST(ThreadedTaskQueue, ATaskIsCountedAsRunningBetweenPendingAndFinished)
{
    ThreadedTaskQueue queue;
    std::array<size_t, 3> seen{9, 9, 9};
    queue.Add([&] { seen = {queue.PendingCount(), queue.RunningCount(), queue.FinishedCount()}; }, nullptr);
    queue.Add([] { throw std::runtime_error("lost"); }, nullptr);
    EXPECT_EQ(queue.RunningCount(), 0u);
    ASSERT_TRUE(queue.ProcessOne());
    EXPECT_EQ(seen, (std::array<size_t, 3>{1, 1, 0})) << "pending, running, finished while it ran";
    EXPECT_EQ(queue.RunningCount(), 0u);
    EXPECT_EQ(queue.FinishedCount(), 1u);
    EXPECT_THROW(queue.ProcessOne(), std::runtime_error);
    EXPECT_EQ(queue.RunningCount(), 0u) << "a task that threw still counts as running";
    EXPECT_EQ(queue.PendingCount() + queue.FinishedCount(), 1u);

    // On the worker: the task holds until it has been seen running, with nothing pending or finished.
    std::atomic<bool> release{false};
    queue.Add(
        [&]
        {
            while (!release.load())
                std::this_thread::yield();
        },
        nullptr);
    queue.Start();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (queue.PendingCount() != 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
    ASSERT_EQ(queue.PendingCount(), 0u) << "the worker does not take the task";
    EXPECT_EQ(queue.RunningCount(), 1u);
    EXPECT_EQ(queue.FinishedCount(), 1u) << "only the first task's pair";
    release.store(true);
    while (queue.FinishedCount() != 2 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
    queue.Stop();
    EXPECT_EQ(queue.FinishedCount(), 2u);
    EXPECT_EQ(queue.RunningCount(), 0u);
}

TEST(ThreadedTaskQueue, WorkerRunsTasksAwayFromTheCallerAndSurvivesAThrowingTask)
{
    ThreadedTaskQueue queue;
    std::mutex lock;
    std::vector<long> pauses;
    queue.SetSleeper(
        [&](std::chrono::milliseconds pause)
        {
            {
                std::lock_guard<std::mutex> guard(lock);
                pauses.push_back(long(pause.count()));
            }
            std::this_thread::yield();
        });
    const auto caller = std::this_thread::get_id();
    std::atomic<int> onWorker{0};
    std::vector<int> completed;
    test::LogCapture log;
    queue.Add([&] { onWorker += std::this_thread::get_id() != caller; }, [&] { completed.push_back(1); });
    queue.Add([] { throw std::runtime_error("cut failed"); }, [&] { completed.push_back(2); });
    queue.Add([&] { onWorker += std::this_thread::get_id() != caller; }, [&] { completed.push_back(3); });
    queue.Start();
    ASSERT_TRUE(field::testing::WaitUntil(
        [&]
        {
            queue.RunCompletions(100);
            return completed.size() == 2;
        }));
    queue.Stop();
    EXPECT_EQ(completed, (std::vector<int>{1, 3})) << "the throwing task's pair is lost";
    EXPECT_EQ(onWorker.load(), 2);
    {
        std::lock_guard<std::mutex> guard(lock);
        EXPECT_NE(std::find(pauses.begin(), pauses.end(), 500L), pauses.end());
    }
    const auto texts = log.Texts();
    EXPECT_NE(std::find_if(texts.begin(), texts.end(),
                           [](const std::string& t)
                           {
                               return t.find("cut failed") != std::string::npos &&
                                      t.find("src/data/ThreadedTaskQueue::TaskProcessor") !=
                                          std::string::npos;
                           }),
              texts.end());

    // Stopped: added pairs wait, and die unrun with the queue.
    bool ran = false;
    queue.Add([&] { ran = true; }, [&] { ran = true; });
    EXPECT_EQ(queue.PendingCount(), 1u);
    EXPECT_EQ(queue.RunCompletions(10), 0);
    EXPECT_FALSE(ran);
}

} // namespace
} // namespace zorvpro
