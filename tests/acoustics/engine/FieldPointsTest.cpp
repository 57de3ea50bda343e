#include "acoustics/engine/FieldPointsData.h"

#include <gtest/gtest.h>

using namespace zorvpro;
using namespace zorvpro::acoustics;

TEST(FieldPoints, CopiesPointsFilterAndTimestampButNotTheLock)
{
    FieldPoints points;
    EXPECT_EQ(points.Count(), 0u);
    EXPECT_EQ(points.GetSourceFilter(), FieldPoints::AllSources);
    points.Add(1.0, 2.0, 3.0, 7);
    points.Add(4.0, 5.0, 6.0, 9);
    points.SetSourceFilter(42);
    points.SetTimestamp(Timestamp(1234));

    FieldPoints copy(points);
    EXPECT_NE(&copy.GetLock(), &points.GetLock());
    ASSERT_EQ(copy.Count(), 2u);
    EXPECT_EQ(copy.At(1).y, 5.0);
    EXPECT_EQ(copy.At(1).tag, 9u);
    EXPECT_EQ(copy.GetSourceFilter(), 42u);
    EXPECT_EQ(copy.GetTimestamp(), Timestamp(1234));
    EXPECT_EQ(copy.At(2).tag, 0u) << "out of range gives a default point";

    // The copy is independent of its source.
    points.Add(0, 0, 0, 1);
    EXPECT_EQ(copy.Count(), 2u);
}

TEST(FieldPoints, DataCopyTakesPointsAndKeepsItsDataSet)
{
    FieldPoints points;
    points.Add(1.0, 1.0, 1.0, 3);
    points.SetSourceFilter(5);

    FieldPointsData data;
    EXPECT_EQ(data.GetDataSet(), nullptr);
    data.CopyPoints(points);
    EXPECT_EQ(data.Count(), 1u);
    EXPECT_EQ(data.At(0).tag, 3u);
    EXPECT_EQ(data.GetSourceFilter(), 5u);
    EXPECT_EQ(data.GetTimestamp(), points.GetTimestamp());
}
