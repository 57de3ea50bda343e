#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace zorvpro
{

// Runs tasks one at a time on a worker thread of its own, in the order they
// were added, and hands their completions back to whichever thread calls
// RunCompletions (the GUI thread). No callable runs under a lock of the queue.
class ThreadedTaskQueue
{
public:
    using Callable = std::function<void()>;
    using Sleeper = std::function<void(std::chrono::milliseconds)>;

    struct TaskPair
    {
        Callable task;
        Callable onDone;
    };
    using TaskPairPtr = std::shared_ptr<TaskPair>;

    static constexpr std::chrono::milliseconds IdlePause{10};
    static constexpr std::chrono::milliseconds ErrorPause{500};

    ThreadedTaskQueue() = default;
    // Stops the worker; pairs still waiting are dropped unrun.
    virtual ~ThreadedTaskQueue();

    ThreadedTaskQueue(const ThreadedTaskQueue&) = delete;
    ThreadedTaskQueue& operator=(const ThreadedTaskQueue&) = delete;

    // From any thread. The worker finds the pair at its next look.
    void Add(Callable task, Callable onDone);

    // Runs the oldest pending task on the calling thread; false when none was
    // pending. A task that throws loses its pair and the exception leaves here.
    virtual bool ProcessOne();

    // Runs up to max(budget, 1) completions of finished tasks, oldest first.
    // Returns how many pairs were taken.
    int RunCompletions(int32_t budget);

    void Start();
    // Raises the stop flag and joins the worker; a later Start makes a new one.
    void Stop();

    // Replaces the worker's pauses (tests).
    void SetSleeper(Sleeper sleeper);

    // A task is pending, then running, then finished until its completion runs: read in that
    // order, the three counts never all miss a task on its way.
    size_t PendingCount() const;
    size_t RunningCount() const;
    size_t FinishedCount() const;

private:
    void TaskProcessor();
    void Pause(std::chrono::milliseconds duration);

    std::atomic<bool> m_stop{false};
    std::unique_ptr<std::thread> m_thread;

    mutable std::mutex m_pendingLock;
    std::deque<TaskPairPtr> m_pending;
    std::atomic<size_t> m_running{0};
    mutable std::mutex m_finishedLock;
    std::deque<TaskPairPtr> m_finished;

    std::mutex m_sleeperLock;
    Sleeper m_sleeper;
};

} // namespace zorvpro
