#include "acoustics/engine/WorkerPool.h"

#include <juce_core/juce_core.h>

#include <algorithm>
#include <chrono>

namespace zorvpro
{
namespace acoustics
{

namespace
{
// The pool whose job this thread last ran: a worker thread belongs to exactly one pool.
thread_local const WorkerPool* currentPool = nullptr;

// Polling step of every wait, so that a missed wake-up costs at most this long.
constexpr auto PollStep = std::chrono::milliseconds(2);
} // namespace

int WorkerPool::AutomaticThreadCount(int logicalCpus, int physicalCpus)
{
    const int count = logicalCpus > physicalCpus ? physicalCpus : physicalCpus - 1;
    return std::max(1, count);
}

WorkerPool::WorkerPool(int threadCount)
{
    const int count = threadCount == -1 ? AutomaticThreadCount(juce::SystemStats::getNumCpus(),
                                                               juce::SystemStats::getNumPhysicalCpus())
                                        : std::max(1, threadCount);
    threads = std::make_unique<WorkerThreads>(count);
}

WorkerPool::~WorkerPool()
{
    // Interrupts what still runs, waits for it, deletes the rest and joins the threads while
    // the records and the lock still exist.
    threads.reset();
}

uint64_t WorkerPool::add(JobWrapper wrapper)
{
    const uint64_t id = wrapper.GetId();
    JobWrapper::Impl* job = wrapper.Release();
    {
        // Recorded before the pool may run it, so that a fast job cannot leave a stale record.
        EngineGuard guard(lock);
        records.emplace(id, std::move(wrapper));
    }
    threads->add(std::unique_ptr<JobWrapper::Impl>(job));
    return id;
}

bool WorkerPool::isBusy() const
{
    EngineGuard guard(lock);
    return threads->getNumJobs() > 0;
}

uint32_t WorkerPool::getNumThreads() const
{
    EngineGuard guard(lock);
    return static_cast<uint32_t>(threads->getNumThreads());
}

bool WorkerPool::removeAll(int limitMs)
{
    return threads->removeAll(limitMs);
}

bool WorkerPool::contains(uint64_t id) const
{
    EngineGuard guard(lock);
    return records.count(id) != 0;
}

void WorkerPool::erase(uint64_t id)
{
    {
        EngineGuard guard(lock);
        records.erase(id);
    }
    signalChange();
}

bool WorkerPool::waitForJob(uint64_t id, int limitMs)
{
    if (id == 0)
        return true;
    return waitUntil([&] { return !contains(id); }, limitMs);
}

bool WorkerPool::waitForAll(int limitMs)
{
    return waitUntil(
        [&]
        {
            EngineGuard guard(lock);
            return records.empty() && threads->getNumJobs() == 0 && liveJobs.load() == 0;
        },
        limitMs);
}

template <typename Done> bool WorkerPool::waitUntil(Done done, int limitMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(limitMs, 0));
    for (;;)
    {
        if (done())
            return true;
        if (limitMs >= 0 && std::chrono::steady_clock::now() >= deadline)
            return false;
        std::unique_lock<std::mutex> wait(changeMutex);
        changed.wait_for(wait, PollStep);
    }
}

void WorkerPool::signalChange()
{
    {
        std::lock_guard<std::mutex> guard(changeMutex);
    }
    changed.notify_all();
}

bool WorkerPool::isPoolThread() const
{
    return currentPool == this;
}

void WorkerPool::jobCreated()
{
    ++liveJobs;
}

void WorkerPool::jobDestroyed(uint64_t id)
{
    {
        EngineGuard guard(lock);
        records.erase(id);
        --liveJobs;
    }
    signalChange();
}

void WorkerPool::jobStartedOnThisThread()
{
    currentPool = this;
}

} // namespace acoustics
} // namespace zorvpro
