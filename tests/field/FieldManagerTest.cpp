#include "data/Field/FieldManager.h"
#include "FieldTestSupport.h"
#include "data/Field/FieldMessageTypes.h"

#include <gtest/gtest.h>

namespace zorvpro::field
{
namespace
{

using Owner = FieldManager::Owner;
constexpr int UI = Side::UserInterface;
constexpr int Audio = Side::Audio;

FieldChunkPtr NewChunk()
{
    return std::make_shared<FieldChunk>(1);
}

// A manager that knows the chunks (posted as new, then delivered and dropped).
struct Known
{
    FieldManager manager;
    ChunkList chunks{NewChunk(), NewChunk(), NewChunk()};
    Known()
    {
        manager.GetMessenger(UI)->SendChunks(MessageType::NewChunks, chunks);
        EXPECT_NE(manager.Receive(Audio), nullptr);
    }
};

TEST(FieldManager, PostingQueuesForTheOtherSideAndCountsOnlyRealMessages)
{
    FieldManager manager;
    manager.Post(UI, nullptr);
    EXPECT_EQ(manager.GetCounters().posts, 0u);
    EXPECT_EQ(manager.Receive(Audio), nullptr) << "empty queue";

    auto chunk = NewChunk();
    EXPECT_EQ(manager.GetOwner(chunk), Owner::None);
    manager.GetMessenger(UI)->SendChunks(MessageType::NewChunks, {chunk});
    manager.GetMessenger(UI)->Send(MessageType::Calculate);
    manager.GetMessenger(Audio)->Send(MessageType::StepFinished);
    EXPECT_EQ(manager.GetOwner(chunk), Owner::Unowned);
    EXPECT_EQ(manager.GetQueuedCount(Audio), 2u);
    EXPECT_EQ(manager.GetQueuedCount(UI), 1u);
    const auto counters = manager.GetCounters();
    EXPECT_EQ(counters.postsUserInterface, 2u);
    EXPECT_EQ(counters.postsAudio, 1u);
    EXPECT_EQ(counters.posts, 3u);

    // Each side gets only what the other posted, oldest first.
    EXPECT_EQ(manager.Receive(UI)->GetType(), MessageType::StepFinished);
    auto first = manager.Receive(Audio);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->GetType(), MessageType::NewChunks);
    EXPECT_EQ(manager.GetOwner(chunk), Owner::Audio) << "the receiver holds it until it drops the message";
    // A second new-chunks post of a known chunk leaves it where it is.
    manager.GetMessenger(UI)->SendChunks(MessageType::NewChunks, {chunk});
    EXPECT_EQ(manager.GetOwner(chunk), Owner::Audio);
    first.reset();
    EXPECT_EQ(manager.GetOwner(chunk), Owner::Unowned);
    EXPECT_EQ(manager.GetQueuedCount(Audio), 2u);
}

TEST(FieldManager, LaterMessagesOvertakeOneBlockedByALeaseUntilTheLeaseIsDropped)
{
    FieldManager manager;
    auto chunk = NewChunk();
    auto ui = manager.GetMessenger(UI);
    ui->SendChunks(MessageType::NewChunks, {chunk});
    auto lease = ui->ClaimChunks({chunk});
    ASSERT_NE(lease, nullptr);
    EXPECT_EQ(lease->GetType(), MessageType::Lease);
    ui->Send(MessageType::Calculate);

    auto next = manager.Receive(Audio);
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->GetType(), MessageType::Calculate);
    EXPECT_EQ(manager.Receive(Audio), nullptr) << "the new-chunks message stays queued";
    EXPECT_EQ(manager.GetQueuedCount(Audio), 1u);
    EXPECT_GE(manager.GetCounters().refusedAudio, 2u);

    lease.reset();
    next = manager.Receive(Audio);
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->GetType(), MessageType::NewChunks);
    EXPECT_EQ(manager.GetQueuedCount(Audio), 0u);
}

TEST(FieldManager, LeasesAreCountedPerSideAndClaimsAreAllOrNothing)
{
    Known k;
    auto ui = k.manager.GetMessenger(UI);
    auto first = ui->ClaimChunks({k.chunks[0]});
    auto second = ui->ClaimChunks({k.chunks[0], k.chunks[1]});
    ASSERT_TRUE(first && second);
    EXPECT_EQ(k.manager.GetMessenger(Audio)->ClaimChunks({k.chunks[0]}), nullptr);

    first.reset();
    EXPECT_EQ(k.manager.GetOwner(k.chunks[0]), Owner::UserInterface) << "the second lease still holds it";
    EXPECT_EQ(k.manager.GetMessenger(Audio)->ClaimChunks({k.chunks[0]}), nullptr);
    second.reset();
    EXPECT_EQ(k.manager.GetOwner(k.chunks[0]), Owner::Unowned);
    EXPECT_EQ(k.manager.GetOwner(k.chunks[1]), Owner::Unowned);
    EXPECT_NE(k.manager.GetMessenger(Audio)->ClaimChunks({k.chunks[0]}), nullptr);

    auto none = ui->ClaimChunks({});
    ASSERT_NE(none, nullptr) << "an empty claim always succeeds";
    EXPECT_TRUE(none->GetChunks().empty());

    // A claim fails as a whole: what it took is given back, one refusal counted.
    auto held = k.manager.GetMessenger(Audio)->ClaimChunks({k.chunks[2]});
    ASSERT_NE(held, nullptr);
    const uint32_t before = k.manager.GetCounters().refusedUserInterface;
    EXPECT_EQ(k.manager.ClaimChunks(UI, k.chunks), nullptr);
    EXPECT_EQ(k.manager.GetOwner(k.chunks[0]), Owner::Unowned);
    EXPECT_EQ(k.manager.GetOwner(k.chunks[1]), Owner::Unowned);
    EXPECT_EQ(k.manager.GetOwner(k.chunks[2]), Owner::Audio);
    EXPECT_EQ(k.manager.GetCounters().refusedUserInterface, before + 1);
    EXPECT_FALSE(k.manager.AcquireChunks(UI, {NewChunk()})) << "a chunk never posted cannot be taken";
}

TEST(FieldManager, ARemovalGetsThroughALeaseButNeverPassesAnEarlierMessageOfItsChunk)
{
    Known k;
    auto ui = k.manager.GetMessenger(UI);
    auto lease = ui->ClaimChunks({k.chunks[0], k.chunks[1]});
    ASSERT_NE(lease, nullptr);
    ui->SendChunks(MessageType::ChunksUpdated, {k.chunks[0], k.chunks[1]});
    ui->SendChunks(MessageType::RemovedChunks, {k.chunks[0]});
    EXPECT_EQ(k.manager.GetOwner(k.chunks[0]), Owner::None) << "out of both owned sets";
    EXPECT_EQ(k.manager.GetOwner(k.chunks[1]), Owner::UserInterface);
    EXPECT_EQ(k.manager.Receive(Audio), nullptr)
        << "the update waits for chunk 1, the removal for the update";

    lease.reset();
    auto update = k.manager.Receive(Audio);
    ASSERT_NE(update, nullptr);
    EXPECT_EQ(update->GetType(), MessageType::ChunksUpdated);
    auto removal = k.manager.Receive(Audio);
    ASSERT_NE(removal, nullptr);
    EXPECT_EQ(removal->GetType(), MessageType::RemovedChunks);
    EXPECT_TRUE(k.manager.IsKnown(k.chunks[0])) << "the update still holds it";
    update.reset();
    EXPECT_FALSE(k.manager.IsKnown(k.chunks[0])) << "forgotten once the removal is through";
    removal.reset();
    EXPECT_TRUE(k.manager.IsKnown(k.chunks[1]));

    // A removal posted while the other side holds the chunk is delivered too.
    auto held = k.manager.GetMessenger(Audio)->ClaimChunks({k.chunks[2]});
    ui->SendChunks(MessageType::RemovedChunks, {k.chunks[2]});
    ASSERT_NE(k.manager.Receive(Audio), nullptr);
    held.reset();
    EXPECT_FALSE(k.manager.IsKnown(k.chunks[2]));

    // Added again before its removal arrives: the chunk lives on.
    ui->SendChunks(MessageType::RemovedChunks, {k.chunks[1]});
    ui->SendChunks(MessageType::NewChunks, {k.chunks[1]});
    k.manager.Receive(Audio).reset();
    k.manager.Receive(Audio).reset();
    EXPECT_EQ(k.manager.GetOwner(k.chunks[1]), Owner::Unowned);
}

TEST(FieldManager, DumpListsQueuesAndSetsWhenTheDumpIsPosted)
{
    Known k;
    auto held = k.manager.GetMessenger(Audio)->ClaimChunks({k.chunks[1]});
    auto lease = k.manager.GetMessenger(UI)->ClaimChunks({k.chunks[2]});
    testing::DebugLines debug;
    k.manager.GetMessenger(UI)->Send(MessageType::Dump);
    ASSERT_EQ(debug.lines.size(), 6u);
    EXPECT_EQ(debug.lines[0], "Dump SPL FieldManager:");
    EXPECT_EQ(debug.lines[1], "   ui message count: 0");
    EXPECT_EQ(debug.lines[2], "   audio message count: 0") << "printed before the dump is queued";
    EXPECT_EQ(debug.lines[3], "  unowned chunks: " + std::to_string(k.chunks[0]->GetId()));
    EXPECT_EQ(debug.lines[4], "  ui owned chunks: " + std::to_string(k.chunks[2]->GetId()));
    EXPECT_EQ(debug.lines[5], "  audio owned chunks: " + std::to_string(k.chunks[1]->GetId()));
}

TEST(FieldManager, MessagesLeasesAndMessengersOutliveTheManagerHarmlessly)
{
    FieldMessengerPtr ui;
    FieldMessagePtr delivered, lease;
    {
        FieldManager manager;
        ui = manager.GetMessenger(UI);
        auto chunk = NewChunk();
        ui->SendChunks(MessageType::NewChunks, {chunk, NewChunk()});
        ui->SendChunks(MessageType::ChunksUpdated, {chunk});
        delivered = manager.Receive(Audio);
        lease = manager.GetMessenger(Audio)->ClaimChunks({chunk});
        ASSERT_TRUE(delivered && lease);
    } // one message still queued, one delivered, one lease
    delivered.reset();
    lease.reset();
    EXPECT_EQ(ui->Receive(), nullptr);
    ui->Send(MessageType::Calculate);
    EXPECT_EQ(ui->ClaimChunks({}), nullptr);
}

} // namespace
} // namespace zorvpro::field
