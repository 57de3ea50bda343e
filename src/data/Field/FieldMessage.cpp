#include "data/Field/FieldMessage.h"

namespace zorvpro::field
{

FieldMessage::FieldMessage(uint32_t type, ChunkList chunks, ReleaseHook hook)
    : m_type(type), m_chunks(std::move(chunks)), m_hook(std::move(hook))
{
}

FieldMessage::FieldMessage(uint32_t type, NodeList nodes, ReleaseHook hook)
    : m_type(type), m_nodes(std::move(nodes)), m_hook(std::move(hook))
{
}

FieldMessage::~FieldMessage()
{
    try
    {
        if (m_hook)
            m_hook(this);
    }
    catch (...)
    {
        // A destructor must not throw; the hook only gives chunks back.
    }
}

} // namespace zorvpro::field
