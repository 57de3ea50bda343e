#include "data/Field/FieldManager.h"

#include "data/Field/DebugStream.h"
#include "data/Field/FieldMessageTypes.h"

#include <algorithm>
#include <atomic>
#include <deque>
#include <mutex>
#include <string>
#include <unordered_map>

namespace zorvpro::field
{

namespace
{
constexpr int Unowned = -1;

bool IsChunkMessage(uint32_t type)
{
    return type == MessageType::NewChunks || type == MessageType::RemovedChunks ||
           type == MessageType::ChunksUpdated;
}

bool Carries(const FieldMessage& message, const FieldChunk* chunk)
{
    for (const FieldChunkPtr& c : message.GetChunks())
    {
        if (c.get() == chunk)
            return true;
    }
    return false;
}
} // namespace

struct FieldManager::State
{
    struct Entry
    {
        FieldChunkPtr chunk;
        int owner = Unowned;
        uint32_t leases = 0;
        // Its removal was posted: forget it once nothing refers to it any more.
        bool removed = false;
    };
    using Queue = std::deque<FieldMessagePtr>;

    mutable std::recursive_mutex lock;
    Counters counters;
    Queue queues[2]; // indexed by the receiving side
    std::atomic<uint32_t> queued[2]{{0}, {0}};
    std::unordered_map<const FieldChunk*, Entry> entries;

    static int Other(int side) { return side == Side::UserInterface ? Side::Audio : Side::UserInterface; }

    bool Queued(const FieldChunk* chunk) const
    {
        for (const Queue& queue : queues)
        {
            for (const FieldMessagePtr& message : queue)
            {
                if (Carries(*message, chunk))
                    return true;
            }
        }
        return false;
    }

    // Forgets a removed chunk that nothing owns and no queued message carries.
    void ForgetIfDone(const FieldChunk* chunk)
    {
        auto it = entries.find(chunk);
        if (it != entries.end() && it->second.removed && it->second.owner == Unowned && !Queued(chunk))
            entries.erase(it);
    }

    void Release(int side, const ChunkList& chunks)
    {
        std::lock_guard<std::recursive_mutex> guard(lock);
        for (const FieldChunkPtr& chunk : chunks)
        {
            auto it = entries.find(chunk.get());
            if (it == entries.end() || it->second.owner != side)
                continue;
            if (--it->second.leases == 0)
            {
                it->second.owner = Unowned;
                if (it->second.removed)
                    ForgetIfDone(chunk.get());
            }
        }
    }

    bool Acquire(int side, const ChunkList& chunks)
    {
        std::lock_guard<std::recursive_mutex> guard(lock);
        for (size_t i = 0; i < chunks.size(); ++i)
        {
            auto it = entries.find(chunks[i].get());
            if (it != entries.end() && (it->second.owner == Unowned || it->second.owner == side))
            {
                it->second.owner = side;
                ++it->second.leases;
                continue;
            }
            ++(side == Side::Audio ? counters.refusedAudio : counters.refusedUserInterface);
            Release(side, ChunkList(chunks.begin(), chunks.begin() + static_cast<std::ptrdiff_t>(i)));
            return false;
        }
        return true;
    }

    void ApplyPostEffect(const FieldMessage& message)
    {
        if (message.GetType() == MessageType::NewChunks)
        {
            for (const FieldChunkPtr& chunk : message.GetChunks())
            {
                if (!chunk)
                    continue;
                auto inserted = entries.emplace(chunk.get(), Entry{chunk});
                // Added again before its removal was delivered: it stays.
                inserted.first->second.removed = false;
            }
        }
        else if (message.GetType() == MessageType::RemovedChunks)
        {
            // Out of both owned sets, whoever holds it: the removal must get through.
            for (const FieldChunkPtr& chunk : message.GetChunks())
            {
                auto it = entries.find(chunk.get());
                if (it == entries.end())
                    continue;
                it->second.owner = Unowned;
                it->second.leases = 0;
                it->second.removed = true;
            }
        }
    }

    // A removal may pass every message except an earlier one for the same chunk.
    bool RemovalDeliverable(const Queue& queue, Queue::const_iterator at) const
    {
        for (auto it = queue.begin(); it != at; ++it)
        {
            for (const FieldChunkPtr& chunk : (*at)->GetChunks())
            {
                if (Carries(**it, chunk.get()))
                    return false;
            }
        }
        return true;
    }

    // A chunk the manager has forgotten (its removal went through) or never knew can never be
    // taken again: a message naming one would wait for good.
    bool NamesUnknownChunk(const FieldMessage& message) const
    {
        for (const FieldChunkPtr& chunk : message.GetChunks())
        {
            if (entries.count(chunk.get()) == 0)
                return true;
        }
        return false;
    }

    // Messages dropped by a receive are destroyed after the lock is given back: their release
    // hooks and the chunks they may free run outside it.
    FieldMessagePtr Receive(int side)
    {
        std::vector<FieldMessagePtr> dropped;
        std::lock_guard<std::recursive_mutex> guard(lock);
        Queue& queue = queues[side];
        for (auto it = queue.begin(); it != queue.end();)
        {
            const FieldMessage& message = **it;
            if (message.GetType() != MessageType::RemovedChunks && IsChunkMessage(message.GetType()) &&
                NamesUnknownChunk(message))
            {
                // A late result or update for a removed chunk: it ends here, its chunk let go.
                dropped.push_back(std::move(*it));
                it = queue.erase(it);
                --queued[side];
                continue;
            }
            if (IsChunkMessage(message.GetType()))
            {
                const bool deliverable = message.GetType() == MessageType::RemovedChunks
                                             ? RemovalDeliverable(queue, it)
                                             : Acquire(side, message.GetChunks());
                if (!deliverable)
                {
                    ++it;
                    continue;
                }
            }
            FieldMessagePtr taken = std::move(*it);
            queue.erase(it);
            --queued[side];
            if (taken->GetType() == MessageType::RemovedChunks)
            {
                for (const FieldChunkPtr& chunk : taken->GetChunks())
                    ForgetIfDone(chunk.get());
            }
            return taken;
        }
        return {};
    }

    void Post(int side, FieldMessagePtr message);
    void Dump() const;
};

namespace
{

class Messenger : public IFieldMessenger
{
public:
    Messenger(std::weak_ptr<FieldManager::State> state, int side) : m_state(std::move(state)), m_side(side) {}

    FieldMessagePtr Receive() override
    {
        auto state = m_state.lock();
        return state ? state->Receive(m_side) : FieldMessagePtr();
    }

    void SendNodes(uint32_t type, const NodeList& nodes) override
    {
        Post(std::make_shared<FieldMessage>(type, nodes, Hook()));
    }

    void SendChunks(uint32_t type, const ChunkList& chunks) override
    {
        Post(std::make_shared<FieldMessage>(type, chunks, Hook()));
    }

    FieldMessagePtr ClaimChunks(const ChunkList& chunks) override
    {
        auto state = m_state.lock();
        if (!state || !state->Acquire(m_side, chunks))
            return {};
        std::weak_ptr<FieldManager::State> weak = m_state;
        const int side = m_side;
        try
        {
            return std::make_shared<FieldMessage>(MessageType::Lease, chunks,
                                                  [weak, side](FieldMessage* lease)
                                                  {
                                                      if (auto s = weak.lock())
                                                          s->Release(side, lease->GetChunks());
                                                  });
        }
        catch (...)
        {
            state->Release(m_side, chunks);
            return {};
        }
    }

private:
    // Undoes what the receiver (the other side) takes on delivery.
    FieldMessage::ReleaseHook Hook() const
    {
        std::weak_ptr<FieldManager::State> weak = m_state;
        const int receiver = FieldManager::State::Other(m_side);
        return [weak, receiver](FieldMessage* message)
        {
            if (auto s = weak.lock())
                s->Release(receiver, message->GetChunks());
        };
    }

    void Post(FieldMessagePtr message)
    {
        if (auto state = m_state.lock())
            state->Post(m_side, std::move(message));
    }

    std::weak_ptr<FieldManager::State> m_state;
    int m_side;
};

} // namespace

void FieldManager::State::Post(int side, FieldMessagePtr message)
{
    if (!message)
        return;
    std::lock_guard<std::recursive_mutex> guard(lock);
    ++(side == Side::Audio ? counters.postsAudio : counters.postsUserInterface);
    ++counters.posts;
    if (message->GetType() == MessageType::Dump)
        Dump();
    ApplyPostEffect(*message);
    const int receiver = Other(side);
    queues[receiver].push_back(std::move(message));
    ++queued[receiver];
}

void FieldManager::State::Dump() const
{
    std::lock_guard<std::recursive_mutex> guard(lock);
    WriteDebugLine("Dump SPL FieldManager:");
    WriteDebugLine("   ui message count: " + std::to_string(queued[Side::UserInterface].load()));
    WriteDebugLine("   audio message count: " + std::to_string(queued[Side::Audio].load()));
    std::vector<const Entry*> sorted;
    for (const auto& entry : entries)
        sorted.push_back(&entry.second);
    std::sort(sorted.begin(), sorted.end(),
              [](const Entry* a, const Entry* b) { return a->chunk.get() < b->chunk.get(); });
    const struct
    {
        int owner;
        const char* title;
    } sets[] = {{Unowned, "unowned chunks"},
                {Side::UserInterface, "ui owned chunks"},
                {Side::Audio, "audio owned chunks"}};
    for (const auto& set : sets)
    {
        for (const Entry* entry : sorted)
        {
            if (entry->owner == set.owner)
                WriteDebugLine(std::string("  ") + set.title + ": " + std::to_string(entry->chunk->GetId()));
        }
    }
}

FieldManager::FieldManager() : m_state(std::make_shared<State>())
{
    m_messengers[Side::UserInterface] = std::make_shared<Messenger>(m_state, Side::UserInterface);
    m_messengers[Side::Audio] = std::make_shared<Messenger>(m_state, Side::Audio);
}

FieldManager::~FieldManager() = default;

FieldMessengerPtr FieldManager::GetMessenger(int side) const
{
    return side == Side::Audio ? m_messengers[Side::Audio] : m_messengers[Side::UserInterface];
}

void FieldManager::Post(int side, FieldMessagePtr message)
{
    m_state->Post(side, std::move(message));
}

FieldMessagePtr FieldManager::Receive(int side)
{
    return m_state->Receive(side);
}

FieldMessagePtr FieldManager::ClaimChunks(int side, const ChunkList& chunks)
{
    return GetMessenger(side)->ClaimChunks(chunks);
}

bool FieldManager::AcquireChunks(int side, const ChunkList& chunks)
{
    return m_state->Acquire(side, chunks);
}

void FieldManager::ReleaseChunks(int side, const ChunkList& chunks)
{
    m_state->Release(side, chunks);
}

FieldManager::Counters FieldManager::GetCounters() const
{
    std::lock_guard<std::recursive_mutex> guard(m_state->lock);
    return m_state->counters;
}

uint32_t FieldManager::GetQueuedCount(int side) const
{
    return m_state->queued[side == Side::Audio ? Side::Audio : Side::UserInterface].load();
}

FieldManager::Owner FieldManager::GetOwner(const FieldChunkPtr& chunk) const
{
    std::lock_guard<std::recursive_mutex> guard(m_state->lock);
    auto it = m_state->entries.find(chunk.get());
    if (it == m_state->entries.end())
        return Owner::None;
    if (it->second.removed && it->second.owner == Unowned)
        return Owner::None;
    switch (it->second.owner)
    {
    case Side::UserInterface:
        return Owner::UserInterface;
    case Side::Audio:
        return Owner::Audio;
    default:
        return Owner::Unowned;
    }
}

bool FieldManager::IsKnown(const FieldChunkPtr& chunk) const
{
    std::lock_guard<std::recursive_mutex> guard(m_state->lock);
    return m_state->entries.count(chunk.get()) != 0;
}

void FieldManager::Dump() const
{
    m_state->Dump();
}

} // namespace zorvpro::field
