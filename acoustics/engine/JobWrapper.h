#pragma once

#include "core/math/Timestamp.h"

#include <juce_core/juce_core.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

namespace zorvpro
{
namespace acoustics
{

class JobListener;

// A queued job: the handle kept by the engine thread, owning its Impl until the Impl is
// handed to the worker pool.
class JobWrapper
{
public:
    // The job as the worker pool runs it. Ids come from a process-wide counter and are never
    // reused; 0 means no job.
    class Impl : public juce::ThreadPoolJob
    {
    public:
        Impl();
        ~Impl() override;

        JobStatus runJob() override;

        uint64_t GetId() const { return id; }
        std::atomic<bool>& GetCancelFlag() { return cancel; }

        void SetJob(std::function<void()> function) { job = std::move(function); }
        void SetCompletion(std::function<void()> function) { completion = std::move(function); }
        // Replaces (and destroys) an earlier listener and attaches the new one to this job.
        void SetListener(std::unique_ptr<JobListener> newListener);
        JobListener* GetListener() const { return listener.get(); }

    private:
        bool cancelledOrFailed(bool failed);

        const uint64_t id;
        std::function<void()> job;
        std::function<void()> completion;
        std::atomic<bool> cancel{false};
        std::unique_ptr<JobListener> listener;
    };

    explicit JobWrapper(std::unique_ptr<Impl> impl);

    uint64_t GetId() const { return id; }
    const Timestamp& GetTimestamp() const { return created; }
    // Hands the Impl over (to the worker pool); the handle keeps only the id.
    Impl* Release() { return impl.release(); }

private:
    std::unique_ptr<Impl> impl;
    uint64_t id;
    Timestamp created;
};

} // namespace acoustics
} // namespace zorvpro
