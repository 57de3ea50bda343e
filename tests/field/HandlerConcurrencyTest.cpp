// The handler against engines that call back from their own threads while
// holding their result lock, and shutdown with work in flight.

#include "ArrayCluster.h"
#include "FieldTestSupport.h"
#include "acoustics/engine/ZorvAcousticsImpl.h"
#include "data/Field/AudioEngineHandler.h"
#include "data/Field/FieldManager.h"
#include "data/Field/FieldMessageTypes.h"

#include <gtest/gtest.h>

#include <atomic>

namespace zorvpro::field
{
namespace
{

using namespace std::chrono_literals;
constexpr int UI = Side::UserInterface;
constexpr int Audio = Side::Audio;

// Calls dataSetReady under its result lock from a "pool" thread, and takes the
// same lock in setFieldPoints, as the real engine does when a submission
// starts a calculation. A submitting caller that holds a lock its listener
// needs deadlocks here.
class CallbackEngine : public testing::RecordingEngine
{
public:
    void setFieldPoints(uint64_t id, std::shared_ptr<acoustics::FieldPoints> points) override
    {
        // A result of an earlier calculation is published right now.
        std::thread pool(
            [this, id]
            {
                std::lock_guard<std::recursive_mutex> guard(resultLock);
                if (acoustics::CalcListener* l = listener.load())
                    l->dataSetReady(id);
            });
        pool.join();
        std::lock_guard<std::recursive_mutex> guard(resultLock);
        testing::RecordingEngine::setFieldPoints(id, points);
    }
    std::shared_ptr<acoustics::FieldPointsData> getDataSet(uint64_t) const override
    {
        std::lock_guard<std::recursive_mutex> guard(resultLock);
        return testing::NextResult();
    }
    void addCalcListener(acoustics::CalcListener* l) override { listener = l; }
    void removeCalcListener(acoustics::CalcListener*) override
    {
        std::lock_guard<std::recursive_mutex> guard(resultLock);
        listener = nullptr;
    }

    mutable std::recursive_mutex resultLock;
    std::atomic<acoustics::CalcListener*> listener{nullptr};
};

TEST(HandlerConcurrency, SubmittingWhileTheEngineCallsBackNeverDeadlocks)
{
    testing::Watchdog watchdog(60s, "submitting while the engine calls back");
    auto engine = std::make_shared<CallbackEngine>();
    std::shared_ptr<acoustics::IZorvAcoustics> current = engine;
    FieldManager manager;
    AudioEngineHandler handler(engine, [&] { return current; });
    handler.SetMessenger(manager.GetMessenger(Audio));
    handler.SetSleeper([](std::chrono::milliseconds) { std::this_thread::yield(); });

    // The UI side keeps re-submitting while it reads the results coming back.
    std::vector<FieldChunkPtr> chunks;
    for (int i = 0; i < 8; ++i)
        chunks.push_back(std::make_shared<FieldChunk>(1));
    auto ui = manager.GetMessenger(UI);
    ui->SendChunks(MessageType::NewChunks, chunks);
    handler.Start();
    size_t results = 0;
    for (int round = 0; round < 200; ++round)
    {
        ui->SendChunks(MessageType::ChunksUpdated, {chunks[round % chunks.size()]});
        while (auto reply = ui->Receive())
            results += reply->GetType() == MessageType::ChunksUpdated ? 1 : 0;
    }
    ASSERT_TRUE(testing::WaitUntil(
        [&]
        {
            while (auto reply = ui->Receive())
                results += reply->GetType() == MessageType::ChunksUpdated ? 1 : 0;
            return results == 208;
        }))
        << results;
    handler.Shutdown();
}

FieldChunkPtr FloorChunk(double y)
{
    auto chunk = std::make_shared<FieldChunk>(1);
    for (int i = 0; i < 40; ++i)
        chunk->GetPoints().Add(2.0 + i * 0.5, y, 0.0, uint64_t(i));
    return chunk;
}

TEST(HandlerConcurrency, RealEngineResultsFlowBackAndShutdownWithWorkInFlightIsClean)
{
    testing::Watchdog watchdog(120s, "engine round trip and shutdown");
    auto cluster = testing::ArrayCluster();
    ASSERT_NE(cluster, nullptr);
    std::shared_ptr<acoustics::IZorvAcoustics> engine = testing::ComputingEngine(cluster, 3, 1ms);

    auto manager = std::make_unique<FieldManager>();
    auto handler = std::make_unique<AudioEngineHandler>(engine, [&] { return engine; });
    handler->SetMessenger(manager->GetMessenger(Audio));
    handler->SetSleeper([](std::chrono::milliseconds) { std::this_thread::sleep_for(1ms); });
    auto ui = manager->GetMessenger(UI);
    ChunkList chunks{FloorChunk(0), FloorChunk(5), FloorChunk(-5)};
    ui->SendChunks(MessageType::NewChunks, chunks);
    handler->Start();

    // Every chunk's result comes back as a chunk message, and is newer data.
    std::set<uint64_t> answered;
    ASSERT_TRUE(testing::WaitUntil(
        [&]
        {
            while (auto reply = ui->Receive())
            {
                if (reply->GetType() == MessageType::ChunksUpdated)
                {
                    reply->GetChunks().front()->PromoteLatest();
                    answered.insert(reply->GetChunks().front()->GetId());
                }
            }
            return answered.size() == chunks.size();
        }));
    auto shown = chunks[0]->GetDataSet();
    ASSERT_NE(shown, nullptr);
    ASSERT_NE(shown->GetDataSet(), nullptr);

    // Keep the engine busy, hold a lease and undelivered messages, then shut down.
    for (int i = 0; i < 5; ++i)
    {
        cluster->setGain(-double(i));
        ui->SendChunks(MessageType::ChunksUpdated, {chunks[i % 3]});
    }
    auto lease = ui->ClaimChunks({chunks[1]});
    auto pending = ui->Receive();
    handler->Shutdown(); // joined, messenger cleared
    manager.reset();     // before the handler, as the window goes before the application
    lease.reset();       // hooks find no manager
    pending.reset();
    handler.reset(); // leaves the engine while it may still be calculating
    engine->setCalculationEnabled(false);
    engine.reset();
}

} // namespace
} // namespace zorvpro::field
