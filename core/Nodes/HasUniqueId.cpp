#include "core/Nodes/HasUniqueId.h"

#include <atomic>

namespace zorvpro
{

namespace
{
std::atomic<uint64_t> s_nextId{0};
}

HasUniqueId::HasUniqueId() : m_id(s_nextId.fetch_add(1)) {}

} // namespace zorvpro
