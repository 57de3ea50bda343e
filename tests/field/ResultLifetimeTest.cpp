// Every message that names a chunk ends: delivered, or dropped with the chunk let go. Results
// that race with a map's removal must not wait in the queue for good. Run by the thread
// sanitizer build.

#include "ArrayCluster.h"
#include "FieldTestSupport.h"
#include "acoustics/engine/ZorvAcousticsImpl.h"
#include "data/Field/AudioEngineHandler.h"
#include "data/Field/FieldManager.h"
#include "data/Field/FieldMessageTypes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <future>

namespace zorvpro::field
{
namespace
{

using namespace std::chrono_literals;
constexpr int UI = Side::UserInterface;
constexpr int Audio = Side::Audio;

// What the user interface still finds for it after the engine side let the result go.
struct Outcome
{
    bool delivered = false;
    uint32_t waitingForUi = 0;
    uint32_t waitingForEngine = 0;
    bool known = false;
    bool handlerKnows = false;
    bool freed = false;
};

enum class RemovalAt
{
    ProcessedBeforeThePost, // the result is posted in the gap after the handler forgot the chunk
    PostedNotYetReceived,   // the removal waits in the engine's queue while the result comes back
};

// One map's chunk: added, its result found by a pool thread that is held between finding the
// chunk and posting, and the chunk removed at the given moment.
Outcome RaceResultWithRemoval(RemovalAt removal)
{
    auto engine = std::make_shared<testing::RecordingEngine>();
    std::shared_ptr<acoustics::IZorvAcoustics> current = engine;
    FieldManager manager;
    AudioEngineHandler handler(engine, [&] { return current; });
    handler.SetMessenger(manager.GetMessenger(Audio));
    auto ui = manager.GetMessenger(UI);

    auto chunk = std::make_shared<FieldChunk>(1);
    std::weak_ptr<FieldChunk> weak = chunk;
    const uint64_t id = chunk->GetId();
    engine->results[id] = testing::NextResult();
    ui->SendChunks(MessageType::NewChunks, {chunk});
    EXPECT_EQ(handler.RunPass(), 1);

    std::promise<void> found, go;
    auto goSignal = go.get_future().share();
    handler.SetResultHook(
        [&, goSignal](uint64_t)
        {
            found.set_value();
            goSignal.wait();
        });
    std::thread pool([&] { handler.dataSetReady(id); });
    found.get_future().wait();
    ui->SendChunks(MessageType::RemovedChunks, {chunk});
    if (removal == RemovalAt::ProcessedBeforeThePost)
    {
        EXPECT_EQ(handler.RunPass(), 1);
    }
    go.set_value();
    pool.join();
    handler.SetResultHook({});
    handler.RunPass();

    Outcome outcome;
    // The user interface's poll, as the coverage-map adapter runs it.
    while (auto message = ui->Receive())
        outcome.delivered = outcome.delivered || message->GetType() == MessageType::ChunksUpdated;
    handler.RunPass();
    outcome.waitingForUi = manager.GetQueuedCount(UI);
    outcome.waitingForEngine = manager.GetQueuedCount(Audio);
    outcome.known = manager.IsKnown(chunk);
    const auto ids = handler.GetChunkIds();
    outcome.handlerKnows = std::find(ids.begin(), ids.end(), id) != ids.end();
    chunk.reset();
    outcome.freed = weak.expired();
    return outcome;
}

TEST(ResultLifetime, AResultRacingItsChunksRemovalEndsEitherWay)
{
    const struct
    {
        RemovalAt removal;
        bool delivered;
        const char* what;
    } cases[] = {
        {RemovalAt::ProcessedBeforeThePost, false, "posted after the removal went through: dropped"},
        {RemovalAt::PostedNotYetReceived, true, "posted before the removal arrived: delivered"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        testing::Watchdog watchdog(30s, c.what);
        const Outcome o = RaceResultWithRemoval(c.removal);
        EXPECT_EQ(o.delivered, c.delivered);
        EXPECT_EQ(o.waitingForUi, 0u) << "no message left in the user interface's queue";
        EXPECT_EQ(o.waitingForEngine, 0u);
        EXPECT_FALSE(o.known) << "the manager forgot the removed chunk";
        EXPECT_FALSE(o.handlerKnows);
        EXPECT_TRUE(o.freed) << "nothing holds the chunk and its levels any more";
    }
}

TEST(ResultLifetime, AnUpdateForAChunkNoSideKnowsIsDroppedNotKeptForever)
{
    FieldManager manager;
    auto stranger = std::make_shared<FieldChunk>(1);
    std::weak_ptr<FieldChunk> weak = stranger;
    manager.GetMessenger(UI)->SendChunks(MessageType::ChunksUpdated, {stranger});
    manager.GetMessenger(UI)->Send(MessageType::Calculate);
    manager.GetMessenger(Audio)->SendChunks(MessageType::ChunksUpdated, {stranger});
    stranger.reset();

    auto next = manager.Receive(Audio);
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->GetType(), MessageType::Calculate);
    EXPECT_EQ(manager.Receive(Audio), nullptr);
    EXPECT_EQ(manager.Receive(UI), nullptr);
    EXPECT_EQ(manager.GetQueuedCount(Audio), 0u);
    EXPECT_EQ(manager.GetQueuedCount(UI), 0u);
    EXPECT_TRUE(weak.expired());
}

// Maps added, calculated and removed while their calculation runs, a thousand times, against
// the real engine and the handler's own thread; the user interface polls as it does every tick.
TEST(ResultLifetime, AThousandMapsRemovedMidCalculationLeaveNoMessageAndNoChunk)
{
    testing::Watchdog watchdog(300s, "add, calculate and remove maps");
    auto cluster = testing::ArrayCluster();
    ASSERT_NE(cluster, nullptr);
    std::shared_ptr<acoustics::IZorvAcoustics> engine = testing::ComputingEngine(cluster, 2, 0ms);

    FieldManager manager;
    AudioEngineHandler handler(engine, [&] { return engine; });
    handler.SetMessenger(manager.GetMessenger(Audio));
    handler.SetSleeper([](std::chrono::milliseconds) { std::this_thread::yield(); });
    auto ui = manager.GetMessenger(UI);
    handler.Start();

    size_t results = 0;
    auto poll = [&]
    {
        while (auto message = ui->Receive())
        {
            if (message->GetType() == MessageType::ChunksUpdated)
            {
                message->GetChunks().front()->PromoteLatest();
                ++results;
            }
        }
    };
    std::vector<std::weak_ptr<FieldChunk>> chunks;
    const int rounds = 1000;
    for (int round = 0; round < rounds; ++round)
    {
        auto chunk = std::make_shared<FieldChunk>(1);
        for (int i = 0; i < 4; ++i)
            chunk->GetPoints().Add(2.0 + i, 0.5 * (round % 7), 0.0, uint64_t(i));
        chunks.push_back(chunk);
        ui->SendChunks(MessageType::NewChunks, {chunk});
        ui->Send(MessageType::Calculate);
        // Removed once the engine has its points: its calculation is queued or running.
        ASSERT_TRUE(testing::WaitUntil(
            [&]
            {
                poll();
                return manager.GetQueuedCount(Audio) == 0;
            }));
        ui->SendChunks(MessageType::RemovedChunks, {chunk});
        poll();
    }
    ASSERT_TRUE(testing::WaitUntil(
        [&]
        {
            poll();
            return manager.GetQueuedCount(Audio) == 0 && handler.GetChunkIds().empty() && !engine->isBusy();
        }));
    // No post after the shutdown: what came before it is all in the queue now.
    handler.Shutdown();
    engine->setCalculationEnabled(false);
    poll();
    EXPECT_EQ(manager.GetQueuedCount(UI), 0u) << "every result ended";
    size_t alive = 0;
    for (const auto& weak : chunks)
        alive += weak.expired() ? 0 : 1;
    EXPECT_EQ(alive, 0u) << "every chunk freed";
    RecordProperty("results", int(results));
}

} // namespace
} // namespace zorvpro::field
