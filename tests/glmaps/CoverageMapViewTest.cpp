// The whole road of a coverage map on a real X display: a floor and a two-module array in the
// project, the real engine computing on its worker threads, the adapter's poll colouring the
// maps, and a plan and a side view drawing them.
#include "CoverageScene.h"
#include "GlTestEnv.h"
#include "tests/gl/GlViewSupport.h"

#include "data/Project/ProjectDefinition.h"
#include "data/Project/ProjectSettings.h"
#include "views/Render/FieldEntity.h"

#include <QHBoxLayout>
#include <QOpenGLContext>
#include <cmath>

using namespace zorvpro;
using namespace zorvpro::gltest;
using gallery::CoverageScene;
using view::VenueView3D;

namespace
{
// The average colour of a 5 x 5 patch, so that one grid line does not decide.
QColor Patch(const QImage& image, QPoint at)
{
    int r = 0, g = 0, b = 0;
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx)
        {
            const QColor c = image.pixelColor(at.x() + dx, at.y() + dy);
            r += c.red();
            g += c.green();
            b += c.blue();
        }
    return QColor(r / 25, g / 25, b / 25);
}

int Redness(const QColor& c)
{
    return c.red() - c.blue();
}

bool IsBackground(const QColor& c)
{
    return std::abs(c.red() - 20) <= 12 && std::abs(c.green() - 20) <= 12 && std::abs(c.blue() - 20) <= 12;
}

// 800 x 500 views centred on x = 13 m (the side view at 4 m height), between grid lines.
QPoint PlanPixel(double x, double y)
{
    const double ppm = CoverageScene::kPixelsPerMeter;
    return {400 + int(std::lround((x - 13) * ppm)), 250 - int(std::lround(y * ppm))};
}

QPoint SidePixel(double x, double z)
{
    const double ppm = CoverageScene::kPixelsPerMeter;
    return {400 + int(std::lround((x - 13) * ppm)), 250 - int(std::lround((z - 4) * ppm))};
}

struct Window
{
    Window()
    {
        auto* layout = new QHBoxLayout(&widget);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        for (VenueView3D** view : {&plan, &side})
        {
            *view = new VenueView3D(&widget);
            (*view)->setFixedSize(800, 500);
            layout->addWidget(*view);
        }
    }
    QWidget widget;
    VenueView3D* plan = nullptr;
    VenueView3D* side = nullptr;
};
} // namespace

TEST(CoverageMapView, AFloorAndAnArrayShowPlanAndSideMapsThatFollowRangeEditsAndTheLastSpeaker)
{
    ASSERT_TRUE(gallery::PrepareLoudspeakers());
    Window window;
    CoverageScene scene(*window.plan, *window.side);
    window.widget.show();
    ASSERT_TRUE(WaitUntil([&] { return scene.ViewsSettled(); }));
    ASSERT_EQ(window.plan->context()->isOpenGLES(), EsRequested());
    const bool es = EsRequested();

    scene.AddFloorAndArray();
    const auto floorMap = scene.FloorMap();
    ASSERT_TRUE(floorMap && scene.SideMap());
    // The engine settles, computes every set and the range fits itself after the step: generous.
    ASSERT_TRUE(WaitUntil(
        [&]
        {
            return scene.MapsShown() &&
                   ProjectDefinition::Instance()->GetSettings()->getSplHighValue() != 112.0 &&
                   scene.ResultsSettled() && scene.ViewsSettled();
        },
        240000))
        << "floor map " << floorMap->entity->isVisible() << ", side map "
        << scene.SideMap()->entity->isVisible();
    SaveShot(window.side->grabFramebuffer(), "coverage-side-auto-range", es);

    // The automatic range reaches up to the array's own level on the medial plane; the designer
    // fits it to the floor by hand, which recolours without new meshes.
    const auto counters = scene.Adapter().GetCounters();
    double floorMin = 0, floorMax = 0;
    ASSERT_TRUE(scene.FloorRange(floorMin, floorMax));
    ASSERT_GT(floorMax, floorMin + 10)
        << "the floor hears the array unevenly: " << floorMin << " to " << floorMax;
    ASSERT_TRUE(scene.FitRangeToFloor());
    ASSERT_TRUE(WaitUntil([&] { return scene.ViewsSettled(); }));
    EXPECT_EQ(scene.Adapter().GetCounters().meshesSet, counters.meshesSet);
    EXPECT_GT(scene.Adapter().GetCounters().recolours, counters.recolours);
    EXPECT_EQ(scene.Adapter().ColorRange().High(), std::round(floorMax));

    QImage planImage = window.plan->grabFramebuffer();
    QImage sideImage = window.side->grabFramebuffer();
    SaveShot(planImage, "coverage-plan", es);
    SaveShot(sideImage, "coverage-side", es);
    const QColor nearCorner = Patch(planImage, PlanPixel(1.5, 1));
    const QColor farCorner = Patch(planImage, PlanPixel(28.5, 9));
    EXPECT_FALSE(IsBackground(nearCorner));
    EXPECT_FALSE(IsBackground(farCorner));
    EXPECT_GT(Redness(nearCorner), Redness(farCorner) + 60) << "near the array is louder";
    EXPECT_GT(farCorner.blue(), farCorner.red()) << "the far corner sits at the quiet, blue end";
    EXPECT_TRUE(IsBackground(Patch(planImage, PlanPixel(-2.5, 1)))) << "no map behind the array";
    // The side map: loud in front of the array at its height (its middle: two modules hang from
    // its top at 2.2 m), quieter far away near the floor.
    const QColor ahead = Patch(sideImage, SidePixel(3, 1.2));
    const QColor far = Patch(sideImage, SidePixel(26, 6));
    EXPECT_FALSE(IsBackground(ahead));
    EXPECT_FALSE(IsBackground(far));
    EXPECT_GT(Redness(ahead), Redness(far) + 60);
    EXPECT_TRUE(IsBackground(Patch(sideImage, SidePixel(17.5, 11)))) << "nothing above the plane";

    // Maps shown and nothing changing: over 25 view refreshes (half a second, about ten polls) no
    // frame is drawn, no map is touched and nothing passes between the adapter and the engine.
    {
        ASSERT_TRUE(Settle(*window.plan) && Settle(*window.side));
        FrameCounter planFrames(*window.plan), sideFrames(*window.side);
        const auto idle = scene.Adapter().GetCounters();
        const auto posts = scene.Adapter().GetFieldManager().GetCounters().posts;
        ASSERT_GT(posts, 0u);
        ASSERT_TRUE(WaitTicks({window.plan, window.side}, 25));
        EXPECT_EQ(planFrames.Count() + sideFrames.Count(), 0);
        EXPECT_EQ(scene.Adapter().GetCounters().recolours, idle.recolours);
        EXPECT_EQ(scene.Adapter().GetCounters().tessellationsQueued, idle.tessellationsQueued);
        EXPECT_EQ(scene.Adapter().GetFieldManager().GetCounters().posts, posts);
        EXPECT_FALSE(scene.Engine()->isBusy());
    }

    // A higher top recolours again: the same level is less red.
    scene.Adapter().onPropertyEvent(BoundPropertyEvent::ValueChanged, "Spl_Max_dB",
                                    std::round(floorMax) + 15.0);
    ASSERT_TRUE(WaitUntil([&] { return scene.ViewsSettled(); }));
    EXPECT_EQ(scene.Adapter().GetCounters().meshesSet, counters.meshesSet);
    planImage = window.plan->grabFramebuffer();
    SaveShot(planImage, "coverage-plan-range", es);
    EXPECT_LT(Redness(Patch(planImage, PlanPixel(1.5, 1))), Redness(nearCorner) - 40);

    // The last loudspeaker goes: no sound, no maps.
    scene.RemoveArray();
    ASSERT_TRUE(WaitUntil([&] { return scene.ViewsSettled(); }));
    planImage = window.plan->grabFramebuffer();
    sideImage = window.side->grabFramebuffer();
    SaveShot(planImage, "coverage-plan-cleared", es);
    EXPECT_TRUE(IsBackground(Patch(planImage, PlanPixel(1.5, 1))));
    EXPECT_TRUE(IsBackground(Patch(planImage, PlanPixel(28.5, 9))));
    EXPECT_TRUE(IsBackground(Patch(sideImage, SidePixel(3, 2.5))));
    EXPECT_FALSE(floorMap->entity->isVisible());
    EXPECT_FALSE(scene.SideMap());
}
