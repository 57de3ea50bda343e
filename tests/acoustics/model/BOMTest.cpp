#include "acoustics/model/BOM.h"

#include <gtest/gtest.h>

#include <limits>

using namespace zorvpro::acoustics;

TEST(BOM, AddMergesSameLinesOnly)
{
    BOM bom;
    bom.add(BOMInfo("Array", "ZT-100", "Line array module"));
    bom.add(BOMInfo("Array", "ZT-100", "Line array modulE"));
    bom.add(BOMInfo("Array", "ZT-100", "Line array module"));
    bom.add(BOMInfo("Array", "ZT-100", "Line array module"));
    ASSERT_EQ(bom.count(), 2u);
    EXPECT_EQ(bom.at(0).description, "Line array module");
    EXPECT_EQ(bom.at(0).quantity, 3u);
    EXPECT_EQ(bom.at(1).quantity, 1u);
    // No trimming: a trailing blank makes another line.
    bom.add(BOMInfo("Array ", "ZT-100", "Line array module"));
    EXPECT_EQ(bom.count(), 3u);
}

TEST(BOM, AppendAddsQuantities)
{
    BOMInfo four("Rig", "ZR-1", "Flying frame");
    four.quantity = 4;
    BOM source;
    source.add(four);
    source.add(BOMInfo("Cable", "ZC-2", "Link cable"));

    BOM target;
    BOMInfo two("Rig", "ZR-1", "Flying frame");
    two.quantity = 2;
    target.add(two);
    target.append(source);
    ASSERT_EQ(target.count(), 2u);
    EXPECT_EQ(target.at(0).quantity, 6u);
    EXPECT_EQ(target.at(1).item, "Cable");

    BOM empty;
    empty.append(source);
    EXPECT_EQ(empty.at(0).quantity, 4u);

    source.append(source);
    EXPECT_EQ(source.count(), 2u);
    EXPECT_EQ(source.at(0).quantity, 4u);

    // Copies are deep.
    BOM copy(target);
    copy.add(two);
    EXPECT_EQ(target.at(0).quantity, 6u);
    EXPECT_EQ(copy.at(0).quantity, 8u);
}

TEST(BOM, AtPastTheEndIsTheEmptyLine)
{
    BOM bom;
    bom.add(BOMInfo("A", "B", "C"));
    for (uint32_t index : {1u, std::numeric_limits<uint32_t>::max()})
    {
        const BOMInfo& line = bom.at(index);
        EXPECT_TRUE(line.item.empty());
        EXPECT_TRUE(line.sku.empty());
        EXPECT_TRUE(line.description.empty());
        EXPECT_EQ(line.quantity, 1u);
    }
    EXPECT_EQ(&bom.at(5), &BOM().at(0));
}
