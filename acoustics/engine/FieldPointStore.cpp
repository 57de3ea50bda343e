#include "acoustics/engine/FieldPointStore.h"

#include "core/math/Compare.h"

namespace zorvpro
{
namespace acoustics
{

namespace
{
bool SamePosition(const FieldPoint& a, const FieldPoint& b)
{
    return math::AlmostEqual(a.x, b.x) && math::AlmostEqual(a.y, b.y) && math::AlmostEqual(a.z, b.z);
}
} // namespace

bool SameFieldPoints(const FieldPoints& a, const FieldPoints& b)
{
    if (&a == &b)
        return true;
    std::scoped_lock both(a.GetLock(), b.GetLock());
    const auto count = a.Count();
    if (count == 0 && b.Count() == 0)
        return true;
    if (count != b.Count())
        return false;
    if (!SamePosition(a.At(0), b.At(0)) || !SamePosition(a.At(count - 1), b.At(count - 1)))
        return false;
    if (a.GetTimestamp() == b.GetTimestamp())
        return true;
    for (uint64_t i = 0; i < count; ++i)
        if (!SamePosition(a.At(i), b.At(i)))
            return false;
    return true;
}

bool FieldPointStore::set(uint64_t id, const FieldPoints& points)
{
    EngineGuard guard(lock);
    static const FieldPoints none;
    auto found = sets.find(id);
    if (SameFieldPoints(points, found == sets.end() ? none : *found->second))
        return false;
    if (points.Count() > 0)
        sets[id] = std::make_shared<const FieldPoints>(points);
    return true;
}

void FieldPointStore::remove(uint64_t id)
{
    EngineGuard guard(lock);
    sets.erase(id);
}

bool FieldPointStore::empty() const
{
    EngineGuard guard(lock);
    return sets.empty();
}

void FieldPointStore::clear()
{
    EngineGuard guard(lock);
    sets.clear();
}

std::vector<uint64_t> FieldPointStore::ids() const
{
    EngineGuard guard(lock);
    std::vector<uint64_t> result;
    result.reserve(sets.size());
    for (const auto& entry : sets)
        result.push_back(entry.first);
    return result;
}

std::shared_ptr<const FieldPoints> FieldPointStore::find(uint64_t id) const
{
    EngineGuard guard(lock);
    auto found = sets.find(id);
    return found == sets.end() ? std::make_shared<const FieldPoints>() : found->second;
}

} // namespace acoustics
} // namespace zorvpro
