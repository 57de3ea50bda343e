#include "data/Field/ThreadedTaskQueue.h"
#include "FieldTestSupport.h"
#include "tests/core/support/LogCapture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

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
