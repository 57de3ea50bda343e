#include "core/Base/HasUniqueId.h"

#include <atomic>

namespace zorvpro
{

namespace
{
std::atomic<uint64_t> s_nextId{0};
}

uint64_t HasUniqueId::NextId()
{
    return s_nextId.fetch_add(1);
}

HasUniqueId::HasUniqueId() : m_id(NextId()) {}

} // namespace zorvpro
