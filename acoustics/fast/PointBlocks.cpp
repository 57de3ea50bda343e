#include "acoustics/fast/PointBlocks.h"

#include <algorithm>

namespace zorvpro::acoustics
{

PointBlocks::PointBlocks(uint64_t begin, uint64_t end_, uint64_t blockSize)
    : cursor(begin), end(end_), size(std::max<uint64_t>(1, blockSize))
{
}

bool PointBlocks::next(uint64_t& first, uint64_t& last)
{
    // Checked first, so the cursor passes the end by at most one block per
    // thread and never wraps around.
    if (cursor.load(std::memory_order_relaxed) >= end)
        return false;
    first = cursor.fetch_add(size, std::memory_order_relaxed);
    if (first >= end)
        return false;
    last = std::min(end, first + size);
    return true;
}

uint64_t PointBlocks::BlockSizeFor(uint64_t points, uint32_t workers)
{
    const uint64_t blocks = 32 * static_cast<uint64_t>(std::max<uint32_t>(1, workers));
    return std::clamp<uint64_t>(points / blocks, 1, 32);
}

} // namespace zorvpro::acoustics
