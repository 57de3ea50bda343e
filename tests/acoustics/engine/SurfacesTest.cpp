#include "acoustics/engine/Surfaces.h"
#include "Wall.h"
#include "core/math/Ray.h"

#include <gtest/gtest.h>

using namespace zorvpro;
using namespace zorvpro::acoustics;

using zorvpro::acoustics::testing::Wall;

TEST(Surfaces, HitTestSeesOnlyLiveSurfacesNearerThanTheLimit)
{
    Surfaces surfaces;
    auto wall = std::make_shared<Wall>(5.0);
    auto gone = std::make_shared<Wall>(1.0);
    surfaces.add(wall);
    surfaces.add(gone);
    gone.reset();

    const math::Ray ray({0, 0, 0}, {1, 0, 0});
    const auto snapshot = surfaces.snapshot();
    EXPECT_EQ(snapshot.size(), 1u) << "an expired surface no longer blocks";
    EXPECT_TRUE(Surfaces::hitTest(snapshot, ray, 6.0));
    EXPECT_FALSE(Surfaces::hitTest(snapshot, ray, 5.0));
    EXPECT_FALSE(Surfaces::hitTest(snapshot, math::Ray({0, 0, 0}, {-1, 0, 0}), 100.0));
}

TEST(Surfaces, RemoveErasesEveryEntryOfTheSurface)
{
    Surfaces surfaces;
    auto a = std::make_shared<Wall>(1.0);
    auto b = std::make_shared<Wall>(2.0);
    surfaces.add(a);
    surfaces.add(b);
    surfaces.add(a);
    EXPECT_EQ(surfaces.size(), 3u) << "added twice, held twice";
    surfaces.remove(a);
    EXPECT_EQ(surfaces.size(), 1u);

    // An expired pointer erases every expired entry.
    auto c = std::make_shared<Wall>(3.0);
    surfaces.add(c);
    surfaces.add(c);
    std::weak_ptr<ISurface> expired = c;
    c.reset();
    surfaces.remove(expired);
    EXPECT_EQ(surfaces.size(), 1u);
    EXPECT_EQ(surfaces.snapshot().front(), b);
}
