#include "core/math/Timestamp.h"

#include <gtest/gtest.h>
#include <thread>

using zorvpro::Timestamp;

TEST(Timestamp, NeverGoesBackwardsAndCountsMilliseconds)
{
    Timestamp first;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    Timestamp second;
    EXPECT_LE(first.Milliseconds() + 20, second.Milliseconds());
    EXPECT_TRUE(first < second);
    EXPECT_EQ(Timestamp(42).Milliseconds(), 42);
}
