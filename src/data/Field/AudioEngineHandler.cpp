#include "data/Field/AudioEngineHandler.h"

#include "acoustics/engine/EngineLog.h"
#include "core/Base/ApplicationSeam.h"
#include "data/Field/DebugStream.h"
#include "data/Field/FieldMessageTypes.h"

#include <algorithm>
#include <string>

namespace zorvpro::field
{

namespace
{
constexpr const char* SourceFile = "src/data/Field/AudioEngineHandler";
constexpr int LoopLine = 175;
} // namespace

AudioEngineHandler::AudioEngineHandler(EnginePtr engine, EngineProvider provider)
    : m_provider(provider ? std::move(provider) : EngineProvider(&CurrentAcousticsEngine))
{
    if (engine)
        Register(engine);
}

AudioEngineHandler::~AudioEngineHandler()
{
    std::vector<std::weak_ptr<acoustics::IZorvAcoustics>> joined;
    {
        std::lock_guard<std::mutex> guard(m_engineListLock);
        joined.swap(m_joined);
    }
    if (EnginePtr engine = CurrentEngine())
        engine->removeCalcListener(this);
    // Engines replaced since we joined them may still be alive somewhere.
    for (const auto& weak : joined)
    {
        if (EnginePtr engine = weak.lock())
            engine->removeCalcListener(this);
    }
    Shutdown();
}

void AudioEngineHandler::Register(const EnginePtr& engine)
{
    engine->addCalcListener(this);
    std::lock_guard<std::mutex> guard(m_engineListLock);
    m_joined.erase(std::remove_if(m_joined.begin(), m_joined.end(),
                                  [&](const std::weak_ptr<acoustics::IZorvAcoustics>& weak)
                                  {
                                      auto known = weak.lock();
                                      return !known || known == engine;
                                  }),
                   m_joined.end());
    m_joined.push_back(engine);
}

void AudioEngineHandler::SetMessenger(FieldMessengerPtr messenger)
{
    std::lock_guard<std::mutex> guard(m_messengerLock);
    m_messenger = std::move(messenger);
}

FieldMessengerPtr AudioEngineHandler::GetMessenger() const
{
    std::lock_guard<std::mutex> guard(m_messengerLock);
    return m_messenger;
}

void AudioEngineHandler::SetSleeper(Sleeper sleeper)
{
    std::lock_guard<std::mutex> guard(m_pauseLock);
    m_sleeper = std::move(sleeper);
}

void AudioEngineHandler::SetResultHook(std::function<void(uint64_t)> hook)
{
    std::lock_guard<std::mutex> guard(m_hookLock);
    m_resultHook = std::move(hook);
}

AudioEngineHandler::EnginePtr AudioEngineHandler::CurrentEngine() const
{
    return m_provider ? m_provider() : EnginePtr();
}

void AudioEngineHandler::Start()
{
    if (m_thread)
        return;
    m_stop.store(false);
    m_thread = std::make_unique<std::thread>(&AudioEngineHandler::MessageProcessor, this);
}

void AudioEngineHandler::Stop()
{
    m_stop.exchange(true);
    {
        // Wakes a pause in progress; taking the lock orders it after the loop's check.
        std::lock_guard<std::mutex> guard(m_pauseLock);
    }
    m_pauseWake.notify_all();
    if (EnginePtr engine = CurrentEngine())
        engine->requestStop();
}

void AudioEngineHandler::Shutdown()
{
    Stop();
    if (m_thread && m_thread->joinable())
        m_thread->join();
    m_thread.reset();
    SetMessenger({});
}

void AudioEngineHandler::AttachToEngine()
{
    if (EnginePtr engine = CurrentEngine())
        Register(engine);
}

void AudioEngineHandler::calcStateChanged(bool abandoned)
{
    // An abandoned step never finishes, yet the results it already posted are shown: the user
    // interface is told either way.
    if (FieldMessengerPtr messenger = GetMessenger())
        messenger->Send(abandoned ? MessageType::StepAbandoned : MessageType::StepFinished);
}

void AudioEngineHandler::dataSetReady(uint64_t id)
{
    FieldChunkPtr chunk;
    {
        std::lock_guard<std::recursive_timed_mutex> guard(m_lock);
        for (const FieldChunkPtr& candidate : m_chunks)
        {
            if (candidate->GetId() == id)
            {
                chunk = candidate;
                break;
            }
        }
    }
    if (!chunk)
        return;
    std::function<void(uint64_t)> hook;
    {
        std::lock_guard<std::mutex> guard(m_hookLock);
        hook = m_resultHook;
    }
    if (hook)
        hook(id);
    // The chunk may be removed from here on; the manager drops a result it can no longer hand over.
    EnginePtr engine = CurrentEngine();
    if (!engine)
        return;
    chunk->SetDataSet(engine->getDataSet(id));
    PostChunk(chunk);
}

void AudioEngineHandler::PostChunk(const FieldChunkPtr& chunk)
{
    if (FieldMessengerPtr messenger = GetMessenger())
        messenger->SendChunks(MessageType::ChunksUpdated, {chunk});
}

void AudioEngineHandler::SubmitFieldPoints(const EnginePtr& engine, const FieldChunkPtr& chunk)
{
    if (!chunk || !engine)
        return;
    // A copy: the engine's jobs never read a chunk that is being tessellated again.
    auto points = std::make_shared<acoustics::FieldPoints>(chunk->GetPoints());
    points->SetSourceFilter(chunk->GetSourceFilter());
    engine->setFieldPoints(chunk->GetId(), points);
}

void AudioEngineHandler::ProcessMessage(const FieldMessagePtr& message)
{
    if (!message)
        return;
    switch (message->GetType())
    {
    case MessageType::NewChunks:
    {
        {
            std::lock_guard<std::recursive_timed_mutex> guard(m_lock);
            for (const FieldChunkPtr& chunk : message->GetChunks())
            {
                if (chunk)
                    m_chunks.insert(chunk);
            }
        }
        EnginePtr engine = CurrentEngine();
        for (const FieldChunkPtr& chunk : message->GetChunks())
            SubmitFieldPoints(engine, chunk);
        break;
    }
    case MessageType::RemovedChunks:
    {
        EnginePtr engine = CurrentEngine();
        {
            std::lock_guard<std::recursive_timed_mutex> guard(m_lock);
            for (const FieldChunkPtr& chunk : message->GetChunks())
                m_chunks.erase(chunk);
        }
        if (engine)
        {
            for (const FieldChunkPtr& chunk : message->GetChunks())
            {
                if (chunk)
                    engine->removeFieldPoints(chunk->GetId());
            }
        }
        break;
    }
    case MessageType::ChunksUpdated:
    {
        EnginePtr engine = CurrentEngine();
        for (const FieldChunkPtr& chunk : message->GetChunks())
            SubmitFieldPoints(engine, chunk);
        break;
    }
    case MessageType::Calculate:
        if (EnginePtr engine = CurrentEngine())
            engine->calculate(false);
        break;
    case MessageType::Dump:
        Dump();
        break;
    default:
        break;
    }
}

void AudioEngineHandler::Dump() const
{
    WriteDebugLine("Dump SPL EngineHandler:");
    for (uint64_t id : GetChunkIds())
        WriteDebugLine("  chunk: " + std::to_string(id));
}

std::vector<uint64_t> AudioEngineHandler::GetChunkIds() const
{
    std::lock_guard<std::recursive_timed_mutex> guard(m_lock);
    std::vector<uint64_t> ids;
    for (const FieldChunkPtr& chunk : m_chunks)
        ids.push_back(chunk->GetId());
    return ids;
}

int AudioEngineHandler::RunPass()
{
    int processed = 0;
    while (processed < MessagesPerPass && !m_stop.load())
    {
        FieldMessengerPtr messenger = GetMessenger();
        if (!messenger)
            break;
        FieldMessagePtr message = messenger->Receive();
        if (!message)
            break;
        ++processed;
        ProcessMessage(message);
        // Dropping it here gives its chunks back before the next receive.
    }
    return processed;
}

void AudioEngineHandler::Pause(std::chrono::milliseconds duration)
{
    std::unique_lock<std::mutex> guard(m_pauseLock);
    if (m_sleeper)
    {
        Sleeper sleeper = m_sleeper;
        guard.unlock();
        sleeper(duration);
        return;
    }
    m_pauseWake.wait_for(guard, duration, [this] { return m_stop.load(); });
}

void AudioEngineHandler::MessageProcessor()
{
    while (!m_stop.load())
    {
        try
        {
            RunPass();
            Pause(PassPause);
        }
        catch (const std::exception& e)
        {
            acoustics::LogEngineException(e, SourceFile, "MessageProcessor", LoopLine);
            Pause(ErrorPause);
        }
        catch (...)
        {
            acoustics::LogEngineUnknownException(SourceFile, "MessageProcessor", LoopLine);
            Pause(ErrorPause);
        }
    }
}

} // namespace zorvpro::field
