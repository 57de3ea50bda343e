#pragma once

#include "acoustics/engine/CalcListener.h"
#include "acoustics/engine/IZorvAcoustics.h"
#include "data/Field/FieldMessage.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

namespace zorvpro::field
{

// The engine side of the field protocol. Its thread takes the user interface's
// messages and turns them into engine calls; as the engine's calculation
// listener it posts every computed result back as a chunk message.
//
// It keeps no engine: it asks for the current one each time. It never calls
// the engine or the manager while holding its own lock, because the engine
// calls dataSetReady under its result lock, and that path needs the handler's
// lock too.
class AudioEngineHandler : public acoustics::CalcListener
{
public:
    using EnginePtr = std::shared_ptr<acoustics::IZorvAcoustics>;
    using EngineProvider = std::function<EnginePtr()>;
    using Sleeper = std::function<void(std::chrono::milliseconds)>;

    static constexpr int MessagesPerPass = 10;
    static constexpr std::chrono::milliseconds PassPause{100};
    static constexpr std::chrono::milliseconds ErrorPause{1000};

    // Registers with the engine when there is one. The provider gives the
    // current engine; by default the application's.
    explicit AudioEngineHandler(EnginePtr engine, EngineProvider provider = {});
    // Leaves every engine it joined, stops and joins the thread.
    ~AudioEngineHandler() override;

    AudioEngineHandler(const AudioEngineHandler&) = delete;
    AudioEngineHandler& operator=(const AudioEngineHandler&) = delete;

    // The engine-side messenger; set before Start, cleared (empty) before the
    // field manager goes.
    void SetMessenger(FieldMessengerPtr messenger);
    // Replaces the pause between passes (tests).
    void SetSleeper(Sleeper sleeper);
    // Runs on the engine's thread between finding a result's chunk and posting it (tests that
    // force an interleaving with the chunk's removal).
    void SetResultHook(std::function<void(uint64_t id)> hook);

    void Start();
    // Raises the stop flag and stops the engine's dispatching; does not wait.
    void Stop();
    // Stop, join the thread and forget the messenger: after this nothing of the
    // handler touches the field manager.
    void Shutdown();
    // Joins the current engine as its listener (after the engine was replaced).
    void AttachToEngine();

    void calcStarted() override {}
    void calcStateChanged(bool abandoned) override;
    void dataSetReady(uint64_t id) override;

    // One pass of the thread's loop: up to MessagesPerPass messages. Returns
    // how many were processed.
    int RunPass();
    void ProcessMessage(const FieldMessagePtr& message);

    // Ids of the chunks the engine knows from this handler, in set order.
    std::vector<uint64_t> GetChunkIds() const;

private:
    struct ByAddress
    {
        bool operator()(const FieldChunkPtr& a, const FieldChunkPtr& b) const { return a.get() < b.get(); }
    };

    void MessageProcessor();
    void Pause(std::chrono::milliseconds duration);
    EnginePtr CurrentEngine() const;
    FieldMessengerPtr GetMessenger() const;
    void Register(const EnginePtr& engine);
    static void SubmitFieldPoints(const EnginePtr& engine, const FieldChunkPtr& chunk);
    void PostChunk(const FieldChunkPtr& chunk);
    void Dump() const;

    std::atomic<bool> m_stop{false};
    std::unique_ptr<std::thread> m_thread;
    EngineProvider m_provider;

    mutable std::mutex m_messengerLock;
    FieldMessengerPtr m_messenger;

    mutable std::recursive_timed_mutex m_lock;
    std::set<FieldChunkPtr, ByAddress> m_chunks;

    std::mutex m_engineListLock;
    std::vector<std::weak_ptr<acoustics::IZorvAcoustics>> m_joined;

    std::mutex m_pauseLock;
    std::condition_variable m_pauseWake;
    Sleeper m_sleeper;

    std::mutex m_hookLock;
    std::function<void(uint64_t)> m_resultHook;
};

} // namespace zorvpro::field
