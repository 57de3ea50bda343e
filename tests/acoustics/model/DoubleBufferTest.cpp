#include "acoustics/model/DoubleBuffer.h"

#include <gtest/gtest.h>

using namespace zorvpro::acoustics;

TEST(DoubleBuffer, AllocateKeepsOrReplaces)
{
    DoubleBuffer b;
    EXPECT_FALSE(b.allocate(0));
    EXPECT_TRUE(b.allocate(3, 2.5));
    EXPECT_EQ(b, (DoubleBuffer{2.5, 2.5, 2.5}));
    b[1] = 7.0;
    // Same count keeps the values, fill or not.
    EXPECT_TRUE(b.allocate(3, 9.0));
    EXPECT_EQ(b[1], 7.0);
    // A different count starts over, zero-filled.
    EXPECT_TRUE(b.allocate(2));
    EXPECT_EQ(b, (DoubleBuffer{0.0, 0.0}));
    b.release();
    EXPECT_EQ(b.count(), 0u);
    EXPECT_TRUE(b.empty());
}

TEST(DoubleBuffer, CopyIsDeepMoveEmptiesSource)
{
    DoubleBuffer a{1.0, 2.0};
    DoubleBuffer copy(a);
    copy[0] = 5.0;
    EXPECT_EQ(a[0], 1.0);
    DoubleBuffer moved(std::move(a));
    EXPECT_EQ(moved, (DoubleBuffer{1.0, 2.0}));
    EXPECT_TRUE(a.empty());
    EXPECT_EQ(a.count(), 0u);
    copy = moved;
    EXPECT_EQ(copy, moved);
    const DoubleBuffer& self = copy;
    copy = self;
    EXPECT_EQ(copy.count(), 2u);
}

TEST(DoubleBuffer, ElementWiseArithmetic)
{
    DoubleBuffer a{1.0, 0.0, 4.0};
    EXPECT_TRUE(a.divide(DoubleBuffer{0.0, 5.0, 2.0}));
    EXPECT_EQ(a, (DoubleBuffer{0.0, 0.0, 2.0}));

    DoubleBuffer b{1.0, 2.0, 3.0};
    EXPECT_TRUE(b.add(DoubleBuffer{1.0, 1.0, 1.0}));
    EXPECT_TRUE(b.multiply(DoubleBuffer{2.0, 2.0, 0.5}));
    EXPECT_TRUE(b.subtract(DoubleBuffer{1.0, 1.0, 1.0}));
    EXPECT_EQ(b, (DoubleBuffer{3.0, 5.0, 1.0}));

    // Mismatched or empty operands leave the target alone.
    EXPECT_FALSE(b.add(DoubleBuffer{1.0, 1.0}));
    EXPECT_FALSE(b.multiply(DoubleBuffer{}));
    DoubleBuffer empty;
    EXPECT_FALSE(empty.add(DoubleBuffer{}));
    EXPECT_EQ(b, (DoubleBuffer{3.0, 5.0, 1.0}));

    DoubleBuffer negated = std::move(b).negate();
    EXPECT_EQ(negated, (DoubleBuffer{-3.0, -5.0, -1.0}));
    EXPECT_TRUE(b.empty());
}
