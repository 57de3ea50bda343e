#include "acoustics/data/LoudspeakerImpl.h"
#include "core/math/Quaternion.h"

#include <gtest/gtest.h>

using namespace zorvpro::acoustics;
using zorvpro::math::Vec3;

namespace
{

std::vector<DXFFace> Slab(double z0, double z1)
{
    return {DXFFace(1, {Vec3(0, 0, z0), Vec3(1, 0, z0), Vec3(1, 2, z0), Vec3(0, 2, z0)}),
            DXFFace(1, {Vec3(0, 0, z1), Vec3(1, 0, z1), Vec3(1, 2, z1), Vec3(0, 2, z1)})};
}

std::shared_ptr<Polar> MakePolarWithId(uint32_t id)
{
    auto polar = std::make_shared<Polar>(1.5707963267948966, 28);
    polar->setPolarId(id);
    return polar;
}

std::shared_ptr<Transducer> Driver(uint32_t index, uint32_t polarId, double z)
{
    auto t = std::make_shared<Transducer>("d" + std::to_string(index), index, 1.0, polarId, 0);
    t->setPosition(Vec3(0, 0, z));
    return t;
}

} // namespace

TEST(LoudspeakerImpl, FacesAreShiftedByHalfTheirHeight)
{
    LoudspeakerImpl a;
    a.setFaces(Slab(0.0, 0.5));
    EXPECT_DOUBLE_EQ(a.getLocalBox().min.z, -0.25);
    EXPECT_DOUBLE_EQ(a.getLocalBox().max.z, 0.25);
    EXPECT_DOUBLE_EQ(a.getModelMatrix()[11], -0.25);
    EXPECT_DOUBLE_EQ(a.getExtentZ(), 0.5);
    EXPECT_DOUBLE_EQ(a.getExtentX(), 1.0);
    EXPECT_DOUBLE_EQ(a.getExtentY(), 2.0);

    LoudspeakerImpl b;
    b.setFaces(Slab(1.0, 3.0)); // half the extent, not the centre
    EXPECT_DOUBLE_EQ(b.getLocalBox().min.z, 0.0);
    EXPECT_DOUBLE_EQ(b.getLocalBox().max.z, 2.0);
    ASSERT_EQ(b.getFaces().size(), 2u);
    EXPECT_DOUBLE_EQ(b.getFaces()[1].points[2].z, 2.0);
    EXPECT_EQ(b.getFaces()[1].type, 1u);
}

TEST(LoudspeakerImpl, BoundingBoxMapsTwoCornersThroughThePlacement)
{
    LoudspeakerImpl s;
    s.setFaces(Slab(0.0, 0.5));
    s.setOrientation(Orientation{0, 0, 1.5707963267948966}); // 90 degrees about z
    const zorvpro::math::BBox box = s.getBoundingBox();
    // (0,0,-0.25) and (1,2,0.25) turn into (0,0,..) and (-2,1,..), then order.
    EXPECT_NEAR(box.min.x, -2.0, 1e-12);
    EXPECT_NEAR(box.max.x, 0.0, 1e-12);
    EXPECT_NEAR(box.min.y, 0.0, 1e-12);
    EXPECT_NEAR(box.max.y, 1.0, 1e-12);
    EXPECT_NEAR(box.min.z, -0.25, 1e-12);
}

TEST(LoudspeakerImpl, SetPartsNeedsAllThreeLists)
{
    LoudspeakerImpl s;
    EXPECT_EQ(s.setParts({MakePolarWithId(0)}, {}, {std::make_shared<Transformer>("t", 0, 0)}), 0);
    EXPECT_TRUE(s.getPolars().empty());
    EXPECT_EQ(s.setParts({MakePolarWithId(2), MakePolarWithId(1)}, {Driver(1, 1, 0), Driver(0, 2, 0)},
                         {std::make_shared<Transformer>("t", 0, 0)}),
              1);
    EXPECT_EQ(s.getPolars()[0]->getPolarId(), 1u);
    EXPECT_EQ(s.getTransducers()[0]->getIndex(), 0u);
}

TEST(LoudspeakerImpl, CopyAssemblesOnceAndStopsAtAMissingPolar)
{
    LoudspeakerImpl model;
    model.setFaces(Slab(0.0, 1.0));
    model.setParts({MakePolarWithId(0)}, {Driver(0, 0, 0.1), Driver(1, 9, 0.2), Driver(2, 0, 0.3)},
                   {std::make_shared<Transformer>("t", 0, 25)});
    LoudspeakerImpl copy(model);
    EXPECT_TRUE(copy.isAssembled());
    EXPECT_FALSE(copy.assemble()); // already done: nothing changes
    ASSERT_EQ(copy.getChildren().size(), 1u);
    // The first driver is linked and moved, the one naming polar 9 stops the walk.
    EXPECT_EQ(copy.getChildren()[0]->getChildren().size(), 1u);
    EXPECT_NE(copy.getTransducers()[0]->getPolar(), nullptr);
    EXPECT_NEAR(copy.getTransducers()[0]->getPosition().z, 0.1 - 0.5, 1e-12);
    EXPECT_EQ(copy.getTransducers()[1]->getPolar(), nullptr);
    EXPECT_NEAR(copy.getTransducers()[2]->getPosition().z, 0.3, 1e-12);
    // The model itself is untouched.
    EXPECT_TRUE(model.getChildren().empty());
    EXPECT_EQ(model.getTransducers()[0]->getPolar(), nullptr);
    EXPECT_NEAR(model.getTransducers()[0]->getPosition().z, 0.1, 1e-12);
}

TEST(LoudspeakerImpl, MuteBeamsAndIndex)
{
    LoudspeakerImpl s;
    EXPECT_FALSE(s.isSteerable());
    s.setMaxBeams(2);
    EXPECT_TRUE(s.isSteerable());
    s.setAlgorithms({3, 1, 3});
    EXPECT_EQ(s.getAlgorithms(), (std::vector<int32_t>{1, 3, 3}));
    EXPECT_FALSE(s.isMuted());
    s.toggleMuted();
    EXPECT_TRUE(s.isMuted());
    s.toggleMuted();
    EXPECT_FALSE(s.isMuted());
    s.setIndex(2);
    EXPECT_EQ(s.getIndex(), 2u);
    LoudspeakerImpl copy(s);
    EXPECT_EQ(copy.getIndex(), 0u);
    EXPECT_EQ(copy.getMaxBeams(), 2u);
    EXPECT_NE(copy.getId(), s.getId());
}
