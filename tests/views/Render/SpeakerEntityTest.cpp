#include "acoustics/cluster/LoudspeakerCluster.h"
#include "acoustics/data/DXFFace.h"
#include "acoustics/data/LoudspeakerLibrary.h"
#include "core/Nodes/QuadNode.h"
#include "data/Nodes/BeamSpeakerClusterNode.h"
#include "data/Nodes/LoudspeakerNode.h"
#include "data/Project/ProjectDefinition.h"
#include "data/Project/ProjectSettings.h"
#include "tools/datagen/Models.h"
#include "views/Render/BeamSpeakerAdornerEntity.h"
#include "views/Render/BeamSpeakerEntity.h"
#include "views/Render/GeometryGL.h"
#include "views/Render/HitPoint.h"
#include "views/Render/QuadEntity.h"
#include "views/Render/Viewport.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace zorvpro;
using namespace zorvpro::view;
using math::Vec3;

namespace
{
// The generated array module, loaded into the library once per process.
bool LoadArrayModule()
{
    static const bool loaded = []
    {
        const juce::File folder = juce::File::getSpecialLocation(juce::File::tempDirectory)
                                      .getChildFile("zorv-render-" + juce::Uuid().toString());
        folder.createDirectory();
        const bool written = datagen::WriteDataSet(folder, datagen::MakeArrayDataSet());
        acoustics::LoudspeakerLibrary::instance().loadLoudspeakerFiles(
            folder.getFullPathName().toStdString());
        folder.deleteRecursively();
        return written && CreateLoudspeakerNode(datagen::kArrayModelName) != nullptr;
    }();
    return loaded;
}

BeamSpeakerClusterNodePtr Array(int modules)
{
    auto node = BeamSpeakerClusterNode::Create(acoustics::createLoudspeakerCluster());
    node->SetName("Main");
    for (int i = 0; i < modules; ++i)
        node->AddChild(CreateLoudspeakerNode(datagen::kArrayModelName));
    return node;
}

BeamSpeakerEntityPtr EntityOf(const BeamSpeakerClusterNodePtr& node)
{
    return std::dynamic_pointer_cast<BeamSpeakerEntity>(BeamSpeakerEntity::CreateFromNode(node));
}

void ExpectNear(const Vec3& a, const Vec3& b, double tolerance = 1e-9)
{
    EXPECT_NEAR(a.x, b.x, tolerance);
    EXPECT_NEAR(a.y, b.y, tolerance);
    EXPECT_NEAR(a.z, b.z, tolerance);
}

void ExpectSameMatrix(const math::Mat4& a, const math::Mat4& b)
{
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(a.m[i], b.m[i], 1e-12) << i;
}

// Side view from the front (x right, z up) at 50 px/m.
void LookSide(Viewport& viewport)
{
    viewport.Resize(800, 600);
    viewport.setPixelsPerMeter(50);
    viewport.GetCamera().LookAt({5, -100, 0}, {5, 0, 0}, {0, 0, 1});
    viewport.GetCamera().UpdateViewMatrix();
    viewport.UpdateProjection();
    viewport.UpdateBoundingBox();
}
} // namespace

TEST(BeamSpeakerEntityTest, FollowsItsNodeModulesBeamsAndAngles)
{
    ASSERT_TRUE(LoadArrayModule());
    EXPECT_FALSE(BeamSpeakerEntity::CreateFromNode(Array(0))); // no module, no outline
    EXPECT_FALSE(BeamSpeakerEntity::CreateFromNode(QuadNode::Create("Floor", {}, {}, {}, {}, Qt::red, 1, 0)));

    auto node = Array(2);
    node->SetTransform(math::Mat4::Translation({1, 2, 6}));
    node->SetBeamCount(2);
    node->SetBeamAlgorithm(0, 2);
    node->SetBeamAlgorithm(1, 3);
    auto entity = EntityOf(node);
    ASSERT_TRUE(entity);
    EXPECT_EQ(entity->getName(), "Main");
    EXPECT_EQ(entity->NumModules(), 2);
    EXPECT_EQ(entity->NumBeams(), 2);
    EXPECT_EQ(entity->beam(0).algorithm(), Beam::Asymmetric);
    EXPECT_EQ(entity->beam(1).algorithm(), Beam::AsymmetricSpiral);
    // The spiral beam's bottom bounding area came from its constraints.
    Vec3 p[5];
    entity->beam(1).bottomBoundingArea(p[0], p[1], p[2], p[3], p[4]);
    EXPECT_GT(math::Length(p[0]) + math::Length(p[2]) + math::Length(p[4]), 0.0);
    EXPECT_THROW(entity->beam(2), std::out_of_range);
    try
    {
        entity->beam(-1);
    }
    catch (const std::out_of_range& e)
    {
        EXPECT_STREQ(e.what(), "Invalid beam index");
    }

    // Modules hang downwards; at most three are drawn.
    const double h = entity->FaceListBox().max.z - entity->FaceListBox().min.z;
    ASSERT_GT(h, 0.0);
    struct Case
    {
        int modules;
        size_t drawn;
    };
    for (const Case& c : {Case{2, 2}, Case{3, 3}, Case{5, 3}})
    {
        // The cluster takes three modules at most; more are only ever set on the entity.
        if (c.modules <= 3)
        {
            if (int(node->GetChildren().size()) < c.modules)
                node->AddChild(CreateLoudspeakerNode(datagen::kArrayModelName));
            BeamSpeakerEntity::SyncFromNode(node, entity);
        }
        else
        {
            entity->setDirty(false);
            entity->SetNumModules(uint32_t(c.modules));
        }
        EXPECT_EQ(entity->NumModules(), c.modules);
        EXPECT_TRUE(entity->isDirty());
        entity->setDirty(false);
        EXPECT_EQ(entity->GetGeometries().size(), c.drawn);
        EXPECT_NEAR(entity->LocalBox().min.z, entity->FaceListBox().min.z - h * double(c.drawn - 1), 1e-9);
    }

    // Angles: the entity takes the node's transform as it is and records the angles,
    // so a turned node is not turned a second time.
    node->SetYaw(0.4);
    node->SetPitch(-0.3);
    BeamSpeakerEntity::SyncFromNode(node, entity);
    EXPECT_DOUBLE_EQ(entity->rotation(), 0.4);
    EXPECT_DOUBLE_EQ(entity->pitch(), -0.3);
    ExpectSameMatrix(entity->getTransform(), node->GetTransform());

    // Beam count 2 -> 1 -> 2.
    node->SetBeamCount(1);
    BeamSpeakerEntity::SyncFromNode(node, entity);
    EXPECT_EQ(entity->NumBeams(), 1);
    node->SetBeamCount(2);
    node->SetBeamSteering(1, 0.1);
    BeamSpeakerEntity::SyncFromNode(node, entity);
    EXPECT_EQ(entity->NumBeams(), 2);
    EXPECT_EQ(entity->beam(1).algorithm(), Beam::SymmetricSpread);
    EXPECT_DOUBLE_EQ(entity->beam(1).steering(), node->GetBeamSteering(1));

    // Flags and theme.
    node->SetLocked(true);
    node->SetVisible(false);
    BeamSpeakerEntity::SyncFromNode(node, entity);
    EXPECT_TRUE(entity->isLocked());
    EXPECT_FALSE(entity->isVisible());
    BeamSpeakerEntity::ApplyTheme(entity, true);
    EXPECT_EQ(entity->selectedColor(), QColor("#242424"));
    EXPECT_EQ(entity->unselectedColor(), QColor("#777777"));
    BeamSpeakerEntity::SyncFromNode(nullptr, entity); // ignored
}

TEST(BeamSpeakerEntityTest, AlgorithmNumbersOutlineCornersAndOwnMoves)
{
    struct Case
    {
        uint32_t model;
        Beam::Algorithm beam;
        uint32_t back;
    };
    for (const Case& c :
         {Case{1, Beam::SymmetricSpread, 1}, Case{2, Beam::Asymmetric, 2}, Case{3, Beam::AsymmetricSpiral, 3},
          Case{0, Beam::SymmetricSpread, 1}, Case{7, Beam::SymmetricSpread, 1}})
    {
        EXPECT_EQ(BeamAlgorithmFromModel(c.model), c.beam) << c.model;
        EXPECT_EQ(ModelAlgorithmFromBeam(BeamAlgorithmFromModel(c.model)), c.back) << c.model;
    }

    auto faces = std::make_shared<std::vector<acoustics::DXFFace>>();
    faces->emplace_back(0b0010u, std::vector<Vec3>{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}});
    faces->emplace_back(0b1000u, std::vector<Vec3>{{0, 0, 2}, {1, 0, 2}, {1, 1, 2}, {0, 1, 2}});
    const auto corner = BeamSpeakerEntity::OutlineCorners(faces);
    bool edge = false;
    ExpectNear(corner(-1, 5, edge), {1, 0, 2}); // last face, corner 1
    EXPECT_FALSE(edge);
    ExpectNear(corner(2, -1, edge), {0, 1, 0}); // first face, corner 3
    EXPECT_FALSE(edge);
    corner(0, 1, edge);
    EXPECT_TRUE(edge);

    SpeakerEntity speaker("Fill", {1, 0, 0}, 0.0, 0.0, 2, corner);
    EXPECT_FALSE(speaker.isTransparent());
    speaker.setDirty(false);
    speaker.setRotation(1e-16); // almost equal: nothing
    speaker.translateCenterPt({0, 0, 0});
    EXPECT_FALSE(speaker.isDirty());
    // A move is made in the un-rotated frame.
    speaker.setRotation(M_PI / 2);
    speaker.translateCenterPt({2, 0, 0});
    ExpectNear(math::TransformPoint(speaker.getTransform(), {0, 0, 0}), {3, 0, 0});
    ExpectNear(math::TransformPoint(speaker.getTransform(), {1, 0, 0}), {3, 1, 0});

    speaker.setSelectedColor(QColor(10, 20, 30));
    speaker.setSelected(true);
    speaker.setTransparent(true);
    speaker.setDirty(false);
    auto geometry = std::static_pointer_cast<opengl::GeometryGL>(speaker.GetGeometries().front());
    EXPECT_TRUE(geometry->IsTransparent());
    ASSERT_EQ(geometry->VertexCount(), 2 * 6);
    EXPECT_FLOAT_EQ(geometry->GetVertices()[6], 10 / 255.0f);
    EXPECT_NEAR(geometry->GetVertices()[9], 0.5f, 1e-4);
    // Picked through its box: the two faces 2 m apart make a box.
    EXPECT_TRUE(speaker.Pick(math::Ray({2.5, 0.5, 10}, {0, 0, -1}), nullptr, 50));
    EXPECT_FALSE(speaker.Pick(math::Ray({5, 5, 10}, {0, 0, -1}), nullptr, 50));

    SpeakerEntity empty("Empty", {}, 0, 0, 0, corner);
    empty.setDirty(false);
    EXPECT_TRUE(empty.LocalBox().IsEmpty());
}

TEST(BeamAdornerTest, BeamOutlinesHandlesAndTheirPicks)
{
    ASSERT_TRUE(LoadArrayModule());
    Viewport viewport;
    LookSide(viewport);
    auto node = Array(2);
    node->SetTransform(math::Mat4::Translation({0, 0, 6}));
    node->SetBeamCount(2);
    auto entity = EntityOf(node);
    entity->setDirty(false);
    for (int b = 0; b < 2; ++b)
    {
        entity->beam(b).setTopRearDistance(10);
        entity->beam(b).setTopRearAngle(-0.1 - 0.2 * b);
        entity->beam(b).setBottomFrontDistance(6);
        entity->beam(b).setBottomFrontAngle(-0.6 - 0.2 * b);
        entity->beam(b).setSteering(-0.3);
    }
    auto adorner = std::make_shared<BeamSpeakerAdornerEntity>(&viewport, entity, 0.05, true, false);
    adorner->SetOtherBeamColor(Qt::gray);
    adorner->setDirty(false);

    const math::BBox& box = entity->LocalBox();
    const double cx = (box.min.x + box.max.x) / 2;
    const Vec3 front = viewport.GetCamera().Forward() * (-0.05 * 1.1);
    const double t = double(float(-0.1));
    ExpectNear(adorner->TopRearHandle(0),
               Vec3{cx + 10 * std::cos(float(t)), 0, 6 + box.max.z + 10 * std::sin(float(t))} + front, 1e-6);
    ExpectNear(adorner->TopRearHandle(5), {});
    // Only the selected beam has handles: parts 11 and 12 of 6-pixel handles, hit within 1.2 radii.
    const auto& spheres = adorner->PickSpheres();
    ASSERT_EQ(spheres.size(), 2u);
    EXPECT_EQ(spheres[0].part, HitPart::Beam1TopRear);
    EXPECT_EQ(spheres[1].part, HitPart::Beam1BottomFront);
    EXPECT_NEAR(spheres[0].radius, 1.2 * 6 / 50.0, 1e-12);
    // The steering line meets the beam's front line.
    EXPECT_GT(math::Length(adorner->CentrePoint(0)), 0.0);

    auto pickAt = [&](const Vec3& p) {
        return adorner->Pick(math::Ray(p + Vec3{0, -50, 0}, {0, 1, 0}), adorner, 50);
    };
    auto part = [&](const Vec3& p)
    {
        auto hit = pickAt(p);
        return hit ? hit->part : 0u;
    };
    EXPECT_EQ(part(adorner->TopRearHandle(0)), HitPart::Beam1TopRear);
    EXPECT_EQ(part(adorner->BottomFrontHandle(0)), HitPart::Beam1BottomFront);
    // Half way along each beam's top/rear line: its outline.
    const Vec3 top = math::TransformPoint(entity->getTransform(), {cx, 0, box.max.z});
    EXPECT_EQ(part((top + adorner->TopRearHandle(0)) * 0.5), HitPart::Beam1Outline);
    EXPECT_EQ(part((top + adorner->TopRearHandle(1)) * 0.5), HitPart::Beam2Outline);
    // Inside the frame: the loudspeaker itself.
    auto body = pickAt(math::TransformPoint(entity->getTransform(), {cx, 0, box.min.z + 0.1}));
    ASSERT_TRUE(body);
    EXPECT_EQ(body->entity, entity);
    EXPECT_EQ(body->part, HitPart::Body);

    // Both outlines on top of each other: the beam that is not selected wins.
    entity->beam(1).setTopRearAngle(-0.1);
    adorner->setDirty(true);
    adorner->setDirty(false);
    EXPECT_EQ(part((top + adorner->TopRearHandle(0)) * 0.5), HitPart::Beam2Outline);

    // A steering line that misses the beam leaves no centre point behind, even after a move.
    entity->beam(0).setSteering(1.4);
    entity->setTransform(math::Mat4::Translation({3, 0, 6}));
    entity->setDirty(false);
    adorner->setDirty(false);
    ExpectNear(adorner->CentrePoint(0), {});

    // Second beam selected: its handles; locked: none, yet the outlines are still hit.
    entity->SetSelectedBeam(1);
    adorner->setDirty(true);
    adorner->setDirty(false);
    ASSERT_EQ(adorner->PickSpheres().size(), 2u);
    EXPECT_EQ(adorner->PickSpheres()[0].part, HitPart::Beam2TopRear);
    entity->setLocked(true);
    entity->setDirty(false);
    adorner->setDirty(false);
    EXPECT_TRUE(adorner->PickSpheres().empty());
    EXPECT_NE(part((top + Vec3{3, 0, 0} + adorner->TopRearHandle(0)) * 0.5), 0u);

    // Out of beam mode: the frame and throw lines only, hit through the frame alone.
    auto plain = std::make_shared<BeamSpeakerAdornerEntity>(&viewport, entity, 0.05, false, false);
    EXPECT_EQ(plain->getName(), "SpeakerAdornerEntity<Main>");
    plain->setDirty(false);
    EXPECT_TRUE(plain->PickSpheres().empty());
    EXPECT_EQ(plain->GetGeometries().size(), 1u);
    // The frame stands at the depth of the loudspeaker's face nearest the camera (then 5 cm
    // nearer), not in a plane through the origin where surfaces in front would hide it.
    const auto world = entity->BoundingBox();
    ASSERT_TRUE(world.has_value());
    for (const Vec3& corner : plain->Corners())
        EXPECT_NEAR(corner.y, world->min.y - 0.05, 1e-9);
}

TEST(BeamAdornerTest, SegmentsClipToTheBoxAndLinesFollowTheSetting)
{
    const math::BBox box({0, 0, 0}, {10, 10, 10});
    struct Case
    {
        Vec3 a, b;
        bool inside;
        Vec3 clippedA, clippedB;
    };
    const Case cases[] = {
        {{1, 1, 1}, {2, 2, 2}, true, {1, 1, 1}, {2, 2, 2}},
        {{-5, 5, 5}, {15, 5, 5}, true, {0, 5, 5}, {10, 5, 5}},
        {{5, 5, 5}, {5, 5, 40}, true, {5, 5, 5}, {5, 5, 10}},
        {{-5, -5, 5}, {-1, 20, 5}, false, {}, {}},
        {{11, 5, 5}, {11, 6, 5}, false, {}, {}},
        {{-10, 5, 5}, {5, 20, 5}, false, {}, {}},
        {{-10, 5, 5}, {10, 15, 5}, true, {0, 10, 5}, {0, 10, 5}},
    };
    for (const Case& c : cases)
    {
        Vec3 a = c.a, b = c.b;
        const bool inside = ClipSegmentToBox(a, b, box);
        EXPECT_EQ(inside, c.inside) << c.a.x << " " << c.b.x;
        if (inside && c.clippedA.x >= 0)
        {
            ExpectNear(a, c.clippedA);
            ExpectNear(b, c.clippedB);
        }
    }

    ASSERT_TRUE(LoadArrayModule());
    Viewport viewport;
    LookSide(viewport);
    auto entity = EntityOf(Array(1));
    entity->setDirty(false);
    auto lines = std::make_shared<SpeakerLinesAdornerEntity>(&viewport, entity, 0.05, false, false);
    ProjectSettings* settings = ProjectDefinition::Instance()->GetSettings();
    for (bool on : {true, false, true})
    {
        settings->setThrowLines(on);
        lines->setDirty(true);
        lines->setDirty(false);
        EXPECT_EQ(lines->isVisible(), on);
    }
    entity->setVisible(false);
    lines->setDirty(false);
    EXPECT_FALSE(lines->isVisible());
}
