#pragma once

#include <cstdint>

namespace zorvpro
{

// Gives nodes, entities and views ids from one process-wide counter, so ids
// are unique across all of them for the life of the process.
class HasUniqueId
{
public:
    HasUniqueId();
    virtual ~HasUniqueId() = default;

    HasUniqueId(const HasUniqueId&) = delete;
    HasUniqueId& operator=(const HasUniqueId&) = delete;

    uint64_t GetId() const { return m_id; }

    // Draws the next id from the counter, for objects that carry an id
    // without deriving from this class.
    static uint64_t NextId();

private:
    const uint64_t m_id;
};

} // namespace zorvpro
