#include "acoustics/fast/PointBlocks.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

using namespace zorvpro::acoustics;

TEST(PointBlocks, WorkersTogetherTakeEveryPointExactlyOnce)
{
    const uint64_t pointCounts[] = {1, 2, 7, 31, 32, 33, 100, 1000, 10201};
    const uint32_t workerCounts[] = {1, 2, 3, 7, 8, 16};
    for (uint64_t points : pointCounts)
        for (uint32_t workers : workerCounts)
        {
            SCOPED_TRACE(std::to_string(points) + " points, " + std::to_string(workers) + " workers");
            const uint64_t size = PointBlocks::BlockSizeFor(points, workers);
            ASSERT_GE(size, 1u);
            ASSERT_LE(size, 32u);
            // Blocks start at an offset, as a later part of a set would.
            const uint64_t offset = 5;
            PointBlocks blocks(offset, offset + points, size);
            std::vector<std::atomic<int>> taken(points + offset);
            std::vector<std::thread> threads;
            for (uint32_t w = 0; w < workers; ++w)
                threads.emplace_back(
                    [&]
                    {
                        uint64_t first = 0, last = 0;
                        while (blocks.next(first, last))
                        {
                            ASSERT_LT(first, last);
                            ASSERT_LE(last - first, size);
                            for (uint64_t i = first; i < last; ++i)
                                taken.at(i).fetch_add(1);
                        }
                    });
            for (auto& t : threads)
                t.join();
            uint64_t first = 0, last = 0;
            EXPECT_FALSE(blocks.next(first, last)); // stays drained
            for (uint64_t i = 0; i < taken.size(); ++i)
                ASSERT_EQ(taken[i].load(), i < offset ? 0 : 1) << "point " << i;
        }
}
