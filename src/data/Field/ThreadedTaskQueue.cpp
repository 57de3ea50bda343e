#include "data/Field/ThreadedTaskQueue.h"

#include "acoustics/engine/EngineLog.h"

namespace zorvpro
{

namespace
{
constexpr const char* SourceFile = "src/data/ThreadedTaskQueue";
constexpr int LoopLine = 75;
} // namespace

ThreadedTaskQueue::~ThreadedTaskQueue()
{
    Stop();
}

void ThreadedTaskQueue::Add(Callable task, Callable onDone)
{
    auto pair = std::make_shared<TaskPair>(TaskPair{std::move(task), std::move(onDone)});
    std::lock_guard<std::mutex> guard(m_pendingLock);
    m_pending.push_back(std::move(pair));
}

bool ThreadedTaskQueue::ProcessOne()
{
    TaskPairPtr pair;
    {
        std::lock_guard<std::mutex> guard(m_pendingLock);
        if (m_pending.empty())
            return false;
        pair = std::move(m_pending.front());
        m_pending.pop_front();
        // Under the pending lock: a reader of the pending count finds it there or running.
        ++m_running;
    }
    try
    {
        if (pair->task)
            pair->task();
    }
    catch (...)
    {
        --m_running;
        throw;
    }
    {
        std::lock_guard<std::mutex> guard(m_finishedLock);
        m_finished.push_back(std::move(pair));
    }
    // Only once finished: a reader of the running count finds it running or finished.
    --m_running;
    return true;
}

int ThreadedTaskQueue::RunCompletions(int32_t budget)
{
    int taken = 0;
    do
    {
        TaskPairPtr pair;
        {
            std::lock_guard<std::mutex> guard(m_finishedLock);
            if (m_finished.empty())
                break;
            pair = std::move(m_finished.front());
            m_finished.pop_front();
        }
        ++taken;
        if (pair->onDone)
            pair->onDone();
    } while (taken < budget);
    return taken;
}

void ThreadedTaskQueue::Start()
{
    if (m_thread)
        return;
    m_stop.store(false);
    m_thread = std::make_unique<std::thread>(&ThreadedTaskQueue::TaskProcessor, this);
}

void ThreadedTaskQueue::Stop()
{
    m_stop.exchange(true);
    if (!m_thread)
        return;
    if (m_thread->joinable())
        m_thread->join();
    m_thread.reset();
}

void ThreadedTaskQueue::SetSleeper(Sleeper sleeper)
{
    std::lock_guard<std::mutex> guard(m_sleeperLock);
    m_sleeper = std::move(sleeper);
}

size_t ThreadedTaskQueue::PendingCount() const
{
    std::lock_guard<std::mutex> guard(m_pendingLock);
    return m_pending.size();
}

size_t ThreadedTaskQueue::RunningCount() const
{
    return m_running.load();
}

size_t ThreadedTaskQueue::FinishedCount() const
{
    std::lock_guard<std::mutex> guard(m_finishedLock);
    return m_finished.size();
}

void ThreadedTaskQueue::Pause(std::chrono::milliseconds duration)
{
    Sleeper sleeper;
    {
        std::lock_guard<std::mutex> guard(m_sleeperLock);
        sleeper = m_sleeper;
    }
    if (sleeper)
        sleeper(duration);
    else
        std::this_thread::sleep_for(duration);
}

void ThreadedTaskQueue::TaskProcessor()
{
    while (!m_stop.load())
    {
        try
        {
            while (!m_stop.load() && ProcessOne())
            {
            }
            Pause(IdlePause);
        }
        catch (const std::exception& e)
        {
            acoustics::LogEngineException(e, SourceFile, "TaskProcessor", LoopLine);
            Pause(ErrorPause);
        }
        catch (...)
        {
            acoustics::LogEngineUnknownException(SourceFile, "TaskProcessor", LoopLine);
            Pause(ErrorPause);
        }
    }
}

} // namespace zorvpro
