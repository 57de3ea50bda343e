#include "views/Render/GeometryGL.h"
#include "views/Render/HitPoint.h"
#include "views/Render/ListenerPlaneAdorner.h"
#include "views/Render/QuadAdornerEntity.h"
#include "views/Render/QuadEntity.h"
#include "views/Render/ScenePick.h"
#include "views/Render/TooltipQP.h"
#include "views/Render/Viewport.h"

#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <cmath>
#include <gtest/gtest.h>

using namespace zorvpro;
using namespace zorvpro::view;
using math::Vec3;

namespace
{
// A 4 m x 2 m floor: p1 front left, p2 back left, p3 back right, p4 front right.
QuadEntityPtr Floor()
{
    auto quad = std::make_shared<QuadEntity>("Floor", Vec3(0, 0, 0), Vec3(0, 2, 0), Vec3(4, 2, 0),
                                             Vec3(4, 0, 0), QColor(200, 40, 40, 90));
    quad->setDirty(false);
    return quad;
}

// Plan view looking down at (2, 1) or side view from the front, 400 x 300 pixels.
void Look(Viewport& viewport, double pixelsPerMeter, bool side)
{
    viewport.Resize(400, 300);
    viewport.setPixelsPerMeter(pixelsPerMeter);
    if (side)
        viewport.GetCamera().LookAt({2, -100, 1}, {2, 0, 1}, {0, 0, 1});
    else
        viewport.GetCamera().LookAt({2, 1, 100}, {2, 1, 0}, {0, 1, 0});
    viewport.GetCamera().UpdateViewMatrix();
    viewport.UpdateProjection();
    viewport.UpdateBoundingBox();
}

math::Ray Down(double x, double y)
{
    return math::Ray({x, y, 50}, {0, 0, -1});
}

uint32_t PartAt(const EntityPtr& adorner, double x, double y)
{
    auto hit = adorner->Pick(Down(x, y), adorner, 0);
    return hit ? hit->part : 0;
}
} // namespace

TEST(QuadAdornerTest, HandlesSitAtTheCornersEdgesAndRotateHandleAtBothZooms)
{
    for (double ppm : {50.0, 200.0})
    {
        SCOPED_TRACE(ppm);
        Viewport viewport;
        Look(viewport, ppm, false);
        auto floor = Floor();
        floor->SetRotation(M_PI / 2); // the rotate handle points along +y
        auto adorner = std::make_shared<QuadAdornerEntity>(&viewport, floor, 0.05, false);
        EXPECT_EQ(adorner->getName(), "QuadAdornerEntity<Floor>");
        adorner->setDirty(false);
        ASSERT_FALSE(adorner->isDirty());

        const double large = 5.0 / ppm; // the 5-pixel radius
        const double small = 3.0 / ppm;
        struct Expected
        {
            uint32_t part;
            double x, y, radius;
        };
        const Expected expected[] = {{2, 0, 0, large}, {3, 0, 2, large}, {4, 4, 2, large},
                                     {5, 4, 0, large}, {6, 0, 1, small}, {7, 2, 2, small},
                                     {8, 4, 1, small}, {9, 2, 0, large}, {10, 2, 2 + 3 * small, small}};
        const auto& spheres = adorner->PickSpheres();
        ASSERT_EQ(spheres.size(), std::size(expected));
        for (size_t i = 0; i < spheres.size(); ++i)
        {
            SCOPED_TRACE(i);
            EXPECT_EQ(spheres[i].part, expected[i].part);
            EXPECT_NEAR(spheres[i].centre.x, expected[i].x, 1e-9);
            EXPECT_NEAR(spheres[i].centre.y, expected[i].y, 1e-9);
            // In front of the surface: offset 0.05 plus the handles' 1.01 x 0.05 more.
            EXPECT_NEAR(spheres[i].centre.z, 0.05 + 0.0505, 1e-9);
            EXPECT_NEAR(spheres[i].radius, 2 * expected[i].radius, 1e-12);
        }
        // A corner handle is hit from just inside 10 pixels; the back edge handle (6 pixels
        // reach) overlaps the rotate handle, and the one appended first wins.
        EXPECT_EQ(PartAt(adorner, 4 + 9.5 / ppm, 2), 4u);
        EXPECT_EQ(PartAt(adorner, 4 + 10.5 / ppm, 2), 0u);
        EXPECT_EQ(PartAt(adorner, 2, 2 + 4.0 / ppm), 7u);
        EXPECT_EQ(PartAt(adorner, 2, 2 + 12.0 / ppm), 10u);
        // Inside the surface away from the handles: the surface itself, part 1, world point kept.
        auto body = adorner->Pick(Down(1.3, 0.7), adorner, 0);
        ASSERT_TRUE(body);
        EXPECT_EQ(body->entity, floor);
        EXPECT_EQ(body->part, HitPart::Body);
        EXPECT_NEAR(body->worldPoint.x, 1.3, 1e-9);
        EXPECT_NEAR(body->worldPoint.y, 0.7, 1e-9);

        // Zooming in makes it dirty; the handles shrink with it.
        viewport.setPixelsPerMeter(ppm * 2);
        EXPECT_TRUE(adorner->isDirty());
    }
}

TEST(QuadAdornerTest, LockedHighlightedAndMissingSurfaces)
{
    Viewport viewport;
    Look(viewport, 50, false);
    auto floor = Floor();
    auto adorner = std::make_shared<QuadAdornerEntity>(&viewport, floor, 0.05, false);
    adorner->setDirty(false);
    const int plain =
        std::static_pointer_cast<opengl::GeometryGL>(adorner->GetGeometries()[1])->VertexCount();

    // Editing the back depth rings C2, C3 and the back edge: three rings more.
    adorner->SetHighlightedItem(12);
    adorner->setDirty(false);
    const int ringed =
        std::static_pointer_cast<opengl::GeometryGL>(adorner->GetGeometries()[1])->VertexCount();
    const int oneRing = 16 * 6 * 2; // 16 double-sided quads
    EXPECT_EQ(ringed - plain, 3 * oneRing);
    EXPECT_TRUE(QuadAdornerEntity::IsHighlighted(12, 7));
    EXPECT_FALSE(QuadAdornerEntity::IsHighlighted(12, 2));
    EXPECT_FALSE(QuadAdornerEntity::IsHighlighted(14, 0));

    // Locked: the outline only, still hit through the fill.
    floor->setLocked(true);
    EXPECT_TRUE(adorner->isDirty());
    adorner->setDirty(false);
    EXPECT_EQ(adorner->GetGeometries().size(), 1u);
    EXPECT_TRUE(adorner->PickSpheres().empty());
    EXPECT_EQ(PartAt(adorner, 0.01, 0.01), HitPart::Body);

    // The adorner follows the surface's visibility on its rebuild.
    QSignalSpy visibleSpy(adorner.get(), &Entity::visibleChanged);
    floor->setDirty(false);
    floor->setVisible(false);
    adorner->setDirty(false);
    EXPECT_FALSE(adorner->isVisible());
    EXPECT_EQ(visibleSpy.count(), 1);

    // No surface: nothing built, the rebuild fails and the adorner stays dirty.
    QuadAdornerEntity orphan(&viewport, nullptr, 0.05, false);
    EXPECT_EQ(orphan.getName(), "QuadAdornerEntity<nullptr>");
    EXPECT_FALSE(orphan.RebuildGeometry());
    orphan.setDirty(false);
    EXPECT_TRUE(orphan.isDirty());
}

TEST(QuadAdornerTest, AdornedRebuildOnlyMarksTheAdornerForTheNextFrame)
{
    Viewport viewport;
    Look(viewport, 50, false);
    auto floor = Floor();
    auto adorner = std::make_shared<QuadAdornerEntity>(&viewport, floor, 0.05, false);
    adorner->setDirty(false);
    const auto before = adorner->GetGeometries();
    floor->SetCorners({0, 0, 0}, {0, 3, 0}, {4, 3, 0}, {4, 0, 0});
    floor->setDirty(false); // rebuilt outside any frame
    EXPECT_TRUE(adorner->isDirty());
    EXPECT_EQ(adorner->GetGeometries(), before); // untouched until its own frame
    adorner->setDirty(false);
    EXPECT_NEAR(adorner->Corners()[1].y, 3.0, 1e-12);
}

TEST(QuadAdornerTest, TooltipShowsTheHandleInMetresOrFeetInsideTheView)
{
    EXPECT_EQ(FormatCoordinateTooltip({0.3048, -0.6096, 1}, false), "X: 1.00\nY: -2.00\nZ: 3.28");
    EXPECT_EQ(FormatCoordinateTooltip({0.3048, -0.6096, 1}, true), "X: 0.30\nY: -0.61\nZ: 1.00");

    Viewport viewport;
    Look(viewport, 50, false);
    auto floor = Floor();
    math::Mat4 moved = math::Mat4::Translation({0.3048, 0, 0});
    floor->setTransform(moved);
    auto adorner = std::make_shared<QuadAdornerEntity>(&viewport, floor, 0.05, false);
    adorner->SetActiveHandle(true, false, 0);
    adorner->setDirty(false);
    // P0 is the midpoint of p1 and p4 through the transform: (2.3048, 0, 0).
    EXPECT_EQ(adorner->Tooltip()->GetText(), "X: 7.56\nY: 0.00\nZ: 0.00");
    EXPECT_EQ(adorner->GetGeometries().back(), adorner->Tooltip());

    // p3 sits near the lower right corner of the view once the camera moves: the box is
    // pushed back inside the 5-pixel margin.
    adorner->SetActiveHandle(true, true, 3);
    viewport.GetCamera().LookAt({0, 5, 100}, {0, 5, 0}, {0, 1, 0});
    viewport.GetCamera().UpdateViewMatrix();
    viewport.UpdateProjection();
    adorner->setDirty(false);
    EXPECT_EQ(adorner->Tooltip()->GetText(), "X: 4.30\nY: 2.00\nZ: 0.00");
    const QPoint screen = viewport.WorldToScreen({4.3048, 2, 0});
    ASSERT_GT(screen.x() + 20 + 40, 395); // would overflow without the clamp
    const QSize size = adorner->Tooltip()->ComputeSize();
    QImage image(400, 300, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    adorner->Tooltip()->Draw(painter);
    painter.end();
    // The measured text ends at the margin (x 394); the frame drawn 3 pixels around it ends at 398.
    int rightmost = -1;
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 400; ++x)
            if (qAlpha(image.pixel(x, y)) != 0)
                rightmost = std::max(rightmost, x);
    EXPECT_EQ(rightmost, 398);
    EXPECT_GT(size.width(), 0);

    // Index above 4 changes nothing; hiding clears it.
    adorner->SetActiveHandle(true, true, 7);
    EXPECT_EQ(adorner->ActiveHandle(), 3u);
    adorner->SetActiveHandle(false, true, 0);
    EXPECT_EQ(adorner->ActiveHandle(), QuadAdornerEntity::kNoHandle);
}

TEST(ListenerPlaneAdornerTest, LineOnlyWhenTheViewLooksAlongTheSurface)
{
    auto floor = Floor();
    floor->SetListenerHeight(1.2);
    struct Case
    {
        bool side;
        bool enabled;
        bool drawn;
    };
    for (const Case& c : {Case{true, true, true}, Case{false, true, false}, Case{true, false, false}})
    {
        SCOPED_TRACE(c.side * 2 + c.enabled);
        Viewport viewport;
        Look(viewport, 50, c.side);
        floor->SetListenerHeightEnabled(c.enabled);
        auto adorner = std::make_shared<ListenerPlaneAdorner>(&viewport, floor, 0.05);
        EXPECT_EQ(adorner->getName(), "ListenerPlaneAdorner<Floor>");
        ASSERT_TRUE(adorner->RebuildGeometry());
        EXPECT_EQ(adorner->GetGeometries().size(), c.drawn ? 1u : 0u);
        if (!c.drawn)
        {
            EXPECT_FALSE(adorner->BoundingBox().has_value());
            continue;
        }
        // From the leftmost to the rightmost corner on screen, raised to ear height.
        EXPECT_NEAR(adorner->Start().x, 0, 1e-12);
        EXPECT_NEAR(adorner->End().x, 4, 1e-12);
        EXPECT_NEAR(adorner->Start().z, 1.2, 1e-12);
        const auto box = adorner->BoundingBox();
        ASSERT_TRUE(box.has_value());
        EXPECT_NEAR(box->max.x - box->min.x, 4, 1e-12);
        // Dashes of 10 pixels with 10-pixel gaps over 4 m at 50 px/m: 10 dashes.
        auto line = std::static_pointer_cast<opengl::GeometryGL>(adorner->GetGeometries()[0]);
        EXPECT_EQ(line->VertexCount(), 10 * 6);
    }
    EXPECT_EQ(PlaneNormal({Vec3{0, 0, 0}, Vec3{0, 0, 0}, Vec3{1, 0, 0}, Vec3{1, 0, 0}}), Vec3());
}

TEST(ScenePickTest, HandlesWinThenTheNearestVisibleEntity)
{
    auto viewport = std::make_unique<Viewport>();
    Look(*viewport, 50, false);
    auto floor = Floor();
    auto balcony = std::make_shared<QuadEntity>("Balcony", Vec3(1, 0, 2), Vec3(1, 2, 2), Vec3(3, 2, 2),
                                                Vec3(3, 0, 2), QColor(Qt::blue));
    auto hidden = std::make_shared<QuadEntity>("Roof", Vec3(0, 0, 5), Vec3(0, 2, 5), Vec3(4, 2, 5),
                                               Vec3(4, 0, 5), QColor(Qt::green));
    hidden->setVisible(false);
    auto adorner = std::make_shared<QuadAdornerEntity>(viewport.get(), floor, 0.05, false);
    const std::list<EntityPtr> entities{floor, balcony, hidden, adorner};
    for (const EntityPtr& e : entities)
        e->setDirty(false);
    auto at = [&](const Vec3& world)
    {
        const QPoint p = viewport->WorldToScreen(world);
        return PickAt(entities, *viewport, p.x(), p.y());
    };
    // The floor's corner handle, even under the hidden roof.
    auto hit = at({0, 0, 0});
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->entity, adorner);
    EXPECT_EQ(hit->part, 2u);
    // The balcony above the selected floor is nearer than the floor under its adorner.
    hit = at({2, 1, 0});
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->entity, balcony);
    // Elsewhere the floor through its adorner, not the hidden roof above it.
    hit = at({3.5, 1.5, 0});
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->entity, floor);

    // The view closes before its adorner goes: the adorner rebuilds without it.
    viewport.reset();
    floor->setDirty(true);
    EXPECT_TRUE(adorner->RebuildGeometry());
}
