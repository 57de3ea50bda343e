#pragma once

#include "acoustics/engine/JobWrapper.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace zorvpro
{
namespace acoustics
{

// The threads of one worker pool: they run the queued jobs in the order queued and delete each
// once it has run. Stopping never gives up on a thread, however slow the machine: the destructor
// interrupts the running jobs, waits for them and joins every thread, with no time limit.
class WorkerThreads
{
public:
    explicit WorkerThreads(int count);
    ~WorkerThreads();

    WorkerThreads(const WorkerThreads&) = delete;
    WorkerThreads& operator=(const WorkerThreads&) = delete;

    // Takes the job over.
    void add(std::unique_ptr<JobWrapper::Impl> job);
    // Jobs queued or running.
    int getNumJobs() const;
    int getNumThreads() const;
    // Deletes the queued jobs, signals the running ones to exit and waits up to limitMs (negative:
    // no limit) for them to return. False when some were still running at the limit.
    bool removeAll(int limitMs);

    // True on a thread of any WorkerThreads.
    static bool IsWorkerThread();

private:
    void run();
    // Waited for by id, not address: a deleted job's address may come back for a new one.
    bool anyRunning(const std::vector<uint64_t>& ids) const;

    mutable std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable returned;
    std::deque<std::unique_ptr<JobWrapper::Impl>> queue;
    // Left under the lock before the job is deleted.
    std::vector<JobWrapper::Impl*> running;
    bool stopping = false;
    std::vector<std::thread> threads;
};

} // namespace acoustics
} // namespace zorvpro
