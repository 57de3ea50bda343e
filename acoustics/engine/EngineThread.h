#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

namespace zorvpro
{
namespace acoustics
{

// The engine's threads: a dispatcher thread named "engineThread" that moves queued jobs, in
// the order queued, into a pool of worker threads. A worker runs a job and then its completion;
// a job interrupted by clearJobs/cancelJobs sees its cancel flag raised and its completion does
// not run. Every operation may be called from any thread, worker threads included.
class EngineThread
{
public:
    using Job = std::function<void(std::atomic<bool>& cancel)>;
    using Completion = std::function<void()>;

    // threadCount -1 sizes the worker pool from the processor; the dispatcher is not started.
    explicit EngineThread(int threadCount = -1);
    // Waits for the jobs, then stops the dispatcher and the pool's threads and joins them, however
    // long a loaded machine takes to run them.
    ~EngineThread();

    EngineThread(const EngineThread&) = delete;
    EngineThread& operator=(const EngineThread&) = delete;

    // Queues a job; returns its id (never reused, never 0).
    uint64_t addJobs(Job job, Completion completion = {});
    // Starts the dispatcher if needed and resumes dispatching.
    void start();
    // Stops dispatching; queued jobs stay queued.
    void requestStop();
    // Drops queued jobs and interrupts pooled ones without waiting.
    void clearJobs();
    // As clearJobs, then waits up to limitMs (negative: no limit) for interrupted jobs to return.
    void cancelJobs(int limitMs);
    void waitForJob(uint64_t id, int limitMs);
    void waitForAll(int limitMs);
    // A job is in the worker pool (queued jobs not yet dispatched do not count).
    bool isBusy() const;
    uint32_t getNumThreads() const;

    bool isDispatcherRunning() const;
    // True on the dispatcher thread or one of the pool's worker threads.
    bool isOwnThread() const;

private:
    class Impl;
    std::unique_ptr<Impl> impl;
};

} // namespace acoustics
} // namespace zorvpro
