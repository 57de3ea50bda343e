#include "acoustics/engine/EngineThread.h"

#include "acoustics/engine/EngineLock.h"
#include "acoustics/engine/JobListener.h"
#include "acoustics/engine/WorkerPool.h"

#include <juce_core/juce_core.h>

#include <chrono>
#include <thread>
#include <vector>

namespace zorvpro
{
namespace acoustics
{

class EngineThread::Impl : public juce::Thread
{
public:
    explicit Impl(int threadCount)
        : juce::Thread("engineThread"), pool(std::make_unique<WorkerPool>(threadCount))
    {
    }

    ~Impl() override
    {
        if (dispatchStopped.load())
            dropPending();
        waitForAll(-1);
        signalThreadShouldExit();
        // No time limit: a thread given up on is killed, which aborts the process.
        stopThread(-1);
        dropPending();
        pool.reset();
    }

    uint64_t addJobs(Job job, Completion completion)
    {
        auto wrapperImpl = std::make_unique<JobWrapper::Impl>();
        const uint64_t id = wrapperImpl->GetId();
        wrapperImpl->SetListener(std::make_unique<ThreadPoolListener>(*pool, id));
        std::atomic<bool>& cancel = wrapperImpl->GetCancelFlag();
        wrapperImpl->SetJob([job = std::move(job), &cancel] { job(cancel); });
        if (completion)
            wrapperImpl->SetCompletion(std::move(completion));
        {
            EngineGuard guard(lock);
            pending.emplace_back(std::move(wrapperImpl));
        }
        if (!dispatchStopped.load())
            startAndWake();
        return id;
    }

    void start()
    {
        dispatchStopped.store(false);
        startAndWake();
    }

    void requestStop() { dispatchStopped.store(true); }

    void clearJobs() { cancelJobs(0); }

    void cancelJobs(int limitMs)
    {
        dropPending();
        pool->removeAll(limitMs);
    }

    void waitForJob(uint64_t id, int limitMs)
    {
        if (!pool)
            return;
        const auto begin = std::chrono::steady_clock::now();
        while (isPending(id))
        {
            if (limitMs >= 0 && elapsedMs(begin) > limitMs)
                return;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        if (id != 0)
            pool->waitForJob(id, remaining(begin, limitMs));
    }

    void waitForAll(int limitMs)
    {
        if (!pool)
            return;
        const auto begin = std::chrono::steady_clock::now();
        while (hasPending())
        {
            if (limitMs >= 0 && elapsedMs(begin) > limitMs)
                return;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        pool->waitForAll(remaining(begin, limitMs));
    }

    bool isBusy() const { return pool && pool->isBusy(); }
    uint32_t getNumThreads() const { return pool ? pool->getNumThreads() : 0; }
    bool isOwnThread() const
    {
        return (pool && pool->isPoolThread()) ||
               (isThreadRunning() && getThreadId() == juce::Thread::getCurrentThreadId());
    }

    void run() override
    {
        if (!pool)
            return;
        started.signal();
        while (!threadShouldExit())
        {
            wait(-1);
            dispatch();
        }
    }

private:
    static int64_t elapsedMs(std::chrono::steady_clock::time_point begin)
    {
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - begin)
            .count();
    }

    static int remaining(std::chrono::steady_clock::time_point begin, int limitMs)
    {
        if (limitMs < 0)
            return -1;
        return static_cast<int>(std::max<int64_t>(0, limitMs - elapsedMs(begin)));
    }

    void startAndWake()
    {
        if (!isThreadRunning())
        {
            EngineGuard guard(startLock);
            if (!isThreadRunning())
            {
                started.reset();
                startThread();
                started.wait(-1);
            }
        }
        notify();
    }

    void dispatch()
    {
        EngineGuard guard(lock);
        // Checked under the lock: once requestStop has returned and a later caller holds the
        // lock, nothing more reaches the pool.
        if (dispatchStopped.load())
            return;
        for (auto& wrapper : pending)
            pool->add(std::move(wrapper));
        pending.clear();
    }

    // The jobs are destroyed outside the lock: their data may do work when it goes.
    void dropPending()
    {
        std::vector<JobWrapper> dropped;
        {
            EngineGuard guard(lock);
            dropped.swap(pending);
        }
    }

    bool isPending(uint64_t id) const
    {
        EngineGuard guard(lock);
        for (const auto& wrapper : pending)
            if (wrapper.GetId() == id)
                return true;
        return false;
    }

    bool hasPending() const
    {
        EngineGuard guard(lock);
        return !pending.empty();
    }

    std::atomic<bool> dispatchStopped{false};
    std::unique_ptr<WorkerPool> pool;
    juce::WaitableEvent started{true};
    mutable EngineLock lock;
    EngineLock startLock;
    std::vector<JobWrapper> pending;
};

EngineThread::EngineThread(int threadCount) : impl(std::make_unique<Impl>(threadCount)) {}

EngineThread::~EngineThread() = default;

uint64_t EngineThread::addJobs(Job job, Completion completion)
{
    return impl->addJobs(std::move(job), std::move(completion));
}

void EngineThread::start()
{
    impl->start();
}

void EngineThread::requestStop()
{
    impl->requestStop();
}

void EngineThread::clearJobs()
{
    impl->clearJobs();
}

void EngineThread::cancelJobs(int limitMs)
{
    impl->cancelJobs(limitMs);
}

void EngineThread::waitForJob(uint64_t id, int limitMs)
{
    impl->waitForJob(id, limitMs);
}

void EngineThread::waitForAll(int limitMs)
{
    impl->waitForAll(limitMs);
}

bool EngineThread::isBusy() const
{
    return impl->isBusy();
}

uint32_t EngineThread::getNumThreads() const
{
    return impl->getNumThreads();
}

bool EngineThread::isDispatcherRunning() const
{
    return impl->isThreadRunning();
}

bool EngineThread::isOwnThread() const
{
    return impl->isOwnThread();
}

} // namespace acoustics
} // namespace zorvpro
