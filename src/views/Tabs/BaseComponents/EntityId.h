#pragma once

#include <cstdint>
#include <list>

namespace zorvpro
{
// The unique id of a scene entity as the entity list and the tab adapters
// exchange it; selections travel as lists of ids in table order.
using Id = std::uint64_t;
using IdList = std::list<Id>;

// No entity.
constexpr Id kNoEntity = ~Id(0);
} // namespace zorvpro
