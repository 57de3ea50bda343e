#pragma once

#include "data/Field/FieldMessage.h"

#include <cstdint>
#include <memory>

namespace zorvpro::field
{

// The crossing between the user interface (side 0) and the engine side
// (side 1): one message queue per direction, and chunk by chunk which side may
// touch a chunk now. Neither side ever waits for the other: a message whose
// chunks the other side holds stays queued and later messages overtake it.
//
// Ownership is counted per side: a chunk goes back to the unowned set when the
// last message or lease of its owner is dropped. Messages and messengers may
// outlive the manager; their hooks then do nothing.
class FieldManager
{
public:
    struct Counters
    {
        uint32_t refusedAudio = 0;
        uint32_t refusedUserInterface = 0;
        uint32_t postsAudio = 0;
        uint32_t postsUserInterface = 0;
        uint32_t posts = 0;
    };

    enum class Owner
    {
        None,
        Unowned,
        UserInterface,
        Audio
    };

    FieldManager();
    ~FieldManager();
    FieldManager(const FieldManager&) = delete;
    FieldManager& operator=(const FieldManager&) = delete;

    // Messenger 0 serves the user interface, messenger 1 the engine handler.
    FieldMessengerPtr GetMessenger(int side) const;

    // Queues the message for the other side; an empty pointer does nothing.
    void Post(int side, FieldMessagePtr message);
    // The oldest deliverable message for the side, taken from its queue. A new-chunks or update
    // message naming a chunk the manager does not know (never posted, or forgotten after its
    // removal) could never be delivered: it is dropped on the way, releasing what it holds.
    FieldMessagePtr Receive(int side);
    // A lease on the chunks for the side, or empty when one is the other side's.
    FieldMessagePtr ClaimChunks(int side, const ChunkList& chunks);
    // All or nothing; a refusal is counted.
    bool AcquireChunks(int side, const ChunkList& chunks);
    void ReleaseChunks(int side, const ChunkList& chunks);

    Counters GetCounters() const;
    // Messages waiting for the side.
    uint32_t GetQueuedCount(int side) const;
    Owner GetOwner(const FieldChunkPtr& chunk) const;
    // False once the chunk's removal was delivered and nothing holds it.
    bool IsKnown(const FieldChunkPtr& chunk) const;

    // Writes the queue counts and the chunk sets to the debug stream.
    void Dump() const;

    struct State;

private:
    std::shared_ptr<State> m_state;
    FieldMessengerPtr m_messengers[2];
};

} // namespace zorvpro::field
