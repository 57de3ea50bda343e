#pragma once

#include "acoustics/engine/EngineLock.h"
#include "acoustics/engine/JobWrapper.h"
#include "acoustics/engine/WorkerThreads.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>

namespace zorvpro
{
namespace acoustics
{

// The worker threads of one engine and the records of the jobs handed to them.
class WorkerPool
{
public:
    // threadCount -1 sizes the pool from the processor (AutomaticThreadCount); any other
    // request is raised to at least 1.
    explicit WorkerPool(int threadCount = -1);
    ~WorkerPool();

    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    // As many threads as physical cores when the processor has more logical than physical
    // cores, else one fewer than the physical cores; at least one.
    static int AutomaticThreadCount(int logicalCpus, int physicalCpus);

    // Records the wrapper, then hands its Impl to the pool, which deletes it once it has run.
    uint64_t add(JobWrapper wrapper);
    bool isBusy() const;
    uint32_t getNumThreads() const;
    // Removes every job, interrupting running ones, and waits up to limitMs (negative: no
    // limit) for them to return. False when some were still running at the limit.
    bool removeAll(int limitMs);
    // Waits until the job has run and left the pool; true at once for an unknown id.
    bool waitForJob(uint64_t id, int limitMs);
    // Waits until no job of this pool is left, dispatched or not, with all its data destroyed.
    bool waitForAll(int limitMs);
    bool contains(uint64_t id) const;
    void erase(uint64_t id);

    // True on one of this pool's worker threads.
    bool isPoolThread() const;

    // Bookkeeping of ThreadPoolListener: one per job alive, queued or dispatched.
    void jobCreated();
    void jobDestroyed(uint64_t id);
    void jobStartedOnThisThread();

private:
    void signalChange();
    template <typename Done> bool waitUntil(Done done, int limitMs);

    std::map<uint64_t, JobWrapper> records;
    mutable EngineLock lock;
    std::mutex changeMutex;
    std::condition_variable changed;
    std::atomic<int64_t> liveJobs{0};
    // Declared last so that it is destroyed first: its threads may still delete jobs,
    // which erase their records here.
    std::unique_ptr<WorkerThreads> threads;
};

} // namespace acoustics
} // namespace zorvpro
