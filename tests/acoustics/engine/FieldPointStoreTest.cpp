#include "acoustics/engine/FieldPointStore.h"

#include <gtest/gtest.h>

using namespace zorvpro;
using namespace zorvpro::acoustics;

namespace
{
FieldPoints Line(int count, double offset = 0.0, int64_t time = 100)
{
    FieldPoints points;
    for (int i = 0; i < count; ++i)
        points.Add(i + offset, 0.0, 1.0, static_cast<uint64_t>(i));
    points.SetTimestamp(Timestamp(time));
    return points;
}
} // namespace

TEST(FieldPointStore, EqualityIsTolerantAndTrustsTheTimestamp)
{
    EXPECT_TRUE(SameFieldPoints(FieldPoints(), FieldPoints()));
    EXPECT_TRUE(SameFieldPoints(Line(3), Line(3, 0.0, 999))) << "same points, other time";
    EXPECT_TRUE(SameFieldPoints(Line(3), Line(3, 1e-16, 999))) << "within the tolerance";
    EXPECT_FALSE(SameFieldPoints(Line(3), Line(3, 1e-9, 999)));
    EXPECT_FALSE(SameFieldPoints(Line(3), Line(4)));
    EXPECT_FALSE(SameFieldPoints(Line(0), Line(1)));

    // Same time, count, first and last point: inner points are not compared.
    FieldPoints moved = Line(3);
    auto points = moved.GetPoints();
    points[1].z = 50.0;
    moved.SetPoints(points);
    EXPECT_TRUE(SameFieldPoints(Line(3), moved));
    moved.SetTimestamp(Timestamp(101));
    EXPECT_FALSE(SameFieldPoints(Line(3), moved));

    // Tags and source filter do not take part.
    FieldPoints filtered = Line(2);
    filtered.SetSourceFilter(4);
    EXPECT_TRUE(SameFieldPoints(Line(2), filtered));
}

TEST(FieldPointStore, StoresCopiesOnlyWhenChangedAndNeverAnEmptySet)
{
    FieldPointStore store;
    EXPECT_TRUE(store.empty());
    EXPECT_FALSE(store.set(1, FieldPoints())) << "empty against nothing stored: no change";
    EXPECT_TRUE(store.empty());

    FieldPoints points = Line(2);
    EXPECT_TRUE(store.set(1, points));
    points.Add(9, 9, 9, 9); // the store holds its own copy
    EXPECT_EQ(store.find(1)->Count(), 2u);
    EXPECT_FALSE(store.set(1, Line(2, 0.0, 555)));

    EXPECT_TRUE(store.set(1, FieldPoints())) << "differs, so it counts as a change";
    EXPECT_EQ(store.find(1)->Count(), 2u) << "but an empty set is not stored";

    EXPECT_TRUE(store.set(2, Line(1)));
    auto ids = store.ids();
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(ids, (std::vector<uint64_t>{1, 2}));
    store.remove(1);
    EXPECT_EQ(store.find(1)->Count(), 0u);
    EXPECT_EQ(store.ids(), std::vector<uint64_t>{2});
}
