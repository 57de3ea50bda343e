#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

namespace zorvpro
{
namespace acoustics
{

// The job ids a waiting calculate() walks while worker threads append to it.
class SubJobList
{
public:
    void append(uint64_t id)
    {
        std::lock_guard<std::mutex> guard(mutex);
        ids.push_back(id);
    }
    size_t size() const
    {
        std::lock_guard<std::mutex> guard(mutex);
        return ids.size();
    }
    uint64_t at(size_t index) const
    {
        std::lock_guard<std::mutex> guard(mutex);
        return index < ids.size() ? ids[index] : 0;
    }

private:
    mutable std::mutex mutex;
    std::vector<uint64_t> ids;
};

} // namespace acoustics
} // namespace zorvpro
