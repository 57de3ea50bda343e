#include "acoustics/engine/WorkerThreads.h"

#include <algorithm>
#include <chrono>

namespace zorvpro
{
namespace acoustics
{

namespace
{
thread_local const WorkerThreads* currentThreads = nullptr;
} // namespace

WorkerThreads::WorkerThreads(int count)
{
    threads.reserve(static_cast<size_t>(std::max(1, count)));
    for (int i = 0; i < std::max(1, count); ++i)
        threads.emplace_back([this] { run(); });
}

WorkerThreads::~WorkerThreads()
{
    removeAll(-1);
    {
        std::lock_guard<std::mutex> guard(mutex);
        stopping = true;
    }
    wake.notify_all();
    for (auto& thread : threads)
        thread.join();
    // Jobs queued while stopping never run.
    queue.clear();
}

void WorkerThreads::add(std::unique_ptr<JobWrapper::Impl> job)
{
    {
        std::lock_guard<std::mutex> guard(mutex);
        queue.push_back(std::move(job));
    }
    wake.notify_one();
}

int WorkerThreads::getNumJobs() const
{
    std::lock_guard<std::mutex> guard(mutex);
    return static_cast<int>(queue.size() + running.size());
}

int WorkerThreads::getNumThreads() const
{
    return static_cast<int>(threads.size());
}

bool WorkerThreads::removeAll(int limitMs)
{
    std::deque<std::unique_ptr<JobWrapper::Impl>> dropped;
    std::vector<uint64_t> interrupted;
    {
        std::lock_guard<std::mutex> guard(mutex);
        dropped.swap(queue);
        for (JobWrapper::Impl* job : running)
        {
            interrupted.push_back(job->GetId());
            job->signalJobShouldExit();
        }
    }
    // Deleted outside the lock: a job's data and listener take the engine's locks as they go.
    dropped.clear();

    std::unique_lock<std::mutex> guard(mutex);
    const auto done = [&] { return !anyRunning(interrupted); };
    if (limitMs < 0)
    {
        returned.wait(guard, done);
        return true;
    }
    return returned.wait_for(guard, std::chrono::milliseconds(limitMs), done);
}

bool WorkerThreads::IsWorkerThread()
{
    return currentThreads != nullptr;
}

bool WorkerThreads::anyRunning(const std::vector<uint64_t>& ids) const
{
    for (const JobWrapper::Impl* job : running)
        if (std::find(ids.begin(), ids.end(), job->GetId()) != ids.end())
            return true;
    return false;
}

void WorkerThreads::run()
{
    currentThreads = this;
    std::unique_lock<std::mutex> guard(mutex);
    for (;;)
    {
        wake.wait(guard, [this] { return stopping || !queue.empty(); });
        if (stopping)
            return;
        std::unique_ptr<JobWrapper::Impl> job = std::move(queue.front());
        queue.pop_front();
        running.push_back(job.get());
        guard.unlock();

        job->runJob();

        guard.lock();
        running.erase(std::find(running.begin(), running.end(), job.get()));
        guard.unlock();
        returned.notify_all();
        // Outside the lock, as in removeAll.
        job.reset();
        guard.lock();
    }
}

} // namespace acoustics
} // namespace zorvpro
