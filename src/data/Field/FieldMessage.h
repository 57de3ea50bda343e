#pragma once

#include "data/Field/FieldChunk.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace zorvpro
{
class Node;
}

namespace zorvpro::field
{

using NodeList = std::vector<std::shared_ptr<Node>>;

// One message between the user interface and the engine side, carrying either
// chunks or nodes. Its release hook runs when the last owner drops it and
// gives back what the receiver took.
class FieldMessage
{
public:
    using ReleaseHook = std::function<void(FieldMessage*)>;

    FieldMessage(uint32_t type, ChunkList chunks, ReleaseHook hook = {});
    FieldMessage(uint32_t type, NodeList nodes, ReleaseHook hook = {});
    // Runs the hook; whatever it throws is swallowed.
    ~FieldMessage();

    FieldMessage(const FieldMessage&) = delete;
    FieldMessage& operator=(const FieldMessage&) = delete;

    uint32_t GetType() const { return m_type; }
    const ChunkList& GetChunks() const { return m_chunks; }
    const NodeList& GetNodes() const { return m_nodes; }

private:
    uint32_t m_type;
    NodeList m_nodes;
    ChunkList m_chunks;
    ReleaseHook m_hook;
};

using FieldMessagePtr = std::shared_ptr<FieldMessage>;

// How one side talks to the field manager.
class IFieldMessenger
{
public:
    virtual ~IFieldMessenger() = default;

    // The next deliverable message for this side; empty when there is none.
    virtual FieldMessagePtr Receive() = 0;
    // A message without payload.
    virtual void Send(uint32_t type) { SendChunks(type, {}); }
    virtual void SendNodes(uint32_t type, const NodeList& nodes) = 0;
    virtual void SendChunks(uint32_t type, const ChunkList& chunks) = 0;
    // A lease (type 0) on all the chunks, or empty when any of them is taken
    // by the other side. Dropping the lease gives them back.
    virtual FieldMessagePtr ClaimChunks(const ChunkList& chunks) = 0;
};

using FieldMessengerPtr = std::shared_ptr<IFieldMessenger>;

} // namespace zorvpro::field
