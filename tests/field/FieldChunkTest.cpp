#include "data/Field/FieldChunk.h"
#include "FieldTestSupport.h"
#include "core/Base/HasUniqueId.h"

#include <gtest/gtest.h>

namespace zorvpro::field
{
namespace
{

using testing::NextResult;

TEST(FieldChunk, OnlyNewerResultsWithDataBecomeTheLatestAndPromotionMovesThem)
{
    const uint64_t before = HasUniqueId::NextId();
    FieldChunk chunk(1);
    EXPECT_EQ(chunk.GetId(), before + 1) << "ids come from the counter nodes use";
    EXPECT_EQ(chunk.GetSourceFilter(), acoustics::FieldPoints::AllSources);
    auto older = NextResult();
    auto newer = NextResult();
    auto newest = NextResult();

    chunk.SetDataSet(nullptr);
    chunk.SetDataSet(NextResult(false));
    EXPECT_EQ(chunk.GetLatestDataSet(), nullptr) << "a result without a data set never counts";

    chunk.SetDataSet(newer); // neither latest nor shown: newer
    chunk.SetDataSet(older); // older than the latest
    EXPECT_EQ(chunk.GetLatestDataSet(), newer);
    chunk.SetDataSet(newer); // same time is not newer
    EXPECT_EQ(chunk.GetLatestDataSet(), newer);

    chunk.PromoteLatest();
    EXPECT_EQ(chunk.GetDataSet(), newer);
    EXPECT_EQ(chunk.GetLatestDataSet(), nullptr);
    chunk.PromoteLatest();
    EXPECT_EQ(chunk.GetDataSet(), newer) << "nothing to promote keeps the shown result";

    chunk.SetDataSet(older); // compared with the shown one now
    EXPECT_EQ(chunk.GetLatestDataSet(), nullptr);
    chunk.SetDataSet(newest);
    EXPECT_EQ(chunk.GetLatestDataSet(), newest);

    // Clearing keeps the latest result but drops the shown one.
    chunk.GetPoints().Add(1, 2, 3, 4);
    chunk.SetTransform(math::Mat4::Translation({1, 2, 3}));
    chunk.Install({{1, 2, 3, 4}}, ChunkMesh{{{0, 0, 0}}, {0}, {0}, 1, 1});
    chunk.Clear();
    EXPECT_EQ(chunk.GetDataSet(), nullptr);
    EXPECT_EQ(chunk.GetLatestDataSet(), newest);
    EXPECT_EQ(chunk.GetPoints().Count(), 0u);
    EXPECT_TRUE(chunk.GetMesh().triangles.empty());
    EXPECT_TRUE(chunk.GetMesh().rowIndex.empty());
    EXPECT_EQ(chunk.GetTransform().m, math::Mat4().m);
}

} // namespace
} // namespace zorvpro::field
