#include "core/math/BBox.h"

#include "MathTestHelpers.h"

using namespace zorvpro::math;
using zorvpro::math::test::ExpectNear;

TEST(BBox, BuiltFromTwoCornersIsOrderedPerAxis)
{
    const BBox box({1, 5, 0}, {3, 2, 4});
    EXPECT_EQ(box.min, Vec3(1, 2, 0));
    EXPECT_EQ(box.max, Vec3(3, 5, 4));
    EXPECT_FALSE(box.IsEmpty());

    BBox swapped;
    swapped.min = {4, 0, -1};
    swapped.max = {2, 1, -3};
    swapped.Normalize();
    EXPECT_EQ(swapped.min, Vec3(2, 0, -3));
    EXPECT_EQ(swapped.max, Vec3(4, 1, -1));
}

TEST(BBox, EmptyMeansBothCornersZeroWithinTolerance)
{
    EXPECT_TRUE(BBox().IsEmpty());
    BBox almost;
    almost.min = {5e-15, 0, 0};
    almost.max = {0, -5e-15, 0};
    EXPECT_TRUE(almost.IsEmpty());
    almost.max.z = 6e-15;
    EXPECT_FALSE(almost.IsEmpty());
}

TEST(BBox, UnionWithEmptyFirstBoxReturnsTheSecondUnchanged)
{
    BBox second;
    second.min = {3, 0, 0}; // deliberately unordered on x
    second.max = {1, 2, 2};
    const BBox result = BBox::Union(BBox(), second);
    EXPECT_EQ(result.min, second.min);
    EXPECT_EQ(result.max, second.max);
}

TEST(BBox, UnionSpansBothAndOrdersSwappedAxes)
{
    const BBox a({0, 0, 0}, {1, 1, 1});
    const BBox b({-1, 0.5, 2}, {0.5, 3, 4});
    const BBox u = BBox::Union(a, b);
    EXPECT_EQ(u.min, Vec3(-1, 0, 0));
    EXPECT_EQ(u.max, Vec3(1, 3, 4));

    BBox inverted;
    inverted.min = {5, 1, 1};
    inverted.max = {-5, 2, 2};
    BBox other;
    other.min = {6, 1, 1};
    other.max = {-6, 2, 2};
    const BBox fixed = BBox::Union(inverted, other);
    EXPECT_EQ(fixed.min, Vec3(-5, 1, 1));
    EXPECT_EQ(fixed.max, Vec3(5, 2, 2));

    // Folding from the empty box, as a cluster does with its members.
    BBox folded;
    folded = BBox::Union(folded, BBox({2, 2, 2}, {3, 3, 3}));
    folded = BBox::Union(folded, BBox({4, 1, 2}, {5, 2, 3}));
    EXPECT_EQ(folded.min, Vec3(2, 1, 2));
    EXPECT_EQ(folded.max, Vec3(5, 3, 3));
}

TEST(BBox, ExtendStartsAtTheFirstPointAndGrows)
{
    BBox box = BBox::Extend(BBox(), {2, 3, 4});
    EXPECT_EQ(box.min, Vec3(2, 3, 4));
    EXPECT_EQ(box.max, Vec3(2, 3, 4));

    box = BBox::Extend(box, {-1, 5, 4});
    EXPECT_EQ(box.min, Vec3(-1, 3, 4));
    EXPECT_EQ(box.max, Vec3(2, 5, 4));

    const BBox inside = BBox::Extend(box, {0, 4, 4});
    EXPECT_EQ(inside.min, box.min);
    EXPECT_EQ(inside.max, box.max);

    // The member form leaves the box itself alone.
    const BBox grown = box.Extended({7, 0, 4});
    EXPECT_EQ(grown.min, Vec3(-1, 0, 4));
    EXPECT_EQ(grown.max, Vec3(7, 5, 4));
    EXPECT_EQ(box.max, Vec3(2, 5, 4));
    EXPECT_EQ(BBox().Extended({1, 1, 1}).min, Vec3(1, 1, 1));
}

TEST(BBox, TransformBoxMapsTwoCornersAndOrdersThem)
{
    const Mat4 mirrorAndMove({-1, 0, 0, 10, 0, 1, 0, 0, 0, 0, 2, 0, 0, 0, 0, 1});
    const BBox mapped = TransformBox(mirrorAndMove, BBox({1, 2, 3}, {4, 5, 6}));
    ExpectNear(mapped.min, {6, 2, 6});
    ExpectNear(mapped.max, {9, 5, 12});
}
