#include "data/Field/AudioEngineHandler.h"
#include "FieldTestSupport.h"
#include "data/Field/FieldManager.h"
#include "data/Field/FieldMessageTypes.h"
#include "tests/core/support/LogCapture.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace zorvpro::field
{
namespace
{

using testing::RecordingEngine;
constexpr int UI = Side::UserInterface;
constexpr int Audio = Side::Audio;

struct Bench
{
    std::shared_ptr<RecordingEngine> engine = std::make_shared<RecordingEngine>();
    std::shared_ptr<acoustics::IZorvAcoustics> current = engine;
    FieldManager manager;
    std::unique_ptr<AudioEngineHandler> handler;
    FieldMessengerPtr ui = manager.GetMessenger(UI);

    Bench()
    {
        handler = std::make_unique<AudioEngineHandler>(engine, [this] { return current; });
        handler->SetMessenger(manager.GetMessenger(Audio));
    }

    FieldChunkPtr Chunk(uint64_t filter)
    {
        auto chunk = std::make_shared<FieldChunk>(1);
        chunk->GetPoints().Add(1, 2, 3, 9);
        chunk->SetSourceFilter(filter);
        return chunk;
    }

    // The types waiting for the user interface, in order.
    std::vector<uint32_t> Replies()
    {
        std::vector<uint32_t> types;
        while (auto message = manager.Receive(UI))
            types.push_back(message->GetType());
        return types;
    }
};

TEST(AudioEngineHandler, TurnsEachMessageTypeIntoItsEngineCall)
{
    Bench b;
    auto kept = b.Chunk(42), other = b.Chunk(5), stranger = b.Chunk(6);
    b.ui->SendChunks(MessageType::NewChunks, {kept, other});
    b.ui->Send(MessageType::Calculate);
    for (uint32_t ignored : {0u, 4u, 5u, 6u, 7u, 8u, 10u, 11u, 99u})
        b.ui->Send(ignored);
    b.ui->SendChunks(MessageType::RemovedChunks, {other});
    while (b.handler->RunPass() > 0)
    {
    }
    // An update of a chunk that never came as new is submitted all the same.
    b.handler->ProcessMessage(
        std::make_shared<FieldMessage>(MessageType::ChunksUpdated, ChunkList{stranger}));

    const auto calls = b.engine->Calls();
    EXPECT_EQ(calls.front(), "listen");
    const std::vector<std::string> expected{
        "listen",    "set:" + std::to_string(kept->GetId()),     "set:" + std::to_string(other->GetId()),
        "calculate", "remove:" + std::to_string(other->GetId()), "set:" + std::to_string(stranger->GetId())};
    EXPECT_EQ(calls, expected) << "ignored types call nothing";
    auto submitted = b.engine->submitted.at(kept->GetId());
    EXPECT_NE(submitted.get(), &kept->GetPoints()) << "the engine gets a copy";
    EXPECT_EQ(submitted->Count(), 1u);
    EXPECT_EQ(submitted->At(0).tag, 9u);
    EXPECT_EQ(submitted->GetSourceFilter(), 42u) << "the chunk's filter goes with its points";
    EXPECT_EQ(b.handler->GetChunkIds(), std::vector<uint64_t>{kept->GetId()});
    {
        testing::DebugLines debug;
        b.handler->ProcessMessage(std::make_shared<FieldMessage>(MessageType::Dump, ChunkList{}));
        EXPECT_EQ(debug.lines, (std::vector<std::string>{"Dump SPL EngineHandler:",
                                                         "  chunk: " + std::to_string(kept->GetId())}));
    }

    // Results: only chunks that came as new are answered; an older result is not
    // kept but still announced. A step abandoned is announced as such, apart from one that ends.
    auto newer = testing::NextResult();
    b.engine->results[kept->GetId()] = newer;
    b.engine->results[stranger->GetId()] = testing::NextResult();
    b.handler->dataSetReady(kept->GetId());
    b.handler->dataSetReady(stranger->GetId());
    EXPECT_EQ(kept->GetLatestDataSet(), newer);
    EXPECT_EQ(stranger->GetLatestDataSet(), nullptr);
    b.engine->results[kept->GetId()] = std::make_shared<acoustics::FieldPointsData>(); // no data set
    b.handler->dataSetReady(kept->GetId());
    EXPECT_EQ(kept->GetLatestDataSet(), newer);
    b.handler->calcStateChanged(true);
    b.handler->calcStateChanged(false);
    EXPECT_EQ(b.Replies(), (std::vector<uint32_t>{MessageType::ChunksUpdated, MessageType::ChunksUpdated,
                                                  MessageType::StepAbandoned, MessageType::StepFinished}));

    // Without an engine a removal still forgets the chunk.
    b.current.reset();
    b.ui->SendChunks(MessageType::RemovedChunks, {kept});
    b.handler->RunPass();
    EXPECT_TRUE(b.handler->GetChunkIds().empty());
    b.handler->SetMessenger({});
    b.handler->calcStateChanged(false);
    b.handler->dataSetReady(kept->GetId());
    EXPECT_TRUE(b.Replies().empty()) << "no messenger: nothing is posted";
}

TEST(AudioEngineHandler, LoopTakesTenMessagesPerPassAndSurvivesExceptions)
{
    Bench b;
    b.engine->throwOnCalculate = true;
    std::mutex lock;
    std::condition_variable changed;
    std::vector<std::pair<long, uint32_t>> pauses; // (pause in ms, messages still queued)
    b.handler->SetSleeper(
        [&](std::chrono::milliseconds pause)
        {
            std::lock_guard<std::mutex> guard(lock);
            pauses.emplace_back(long(pause.count()), b.manager.GetQueuedCount(Audio));
            if (pauses.size() == 4)
                b.handler->Stop();
            changed.notify_all();
        });
    for (int i = 0; i < 11; ++i)
        b.ui->Send(MessageType::MapsShown);
    b.ui->Send(MessageType::Calculate); // throws inside the engine
    b.ui->Send(MessageType::MapsHidden);

    test::LogCapture log;
    b.handler->Start();
    {
        std::unique_lock<std::mutex> guard(lock);
        ASSERT_TRUE(changed.wait_for(guard, std::chrono::seconds(20), [&] { return pauses.size() >= 4; }));
    }
    b.handler->Shutdown();
    const std::vector<std::pair<long, uint32_t>> expected{{100, 3}, {1000, 1}, {100, 0}, {100, 0}};
    EXPECT_EQ(pauses, expected) << "10, then 1 and the throwing one, then the rest";
    const auto texts = log.Texts();
    ASSERT_EQ(std::count_if(texts.begin(), texts.end(),
                            [](const std::string& t)
                            { return t.find("calculation refused") != std::string::npos; }),
              1);
    EXPECT_NE(std::find_if(texts.begin(), texts.end(),
                           [](const std::string& t) {
                               return t.find("src/data/Field/AudioEngineHandler::MessageProcessor") !=
                                      std::string::npos;
                           }),
              texts.end());
    EXPECT_EQ(b.engine->Calls().back(), "requestStop");
}

} // namespace
} // namespace zorvpro::field
