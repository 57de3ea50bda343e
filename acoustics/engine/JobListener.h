#pragma once

#include "acoustics/engine/JobWrapper.h"

#include <juce_core/juce_core.h>

#include <atomic>
#include <cstdint>
#include <memory>

namespace zorvpro
{
namespace acoustics
{

class WorkerPool;

// Follows one job through its states; the notifications do nothing in this class.
class JobListener
{
public:
    enum State : uint32_t
    {
        New = 0,
        Running = 2,
        ExitRequested = 3,
        Cancelled = 4,
        Finished = 5,
    };

    // Receives the worker pool's exit signal for the job and keeps the job's state.
    class Impl : public juce::Thread::Listener
    {
    public:
        explicit Impl(JobListener& owner) : owner(owner) {}

        // The pool interrupts the job: state ExitRequested, then the job's cancel flag is raised.
        void exitSignalSent() override;
        void setStarted(JobWrapper::Impl& job);
        // Moves Running to Finished unless an exit request came first; false when it did.
        bool beginCompletion();
        void setFinished(JobWrapper::Impl& job);
        void setCancelled(JobWrapper::Impl& job);
        uint32_t getState() const { return state.load(); }

        void attach(std::atomic<bool>* flag) { cancelFlag.store(flag); }

    private:
        JobListener& owner;
        std::atomic<std::atomic<bool>*> cancelFlag{nullptr};
        std::atomic<uint32_t> state{New};
    };

    JobListener();
    virtual ~JobListener();

    virtual void jobCancelled(JobWrapper::Impl&) {}
    virtual void jobStarted(JobWrapper::Impl&) {}
    virtual void jobFinished(JobWrapper::Impl&) {}

    Impl& GetImpl() { return *impl; }

private:
    std::unique_ptr<Impl> impl;
};

// Erases the job's record from its worker pool when the job is cancelled, finishes, or is
// destroyed without having run.
class ThreadPoolListener : public JobListener
{
public:
    ThreadPoolListener(WorkerPool& pool, uint64_t jobId);
    ~ThreadPoolListener() override;

    // Marks the worker thread as one of this pool's.
    void jobStarted(JobWrapper::Impl& job) override;
    void jobCancelled(JobWrapper::Impl& job) override;
    void jobFinished(JobWrapper::Impl& job) override;

private:
    WorkerPool& pool;
    uint64_t jobId;
};

} // namespace acoustics
} // namespace zorvpro
