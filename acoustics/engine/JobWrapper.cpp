#include "acoustics/engine/JobWrapper.h"

#include "acoustics/engine/EngineLog.h"
#include "acoustics/engine/JobListener.h"

namespace zorvpro
{
namespace acoustics
{

namespace
{
// Ids are counted, never taken from addresses, so that a new job never answers for an old one.
std::atomic<uint64_t> nextJobId{1};

// Runs one part of a job; an exception is logged and reported as false.
template <typename Function> bool RunGuarded(Function& function, const char* part)
{
    try
    {
        if (function)
            function();
        return true;
    }
    catch (const std::exception& e)
    {
        LogEngineException(e, __FILE__, part, __LINE__);
    }
    catch (...)
    {
        LogEngineUnknownException(__FILE__, part, __LINE__);
    }
    return false;
}
} // namespace

JobWrapper::Impl::Impl() : juce::ThreadPoolJob("jobWrapper"), id(nextJobId++) {}

JobWrapper::Impl::~Impl()
{
    // The job's data goes first; the listener last, so that whoever waits for this job's
    // record to vanish knows its data is gone too.
    job = nullptr;
    completion = nullptr;
    if (listener)
        removeListener(&listener->GetImpl());
    listener.reset();
}

void JobWrapper::Impl::SetListener(std::unique_ptr<JobListener> newListener)
{
    if (listener)
        removeListener(&listener->GetImpl());
    listener = std::move(newListener);
    if (listener)
    {
        listener->GetImpl().attach(&cancel);
        addListener(&listener->GetImpl());
    }
}

bool JobWrapper::Impl::cancelledOrFailed(bool failed)
{
    if (!listener)
        return failed || cancel.load();
    auto& state = listener->GetImpl();
    if (failed || state.getState() == JobListener::ExitRequested)
    {
        state.setCancelled(*this);
        return true;
    }
    return state.getState() == JobListener::Cancelled;
}

juce::ThreadPoolJob::JobStatus JobWrapper::Impl::runJob()
{
    if (listener)
        listener->GetImpl().setStarted(*this);

    const bool jobRan = RunGuarded(job, "runJob");
    if (cancelledOrFailed(!jobRan))
        return jobHasFinished;

    // An exit request that arrives from here on no longer stops the completion.
    if (listener && !listener->GetImpl().beginCompletion())
    {
        listener->GetImpl().setCancelled(*this);
        return jobHasFinished;
    }
    if (!RunGuarded(completion, "runJob"))
    {
        if (listener)
            listener->GetImpl().setCancelled(*this);
        return jobHasFinished;
    }
    if (listener)
        listener->GetImpl().setFinished(*this);
    return jobHasFinished;
}

JobWrapper::JobWrapper(std::unique_ptr<Impl> job) : impl(std::move(job)), id(impl ? impl->GetId() : 0) {}

} // namespace acoustics
} // namespace zorvpro
