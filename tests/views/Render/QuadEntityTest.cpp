#include "views/Render/QuadEntity.h"
#include "views/Render/GeometryGL.h"
#include "views/Render/HitPoint.h"
#include "views/Render/RayPicking.h"
#include "views/Render/Viewport.h"

#include "core/Nodes/QuadNode.h"

#include <QOpenGLFunctions>
#include <QSignalSpy>
#include <cmath>
#include <gtest/gtest.h>

using namespace zorvpro;
using namespace zorvpro::view;
using math::Vec3;

namespace
{
// A 2 m x 1 m surface in the plane z = 0, rebuilt so that it can be picked.
QuadEntityPtr MakeQuad(const math::Mat4& transform = math::Mat4())
{
    auto quad = std::make_shared<QuadEntity>("Floor", Vec3(0, 0, 0), Vec3(2, 0, 0), Vec3(2, 1, 0),
                                             Vec3(0, 1, 0), QColor(10, 200, 30));
    quad->setTransform(transform);
    quad->setDirty(false);
    return quad;
}

math::Ray Down(double x, double y)
{
    return math::Ray({x, y, 10}, {0, 0, -1});
}

void ExpectNear(const Vec3& actual, const Vec3& expected, double tolerance)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}
} // namespace

TEST(QuadEntityTest, FillAndEdgePicksWithZoomTolerance)
{
    const QuadEntityPtr quad = MakeQuad();
    struct Case
    {
        const char* name;
        math::Ray ray;
        double pixelsPerMeter;
        bool hit;
        double distance;
    };
    const Case cases[] = {
        {"fill", Down(1.0, 0.5), 50, true, 10.0},
        {"fill ignores zoom", Down(1.9, 0.9), 0, true, 10.0},
        {"oblique fill", math::Ray({1.0, -4.5, 5}, {0, 1, -1}), 50, true, 5 * std::sqrt(2.0)},
        {"oblique past the far edge", math::Ray({1.0, -3.8, 5}, {0, 1, -1}), 50, false, 0},
        {"4.5 px outside at 50 px/m", Down(2.09, 0.5), 50, true, std::hypot(10.0, 0.09)},
        {"5.5 px outside at 50 px/m", Down(2.11, 0.5), 50, false, 0},
        {"zoom 0 uses 0.125 m", Down(1.0, -0.12), 0, true, std::hypot(10.0, 0.12)},
        {"zoom 0 beyond 0.125 m", Down(1.0, -0.13), 0, false, 0},
        {"close zoom shrinks tolerance", Down(2.02, 0.5), 500, false, 0},
        {"starting on the surface", math::Ray({1.0, 0.5, 0}, {0, 0, -1}), 50, false, 0},
        {"pointing away", math::Ray({1.0, 0.5, 10}, {0, 0, 1}), 50, false, 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        const view::HitPointPtr hit = quad->Pick(c.ray, quad, c.pixelsPerMeter);
        ASSERT_EQ(hit != nullptr, c.hit);
        if (!hit)
            continue;
        EXPECT_EQ(hit->part, HitPart::Body);
        EXPECT_EQ(hit->entity, quad);
        EXPECT_EQ(hit->geometry, quad->GetGeometries().front());
        EXPECT_NEAR(hit->distance, c.distance, 1e-9);
        // The point lies on the ray at that distance.
        ExpectNear(hit->localPoint, c.ray.origin + c.ray.direction * c.distance, 1e-9);
        ExpectNear(hit->worldPoint, hit->localPoint, 1e-9);
    }
}

TEST(QuadEntityTest, MovedQuadPickedThroughTheViewportAndGuards)
{
    // Rotated by 30 degrees and moved: pick the pixel over a known local point.
    math::Mat4 transform = math::Mat4::RotationZ(M_PI / 6);
    transform.Translate({5, 3, 0.5});
    const QuadEntityPtr quad = MakeQuad(transform);
    Viewport viewport;
    viewport.Resize(400, 300);
    viewport.GetCamera().LookAt({5, 3, 20}, {5, 3, 0}, {0, 1, 0});
    const Vec3 target = math::TransformPoint(transform, {1.5, 0.25, 0});
    const QPoint pixel = viewport.WorldToScreen(target);
    const math::Ray ray = viewport.ScreenToRay(pixel.x(), pixel.y());
    const view::HitPointPtr hit = quad->Pick(ray, quad, viewport.pixelsPerMeter());
    ASSERT_NE(hit, nullptr);
    // One pixel is 2 cm at 50 px/m.
    ExpectNear(hit->localPoint, {1.5, 0.25, 0}, 0.03);
    ExpectNear(hit->worldPoint, target, 0.03);
    EXPECT_NEAR(hit->worldPoint.z, 0.5, 1e-9);
    EXPECT_NEAR(hit->distance, math::Length(hit->worldPoint - ray.origin), 1e-9);
    // The unmoved spot under the local point is empty.
    EXPECT_EQ(quad->Pick(Down(1.5, 0.25), quad, 50), nullptr);

    // Never rebuilt: nothing to hit.
    auto fresh = std::make_shared<QuadEntity>("Fresh", Vec3(0, 0, 0), Vec3(2, 0, 0), Vec3(2, 1, 0),
                                              Vec3(0, 1, 0), Qt::red);
    EXPECT_EQ(fresh->Pick(Down(1, 0.5), fresh, 50), nullptr);
    // A squashed (singular) transform is not hit and does not throw.
    math::Mat4 flat;
    flat(2, 2) = 0.0;
    const QuadEntityPtr squashed = MakeQuad(flat);
    EXPECT_NO_THROW(EXPECT_EQ(squashed->Pick(Down(1, 0.5), squashed, 50), nullptr));
}

TEST(QuadEntityTest, GeometryBoundingBoxAndSelection)
{
    auto quad = std::make_shared<QuadEntity>("Stage", Vec3(0, 0, 0), Vec3(1, 0.5, 0), Vec3(2, 2, 0),
                                             Vec3(0.5, 2, 0), QColor(0, 0, 255));
    // A corner at the origin is part of the box.
    auto box = quad->BoundingBox();
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->min, Vec3(0, 0, 0));
    EXPECT_EQ(box->max, Vec3(2, 2, 0));
    quad->setTransform(math::Mat4::Translation({-1, 1, 2}));
    EXPECT_EQ(quad->BoundingBox()->min, Vec3(-1, 1, 2));
    EXPECT_EQ(quad->BoundingBox()->max, Vec3(1, 3, 2));

    for (bool transparent : {true, false})
    {
        SCOPED_TRACE(transparent);
        quad->setTransparent(transparent);
        quad->setDirty(false);
        ASSERT_EQ(quad->GetGeometries().size(), 2u);
        auto fill = std::dynamic_pointer_cast<opengl::GeometryGL>(quad->GetGeometries()[0]);
        auto outline = std::dynamic_pointer_cast<opengl::GeometryGL>(quad->GetGeometries()[1]);
        ASSERT_TRUE(fill && outline);
        EXPECT_EQ(fill->VertexCount(), 12);
        EXPECT_EQ(fill->IsTransparent(), transparent);
        EXPECT_FLOAT_EQ(fill->GetVertices()[6], 128 / 255.0f);
        EXPECT_NEAR(fill->GetVertices()[9], transparent ? 0.5 : 1.0, 1e-4);
        EXPECT_EQ(outline->GetMode(), GL_LINES);
        EXPECT_EQ(outline->VertexCount(), 24);
        EXPECT_FALSE(outline->IsTransparent());
        EXPECT_EQ(outline->GetLineWidth(), 0.9);
        EXPECT_FLOAT_EQ(outline->GetVertices()[8], 1.0f); // blue outline
    }

    // Selecting redraws the surface, once.
    QSignalSpy dirtySpy(quad.get(), &Entity::dirtyChanged);
    quad->MarkShownIn(7);
    quad->setSelected(true);
    EXPECT_TRUE(quad->isDirty());
    EXPECT_TRUE(quad->NeedsDrawIn(7));
    EXPECT_EQ(dirtySpy.count(), 1);
}

TEST(QuadEntityTest, FollowsItsNode)
{
    const QuadNodePtr node =
        QuadNode::Create("Balcony", {0, 0, 0}, {4, 0, 0}, {4, 2, 1}, {0, 2, 1}, QColor(1, 2, 3), 1.2, 0.4);
    node->SetTransform(math::Mat4::Translation({1, 1, 3}));
    node->SetTransparent(false);
    node->SetListenerHeightEnabled(false);
    const QuadEntityPtr entity = QuadEntity::CreateFromNode(*node);
    EXPECT_EQ(entity->getName(), "Balcony");
    EXPECT_EQ(entity->GetP3(), Vec3(4, 2, 1));
    EXPECT_EQ(entity->GetColor(), QColor(1, 2, 3));
    EXPECT_EQ(entity->getTransform(), node->GetTransform());
    EXPECT_FALSE(entity->isTransparent());
    EXPECT_DOUBLE_EQ(entity->GetListenerHeight(), 1.2);
    EXPECT_DOUBLE_EQ(entity->GetRotation(), 0.4);
    EXPECT_FALSE(entity->IsListenerHeightEnabled());

    entity->setDirty(false);
    node->SetP2({5, 0, 0});
    entity->SyncFromNode(*node);
    EXPECT_TRUE(entity->isDirty());
    EXPECT_EQ(entity->GetP2(), Vec3(5, 0, 0));
}

TEST(RayPickingTest, RayHitsSegmentReportsTheClosestPointAndItsDistance)
{
    Vec3 point;
    double distance = 0;
    EXPECT_TRUE(RayHitsSegment({0, 0, 10}, {0, 0, -1}, {-1, 0.05, 0}, {1, 0.05, 0}, 0.1, &point, &distance));
    ExpectNear(point, {0, 0.05, 0}, 1e-12);
    EXPECT_NEAR(distance, std::hypot(10.0, 0.05), 1e-12);
    EXPECT_FALSE(RayHitsSegment({0, 0, 10}, {0, 0, -1}, {-1, 0.2, 0}, {1, 0.2, 0}, 0.1));
    // Behind the origin does not count.
    EXPECT_FALSE(RayHitsSegment({0, 0, 10}, {0, 0, 1}, {-1, 0, 0}, {1, 0, 0}, 0.1));
}
