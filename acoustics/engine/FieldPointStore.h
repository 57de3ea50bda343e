#pragma once

#include "acoustics/engine/EngineLock.h"
#include "acoustics/engine/FieldPoints.h"

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

namespace zorvpro
{
namespace acoustics
{

// Same field points, by position only and with the tolerant comparison: both empty, or the
// same count, first and last point, and then either the same timestamp or every point equal.
bool SameFieldPoints(const FieldPoints& a, const FieldPoints& b);

// The engine's copies of the field-point sets, by set id.
class FieldPointStore
{
public:
    // Stores a copy when the points differ from the stored set of that id (a set without
    // points is not stored). True when they differed, whether stored or not.
    bool set(uint64_t id, const FieldPoints& points);
    void remove(uint64_t id);
    bool empty() const;
    void clear();
    // The ids in the map's order.
    std::vector<uint64_t> ids() const;
    // The stored set of id; an empty set when there is none.
    std::shared_ptr<const FieldPoints> find(uint64_t id) const;

private:
    mutable EngineLock lock;
    std::unordered_map<uint64_t, std::shared_ptr<const FieldPoints>> sets;
};

} // namespace acoustics
} // namespace zorvpro
