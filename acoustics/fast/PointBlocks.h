#pragma once

#include <atomic>
#include <cstdint>

namespace zorvpro::acoustics
{

// Hands out the points begin..end-1 in consecutive blocks, each exactly once,
// to any number of threads. Workers that take blocks until none are left
// finish together within about one block's time, however unevenly the
// processor serves them (a worker preempted by another program holds up only
// the block it is in).
class PointBlocks
{
public:
    PointBlocks(uint64_t begin, uint64_t end, uint64_t blockSize);

    // The next block [first, last); false when every point has been handed out.
    bool next(uint64_t& first, uint64_t& last);

    // About 32 blocks per worker, of 1 to 32 points.
    static uint64_t BlockSizeFor(uint64_t points, uint32_t workers);

private:
    std::atomic<uint64_t> cursor;
    const uint64_t end;
    const uint64_t size;
};

} // namespace zorvpro::acoustics
