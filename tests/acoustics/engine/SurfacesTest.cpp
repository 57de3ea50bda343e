#include "acoustics/engine/Surfaces.h"
#include "core/math/Ray.h"

#include <gtest/gtest.h>

using namespace zorvpro;
using namespace zorvpro::acoustics;

namespace
{
// An infinite wall at x = position.
class Wall : public ISurface
{
public:
    explicit Wall(double position) : position(position) {}
    bool intersects(const math::Ray& ray, double maxDistance) const override
    {
        if (ray.direction.x == 0.0)
            return false;
        const double t = (position - ray.origin.x) / ray.direction.x;
        return t >= 1e-6 && maxDistance > t;
    }
    double position;
};
} // namespace

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
