#include "acoustics/engine/JobListener.h"

#include "acoustics/engine/WorkerPool.h"

namespace zorvpro
{
namespace acoustics
{

void JobListener::Impl::exitSignalSent()
{
    state.exchange(ExitRequested);
    if (auto* flag = cancelFlag.load())
        flag->exchange(true);
}

void JobListener::Impl::setStarted(JobWrapper::Impl& job)
{
    if (state.exchange(Running) != Running)
        owner.jobStarted(job);
}

bool JobListener::Impl::beginCompletion()
{
    uint32_t expected = Running;
    // Finished marks the completion as under way; an exit request after this point is late.
    return state.compare_exchange_strong(expected, Finished);
}

void JobListener::Impl::setFinished(JobWrapper::Impl& job)
{
    state.store(Finished);
    owner.jobFinished(job);
}

void JobListener::Impl::setCancelled(JobWrapper::Impl& job)
{
    if (state.exchange(Cancelled) != Cancelled)
        owner.jobCancelled(job);
}

JobListener::JobListener() : impl(std::make_unique<Impl>(*this)) {}

JobListener::~JobListener() = default;

ThreadPoolListener::ThreadPoolListener(WorkerPool& pool, uint64_t jobId) : pool(pool), jobId(jobId)
{
    pool.jobCreated();
}

ThreadPoolListener::~ThreadPoolListener()
{
    pool.jobDestroyed(jobId);
}

void ThreadPoolListener::jobStarted(JobWrapper::Impl&)
{
    pool.jobStartedOnThisThread();
}

void ThreadPoolListener::jobCancelled(JobWrapper::Impl&)
{
    pool.erase(jobId);
}

void ThreadPoolListener::jobFinished(JobWrapper::Impl&)
{
    pool.erase(jobId);
}

} // namespace acoustics
} // namespace zorvpro
