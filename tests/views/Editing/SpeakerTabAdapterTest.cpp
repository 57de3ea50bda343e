// The speaker tab adapter: adding arrays, the property dispatch with its clamps and undo steps,
// beam and module round trips, moves, group gain, medial planes, adorners, the handle drag and
// the side view that follows the selected speaker.

#include "support/SpeakerAdapterFixture.h"

#include "acoustics/beam/SteeringLimits.h"
#include "core/Base/ApplicationSeam.h"
#include "core/math/Matrix4.h"
#include "tests/field/FieldTestSupport.h"
#include "views/Adapters/Spl/SplAdapter.h"
#include "views/Render/BeamSpeakerAdornerEntity.h"
#include "views/Render/HitPoint.h"
#include "views/Render/QuadEntity.h"
#include "views/Render/SpeakerMouseHandlers.h"

#include <QSignalSpy>
#include <cmath>
#include <functional>

namespace zorvpro::test
{
namespace
{
constexpr double kDegree = M_PI / 180.0;
const char* const kArrayModel = "TQR40V";

// A mouse action on a handle of the beam adorner, as a view's mouse handler emits it.
view::MouseAction HandleAction(std::uint32_t code, view::VenueView3D* view, const view::EntityPtr& adorner,
                               std::uint32_t part, QPoint position = QPoint())
{
    view::MouseAction action;
    action.action = code;
    action.tag = view->GetId();
    action.position = position;
    action.entity = adorner;
    action.hit =
        std::make_shared<view::HitPoint>(adorner, nullptr, math::Ray({0, 0, 0}, {1, 0, 0}), 1.0, part);
    return action;
}

class SpeakerTabAdapterTest : public SpeakerAdapterFixture
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(LoadArrayModel());
        SpeakerAdapterFixture::SetUp();
    }
};

TEST_F(SpeakerTabAdapterTest, AddingNamesArraysByTheFirstFreeNumberInOneStepEach)
{
    const auto first = AddArray();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->GetName(), "TQR40V Array 1");
    EXPECT_EQ(LastStep(), "Add TQR40V Array 1");
    EXPECT_EQ(first->GetChildCount(), 1u);
    ASSERT_NE(EntityOf(first), nullptr);
    EXPECT_EQ(EntityOf(first)->NumModules(), 1);
    const math::Vec3 placed = math::TransformPoint(first->GetTransform(), {0, 0, 0});
    EXPECT_NEAR(placed.x, 0.206, 1e-9);
    EXPECT_NEAR(placed.y, 0.0, 1e-9);
    EXPECT_NEAR(placed.z, 3.0, 1e-9);
    const auto second = AddArray();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->GetName(), "TQR40V Array 2");

    adapter->RemoveNode(first, true, false, true, ModelAdapter::kBatchOnly);
    const auto third = AddArray();
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(third->GetName(), "TQR40V Array 1");
    EXPECT_EQ(Root()->GetChildCount(), 2u);
}

TEST_F(SpeakerTabAdapterTest, DispatchClampsRefreshesAndPushesOneStepPerChange)
{
    const auto array = AddArray();
    ASSERT_NE(array, nullptr);
    Select({array});
    const auto entity = EntityOf(array);

    // Pitch is shown with the opposite sign of the model.
    EXPECT_TRUE(Edit(array, "Beam_PitchPosition", 5.0 * kDegree));
    EXPECT_NEAR(array->GetPitch(), -5.0 * kDegree, 1e-9);
    EXPECT_NEAR(Shown("Beam_PitchPosition").toDouble(), 5.0 * kDegree, 1e-9);
    EXPECT_EQ(LastStep(), "Modify TQR40V Array 1 pitch");

    const double maxSteering = acoustics::MaxSteeringAngle().radians();
    const int before = Steps();
    Edit(array, "Beam_SteeringAngle1", 25.0 * kDegree);
    EXPECT_EQ(Steps(), before + 1);
    EXPECT_NEAR(array->GetBeamSteering(0), maxSteering, 1e-9);
    EXPECT_NEAR(entity->beam(0).steering(), maxSteering, 1e-9);
    Edit(array, "Beam_SteeringAngle1", 25.0 * kDegree); // already at the limit: only a refresh
    EXPECT_EQ(Steps(), before + 1);
    EXPECT_NEAR(Shown("Beam_SteeringAngle1").toDouble(), maxSteering, 1e-9);

    const struct
    {
        double asked, expected;
    } spreads[] = {{-3.0 * kDegree, 0.0}, {50.0 * kDegree, 30.0 * kDegree}};
    for (const auto& spread : spreads)
    {
        Edit(array, "Beam_SpreadingAngle1", spread.asked);
        EXPECT_NEAR(entity->beam(0).spreading(), spread.expected, 1e-6) << spread.asked;
    }

    // The beam tab switch shows another beam without an undo step.
    const int beforeSwitch = Steps();
    Edit(array, "Beam_BeamSelection", true);
    EXPECT_EQ(entity->SelectedBeam(), 1);
    EXPECT_EQ(Steps(), beforeSwitch);

    // A locked array takes its lock back and nothing else.
    Edit(array, "Entity_Lock", true);
    EXPECT_TRUE(array->GetLocked());
    const int lockedSteps = Steps();
    Edit(array, "Beam_YawPosition", 0.5);
    Edit(array, "Cluster_Gain", -3.0);
    EXPECT_EQ(Steps(), lockedSteps);
    EXPECT_NEAR(array->GetYaw(), 0.0, 1e-12);
    Edit(array, "Entity_Lock", false);
    EXPECT_FALSE(array->GetLocked());

    LogCapture log;
    EXPECT_FALSE(Edit(array, "Quad_P0X", 1.0));
    EXPECT_TRUE(Logged(log, "Unknown property 7 in speaker adapter"));
    EXPECT_FALSE(Edit(array, "No_Such_Item", 1.0));
    EXPECT_TRUE(Logged(log, "Unknown property -1 in speaker adapter"));
}

TEST_F(SpeakerTabAdapterTest, FieldTablesChangeNodeAndEntityInOneNamedStepThatUndoes)
{
    const auto array = AddArray();
    ASSERT_NE(array, nullptr);
    Edit(array, "Beam_Beams", "Dual (Dante)");
    Select({array});
    const auto entity = EntityOf(array);
    const struct
    {
        const char* item;
        QVariant value;
        const char* step;
        std::function<bool()> applied;
    } fields[] = {
        {"Entity_Name", "Front fill", "Modify TQR40V Array 1 name",
         [&] { return array->GetName() == "Front fill"; }},
        {"Beam_Comments", "left hang", "Modify Front fill name",
         [&] { return array->GetUserNote() == "left hang" && entity->UserNote() == "left hang"; }},
        {"Cluster_Delay", 12.5, "Modify Front fill delay",
         [&]
         { return std::fabs(array->GetDelay() - 12.5) < 1e-9 && std::fabs(entity->Delay() - 12.5) < 1e-9; }},
        {"Entity_Mute", true, "Modify Front fill mute",
         [&] { return array->IsMuted() && entity->isMuted(); }},
        {"Entity_Visibility", false, "Modify Front fill visible",
         [&] { return !array->GetVisible() && !entity->isVisible(); }},
        {"Beam_MainGain2", -4.0, "Modify Front fill gain",
         [&] {
             return std::fabs(array->GetBeamGain(1) + 4.0) < 1e-9 &&
                    std::fabs(entity->beam(1).gain() + 4.0) < 1e-9;
         }},
        {"Beam_Smoothing2", true, "Modify Front fill smoothing",
         [&] { return array->GetBeamSmoothing(1) && entity->beam(1).smoothing(); }},
    };
    for (const auto& field : fields)
    {
        const int before = Steps();
        ASSERT_FALSE(field.applied()) << field.item;
        EXPECT_TRUE(Edit(array, field.item, field.value)) << field.item;
        EXPECT_EQ(Steps(), before + 1) << field.item;
        EXPECT_EQ(LastStep(), field.step) << field.item;
        EXPECT_TRUE(field.applied()) << field.item;
        UndoStack::Instance().undo();
        EXPECT_FALSE(field.applied()) << field.item;
        UndoStack::Instance().redo();
        EXPECT_TRUE(field.applied()) << field.item;
    }
    EXPECT_TRUE(adapter->GetColorFields()->undoText.isEmpty()); // no colour here
    EXPECT_TRUE(adapter->GetIntFields()->undoText.isEmpty());

    // Focus on a beam field highlights it in the beam adorner; losing focus clears it.
    const auto adorner = EntitiesIn<view::BeamSpeakerAdornerEntity>(plan).front();
    adapter->entityFocusChanged(array->GetId(), "Beam_SteeringAngle1", true);
    EXPECT_EQ(adorner->HighlightedItem(), 50u);
    adapter->entityFocusChanged(array->GetId(), "Beam_SteeringAngle1", false);
    EXPECT_EQ(adorner->HighlightedItem(), 0u);
}

TEST_F(SpeakerTabAdapterTest, BeamCountAlgorithmAndModuleCountRoundTripsRestoreEveryBeam)
{
    const auto array = AddArray();
    ASSERT_NE(array, nullptr);
    Select({array});
    list->findGridProperty("Beam_Modules")->setValue(3, false);
    Edit(array, "Beam_Modules", 3);
    ASSERT_EQ(array->GetChildCount(), 3u);

    Edit(array, "Beam_Beams", "Dual (Dante)");
    EXPECT_EQ(LastStep(), "Modify TQR40V Array 1 beam count");
    ASSERT_EQ(array->GetBeamCount(), 2u);
    Edit(array, "Beam_Manual2", "Flat Floor");
    Edit(array, "Beam_SteeringAngle2", -10.0 * kDegree);
    const auto second = array->GetBeamData(1);
    ASSERT_EQ(second->algorithm, 2u);

    // Two beams to one and back by undo: the second beam comes back as it was.
    Edit(array, "Beam_Beams", "Single");
    EXPECT_EQ(array->GetBeamCount(), 1u);
    UndoStack::Instance().undo();
    ASSERT_EQ(array->GetBeamCount(), 2u);
    EXPECT_EQ(array->GetBeamAlgorithm(1), 2u);
    EXPECT_NEAR(array->GetBeamSteering(1), second->steering, 1e-9);
    EXPECT_EQ(EntityOf(array)->beam(1).algorithm(), view::Beam::Asymmetric);

    // The algorithm's undo brings back the former settings, not the old algorithm's defaults.
    const auto first = array->GetBeamData(0);
    Edit(array, "Beam_Manual1", "Raked Floor");
    EXPECT_EQ(array->GetBeamAlgorithm(0), 3u);
    UndoStack::Instance().undo();
    EXPECT_EQ(array->GetBeamAlgorithm(0), first->algorithm);
    EXPECT_NEAR(array->GetBeamTopRearAngle(0), first->topRearAngle, 1e-9);

    // A module-count change and its undo keep every beam's settings.
    const auto beam0 = array->GetBeamData(0);
    const auto beam1 = array->GetBeamData(1);
    list->findGridProperty("Beam_Modules")->setValue(1, false);
    const int beforeCount = Steps();
    Edit(array, "Beam_Modules", 1);
    EXPECT_EQ(UndoStack::Instance().text(beforeCount), "Modify TQR40V Array 1 module count");
    EXPECT_EQ(array->GetChildCount(), 1u);
    EXPECT_EQ(EntityOf(array)->NumModules(), 1);
    while (Steps() > beforeCount)
        UndoStack::Instance().undo();
    EXPECT_EQ(array->GetChildCount(), 3u);
    EXPECT_EQ(EntityOf(array)->NumModules(), 3);
    for (std::uint32_t b = 0; b < 2; ++b)
    {
        const auto& expected = b == 0 ? beam0 : beam1;
        EXPECT_EQ(array->GetBeamAlgorithm(b), expected->algorithm) << b;
        EXPECT_NEAR(array->GetBeamSteering(b), expected->steering, 1e-9) << b;
        EXPECT_NEAR(array->GetBeamBottomFrontDistance(b), expected->bottomFrontDistance, 1e-9) << b;
    }
}

TEST_F(SpeakerTabAdapterTest, AModuleCountTheClusterRefusesStopsWhereNodeEntityAndPanelAgree)
{
    const auto array = AddArray();
    ASSERT_NE(array, nullptr);
    Select({array});
    LogCapture log;
    adapter->ModifyModuleCount(array, 12, true);
    EXPECT_TRUE(Logged(log, "Could not allocate speaker"));
    const auto modules = array->GetChildCount();
    EXPECT_GE(modules, 1u);
    EXPECT_LT(modules, 12u);
    EXPECT_EQ(array->GetCluster()->getModuleCount(), modules);
    EXPECT_EQ(std::uint64_t(EntityOf(array)->NumModules()), modules);
    EXPECT_EQ(Shown("Beam_Modules").toString(), QString::number(modules));
    UndoStack::Instance().undo();
    EXPECT_EQ(array->GetChildCount(), 1u);
    EXPECT_EQ(EntityOf(array)->NumModules(), 1);
}

TEST_F(SpeakerTabAdapterTest, TheEngineHoldsAnArraysClusterOnceWhileItIsInTheTree)
{
    ApplicationSeam app;
    auto engine = std::make_shared<field::testing::RecordingEngine>();
    app.SetEngine(engine);
    auto registrations = [&]
    {
        const auto calls = engine->Calls();
        return std::count(calls.begin(), calls.end(), "addCluster") -
               std::count(calls.begin(), calls.end(), "removeCluster");
    };
    const auto array = AddArray();
    ASSERT_NE(array, nullptr);
    EXPECT_EQ(registrations(), 1);
    UndoStack::Instance().undo();
    EXPECT_EQ(registrations(), 0);
    UndoStack::Instance().redo();
    EXPECT_EQ(registrations(), 1);
    adapter->RemoveNode(array, true, false, true, ModelAdapter::kBatchOnly);
    EXPECT_EQ(registrations(), 0);
    app.SetEngine(nullptr);
}

TEST_F(SpeakerTabAdapterTest, PanelHeightsFollowTheModuleCountAndTheChosenAnchorStays)
{
    const auto array = AddArray();
    ASSERT_NE(array, nullptr);
    Select({array});
    // The panel offers one to three modules.
    list->findGridProperty("Beam_Modules")->setValue(3, false);
    list->findGridProperty("Beam_TopPosition")->setValue(10.0, false);
    Edit(array, "Beam_Modules", 3);
    ASSERT_EQ(array->GetChildCount(), 3u);
    EXPECT_NEAR(adapter->GetArrayHeight(), 2.955, 1e-9);
    EXPECT_NEAR(Shown("Beam_TopPosition").toDouble(), 10.0, 1e-9);
    EXPECT_NEAR(Shown("Beam_CenterPosition").toDouble(), 8.5225, 1e-9);
    EXPECT_NEAR(Shown("Beam_BottomPosition").toDouble(), 7.045, 1e-9);

    // Fewer modules with the bottom as anchor: the bottom stays, the top comes down.
    list->findGridProperty("Beam_Modules")->setValue(2, false);
    Edit(array, "Beam_BottomPosition", 7.045);
    EXPECT_EQ(array->GetChildCount(), 2u);
    EXPECT_NEAR(Shown("Beam_BottomPosition").toDouble(), 7.045, 1e-9);
    EXPECT_NEAR(math::TransformPoint(array->GetTransform(), {0, 0, 0}).z, 7.045 + 2 * 0.985, 1e-9);
    // With the centre as anchor the centre stays.
    list->findGridProperty("Beam_Modules")->setValue(1, false);
    Edit(array, "Beam_CenterPosition", Shown("Beam_CenterPosition"));
    EXPECT_EQ(array->GetChildCount(), 1u);
    EXPECT_NEAR(Shown("Beam_CenterPosition").toDouble(), 7.045 + 0.985, 1e-9);
}

TEST_F(SpeakerTabAdapterTest, MovesStayInsideTheVenueAndTheSideViewRefusesMovesAcross)
{
    const auto array = AddArray();
    ASSERT_NE(array, nullptr);
    const auto entity = EntityOf(array);
    const double startX = math::TransformPoint(array->GetTransform(), {0, 0, 0}).x;
    adapter->MoveSpeaker(array, {5000, 0, 0}, true, true, ModelAdapter::kBatchOnly);
    EXPECT_EQ(LastStep(), "Move TQR40V Array 1");
    const auto box = entity->BoundingBox();
    ASSERT_TRUE(box.has_value());
    EXPECT_NEAR(box->max.x, 1000.0, 1e-6);
    EXPECT_EQ(spl.changes.back().first, ISplNodeListener::kChanged);
    UndoStack::Instance().undo();
    EXPECT_NEAR(math::TransformPoint(array->GetTransform(), {0, 0, 0}).x, startX, 1e-6);
    EXPECT_TRUE(adapter->MayMoveAcross(entity, plan->GetId()));
    EXPECT_FALSE(adapter->MayMoveAcross(entity, side->GetId()));
    EXPECT_TRUE(adapter->MayMoveUp(entity, side->GetId()));
}

TEST_F(SpeakerTabAdapterTest, MaxGainRaisesEverySpeakerByTheSmallestHeadroomInOneStep)
{
    const auto a = AddArray();
    const auto b = AddArray();
    ASSERT_TRUE(a && b);
    const double maxGain = a->GetGain() + a->GetGainHeadroom();
    a->SetGain(maxGain - 3.0);
    b->SetGain(maxGain - 5.0);
    Select({a, b});
    const int before = Steps();
    adapter->SetSpeakersToMaxGain();
    EXPECT_EQ(Steps(), before + 1);
    EXPECT_EQ(LastStep(), "Set speakers to max gain");
    EXPECT_NEAR(a->GetGain(), maxGain, 1e-9);
    EXPECT_NEAR(b->GetGain(), maxGain - 2.0, 1e-9);
    UndoStack::Instance().undo();
    EXPECT_NEAR(b->GetGain(), maxGain - 5.0, 1e-9);

    a->SetGain(maxGain);
    adapter->SetSpeakersToMaxGain();
    EXPECT_EQ(Steps(), before);
    EXPECT_NEAR(b->GetGain(), maxGain - 5.0, 1e-9);
}

TEST_F(SpeakerTabAdapterTest, MedialPlaneSpansTheSceneAlongTheSpeakerAndGrowsToItsMinimum)
{
    {
        LogCapture log;
        math::Vec3 p[4];
        adapter->GetMedialPlane(nullptr, p[0], p[1], p[2], p[3]);
        EXPECT_TRUE(Logged(log, "Width or height too small in EnsureMinimumSplBox"));
    }
    // A sloped surface whose box is (0, 0, 0) to (40, 20, 8).
    const QuadNodePtr quad = QuadNode::Create("Slope", {0, 20, 0}, {40, 20, 8}, {40, 0, 8}, {0, 0, 0},
                                              QColor("#ff8632"), 1.2, 0.0);
    Root()->AddChild(quad);
    adapter->handleSurfacesChanged();
    const auto speaker = BeamSpeakerClusterNode::Create(acoustics::createLoudspeakerCluster());
    speaker->SetTransform(math::Mat4::Translation({5, 10, 6}));
    math::Vec3 p[4];
    adapter->GetMedialPlane(speaker, p[0], p[1], p[2], p[3]);
    const math::Vec3 expected[4] = {{40, 10, 0}, {40, 10, 11}, {0, 10, 11}, {0, 10, 0}};
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(math::IsEqual(p[i], expected[i]))
            << i << ": " << p[i].x << " " << p[i].y << " " << p[i].z;
    const auto provided = adapter->MedialPlaneProvider()(speaker); // the same corners, in order
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(math::IsEqual(provided[std::size_t(i)], expected[i])) << i;

    // 12 m x 4 m: 3 m more on each side and 1 m more at the top.
    math::Vec3 q1{6, 0, 0}, q2{6, 0, 4}, q3{-6, 0, 4}, q4{-6, 0, 0};
    adapter->EnsureMinimumSplBox(nullptr, q1, q2, q3, q4);
    EXPECT_NEAR(math::Length(q1 - q4), 18.0, 1e-9);
    EXPECT_NEAR(math::Length(q2 - q1), 5.0, 1e-9);
    EXPECT_TRUE(math::IsEqual(q3, math::Vec3(-9, 0, 5)));
}

TEST_F(SpeakerTabAdapterTest, AnArraysSideMapCoversTheSceneAtOnceWhenAddedOrLengthened)
{
    // A floor 20 m x 10 m, 1.5 m up (a longer array reaches below it); the coverage maps take
    // their planes from this tab's scene bounds.
    const double z = 1.5;
    const QuadNodePtr floor = QuadNode::Create("Floor", {0, 5, z}, {20, 5, z}, {20, -5, z}, {0, -5, z},
                                               QColor("#ff8632"), 1.2, 0.0);
    Root()->AddChild(floor);
    adapter->handleSurfacesChanged();
    SplAdapter maps(nullptr);
    maps.SetMedialPlaneProvider(adapter->MedialPlaneProvider());
    maps.SetAutoCalculate(true); // an edited array's own map is cut again only then
    adapter->SetSplAdapter(&maps);

    const auto array = AddArray();
    ASSERT_NE(array, nullptr);
    auto planes = [&]
    {
        const auto speaker = maps.FindPairing(array);
        const auto medial = maps.FindPairing({}, maps.GetMedialPlaneChunk());
        EXPECT_TRUE(speaker && medial);
        return std::make_pair(speaker ? speaker->lastCorners : SplAdapter::QuadPoints{},
                              medial ? medial->lastCorners : SplAdapter::QuadPoints{});
    };
    // Right at once after the array is added, and after its module count changes (a longer
    // array reaches lower): each time what a rebuild gives once the views have drawn everything.
    for (const std::uint32_t modules : {0u, 12u})
    {
        SCOPED_TRACE(modules);
        if (modules != 0)
            adapter->ModifyModuleCount(array, modules, true);
        const auto atOnce = planes();
        for (view::VenueView3D* view : {plan, side})
            for (const view::EntityPtr& entity : view->GetEntities())
                entity->setDirty(false);
        maps.UpdateSplMaps(true);
        const auto rebuilt = planes();
        const auto box = EntityOf(array)->BoundingBox();
        ASSERT_TRUE(box);
        for (std::size_t i = 0; i < 4; ++i)
        {
            EXPECT_TRUE(math::IsEqual(atOnce.first[i], rebuilt.first[i]))
                << "array's plane corner " << i << ": " << atOnce.first[i].z << " against "
                << rebuilt.first[i].z;
            EXPECT_TRUE(math::IsEqual(atOnce.second[i], rebuilt.second[i]))
                << "medial plane corner " << i << ": " << atOnce.second[i].z << " against "
                << rebuilt.second[i].z;
        }
        // The array's plane reaches from the lowest point of the scene, the array's bottom
        // included, to 3 m over the highest, and is at least 5 m high.
        const double bottom = std::min(z, box->min.z);
        EXPECT_NEAR(rebuilt.first[0].z, bottom, 1e-9);
        EXPECT_NEAR(rebuilt.first[1].z, std::max(std::max(z, box->max.z) + 3.0, bottom + 5.0), 1e-9);
    }
    adapter->SetSpeakerSplListener(&spl);
}

TEST_F(SpeakerTabAdapterTest, SurfaceChangesReAddSurfacesFaintlyWithoutStepOrSignal)
{
    const auto array = AddArray();
    ASSERT_NE(array, nullptr);
    const QuadNodePtr quad = QuadNode::Create("Floor", {0, 5, 0}, {15, 5, 0}, {15, -5, 0}, {0, -5, 0},
                                              QColor("#ff8632"), 1.2, 0.0);
    Root()->AddChild(quad);
    const auto children = Root()->GetChildCount();
    const int before = Steps();
    QSignalSpy changed(adapter.get(), &ModelAdapter::entitiesChanged);
    adapter->handleSurfacesChanged();
    adapter->handleSurfacesChanged();
    EXPECT_EQ(EntitiesIn<view::QuadEntity>(plan).size(), 1u);
    ASSERT_EQ(EntitiesIn<view::QuadEntity>(side).size(), 1u);
    EXPECT_NEAR(EntitiesIn<view::QuadEntity>(side).front()->GetTransparency(), 0.3, 1e-12);
    EXPECT_EQ(Steps(), before);
    EXPECT_EQ(changed.count(), 0);
    EXPECT_EQ(Root()->GetChildCount(), children);
    EXPECT_NE(EntityOf(array), nullptr);
}

TEST_F(SpeakerTabAdapterTest, LoadingShowsTheTreesArraysAndSurfacesAndPushesTheMapSwitches)
{
    RecordingToolbar toolbar;
    adapter->SetToolbar(&toolbar);
    ProjectSettings* settings = ProjectDefinition::Instance()->GetSettings();
    settings->setThrowLines(false);
    settings->setSplVisibility(true);
    settings->setAutoCalculate(false);
    const auto array = BeamSpeakerClusterNode::Create(acoustics::createLoudspeakerCluster());
    array->AddChild(CreateLoudspeakerNode(kArrayModel));
    array->SetName("Centre");
    Root()->AddChild(array);
    Root()->AddChild(QuadNode::Create("Floor", {0, 5, 0}, {15, 5, 0}, {15, -5, 0}, {0, -5, 0},
                                      QColor("#ff8632"), 1.2, 0.0));
    adapter->LoadVenue();
    EXPECT_NE(EntityOf(array), nullptr);
    EXPECT_GE(list->indexOfEntity(array->GetId()), 0);
    EXPECT_EQ(EntitiesIn<view::QuadEntity>(plan).size(), 1u);
    EXPECT_EQ(toolbar.values["Toolbar_ThrowLines"], QVariant(false));
    EXPECT_EQ(toolbar.values["Spl_ShowSplMap"], QVariant(true));
    EXPECT_EQ(toolbar.values["Spl_AutoCalculate"], QVariant(false));
    EXPECT_EQ(Steps(), 0);
}

TEST_F(SpeakerTabAdapterTest, AdornersFollowTheSelection)
{
    const auto a = AddArray();
    const auto b = AddArray();
    ASSERT_TRUE(a && b);
    auto count = [&](auto* tag)
    {
        using T = std::remove_pointer_t<decltype(tag)>;
        return EntitiesIn<T>(plan).size();
    };
    view::BeamSpeakerAdornerEntity* beam = nullptr;
    view::SpeakerLinesAdornerEntity* lines = nullptr;
    view::SpeakerAdornerEntity* frame = nullptr;
    Select({}); // a new array comes selected
    EXPECT_EQ(count(beam), 0u);
    EXPECT_EQ(count(lines), 2u);

    Select({a});
    EXPECT_EQ(count(beam), 1u);
    EXPECT_EQ(count(lines), 1u);
    Select({b, a});
    EXPECT_EQ(adapter->GetSelectedNodes(), (std::vector<NodePtr>{a, b})); // in the order of entity ids
    EXPECT_EQ(count(beam), 0u);
    EXPECT_EQ(count(frame), 2u);
    Select({});
    EXPECT_EQ(count(frame), 0u);
    EXPECT_EQ(count(lines), 2u);

    adapter->SetRubberBandRunning(true);
    Select({a});
    EXPECT_EQ(count(beam), 0u);
    EXPECT_EQ(count(frame), 1u);
}

TEST_F(SpeakerTabAdapterTest, HandleDragLeavesOneStepFoldsBehindAndSparesALockedArray)
{
    const auto array = AddArray();
    ASSERT_NE(array, nullptr);
    Select({array});
    const auto entity = EntityOf(array);
    const auto adorners = EntitiesIn<view::BeamSpeakerAdornerEntity>(side);
    ASSERT_EQ(adorners.size(), 1u);
    const auto adorner = adorners.front();
    ASSERT_TRUE(adorner->RebuildGeometry());
    const math::Vec3 anchor = adorner->TopRearAnchor();
    const double startAngle = entity->beam(0).topRearAngle();
    const double startDistance = entity->beam(0).topRearDistance();

    // The actions the side view's mouse handler emits for a press on the handle, moves and a release.
    auto drag = [&](std::initializer_list<math::Vec3> points)
    {
        adapter->HandleMouseAction(HandleAction(view::MouseActionCode::HandlePress, side, adorner, 11));
        for (const math::Vec3& point : points)
            adapter->HandleMouseAction(HandleAction(view::MouseActionCode::HandleMove, side, adorner, 11,
                                                    side->GetViewport().WorldToScreen(point)));
        adapter->HandleMouseAction(HandleAction(view::MouseActionCode::HandleRelease, side, adorner, 11));
    };
    EXPECT_FALSE(adapter->DragBeamHandle(plan, 11, adorner, entity, view::MouseAction()));

    const int before = Steps();
    drag({anchor + math::Vec3(4, 0, 1), anchor + math::Vec3(18, 0, 3), anchor + math::Vec3(30, 0, 2)});
    EXPECT_EQ(Steps(), before + 1);
    EXPECT_EQ(LastStep(), "Modify TQR40V Array 1 beam shape");
    EXPECT_NEAR(array->GetBeamTopRearDistance(0), std::hypot(30.0, 2.0), 0.2);
    EXPECT_NEAR(array->GetBeamTopRearAngle(0), std::asin(2.0 / std::hypot(30.0, 2.0)), 0.01);
    EXPECT_NEAR(entity->beam(0).topRearDistance(), array->GetBeamTopRearDistance(0), 1e-9);
    UndoStack::Instance().undo();
    EXPECT_NEAR(array->GetBeamTopRearDistance(0), startDistance, 1e-6);
    EXPECT_NEAR(array->GetBeamTopRearAngle(0), startAngle, 1e-6);

    // Behind the anchor the end folds to its nearest distance.
    drag({anchor + math::Vec3(-6, 0, 0.5)});
    EXPECT_NEAR(array->GetBeamTopRearDistance(0), array->GetBeamConstraints(0)->getMinTopDistance(), 0.01);
    EXPECT_NEAR(entity->beam(0).topRearDistance(), array->GetBeamTopRearDistance(0), 1e-9);

    const double lockedDistance = array->GetBeamTopRearDistance(0);
    Edit(array, "Entity_Lock", true);
    const int lockedSteps = Steps();
    drag({anchor + math::Vec3(12, 0, 1)});
    EXPECT_EQ(Steps(), lockedSteps);
    EXPECT_NEAR(array->GetBeamTopRearDistance(0), lockedDistance, 1e-9);
}

TEST_F(SpeakerTabAdapterTest, PressesOnTheBeamAdornerPickABeamOrStartAHandleDrag)
{
    const auto array = AddArray();
    ASSERT_NE(array, nullptr);
    Edit(array, "Beam_Beams", "Dual (Dante)");
    Select({array});
    const auto entity = EntityOf(array);
    const auto adorner = EntitiesIn<view::BeamSpeakerAdornerEntity>(side).front();
    auto press = [&](std::uint32_t part, view::VenueView3D* view)
    { adapter->HandleMouseAction(HandleAction(view::MouseActionCode::HandlePress, view, adorner, part)); };
    press(view::HitPart::Beam2Outline, plan);
    EXPECT_EQ(entity->SelectedBeam(), 1);
    EXPECT_TRUE(Shown("Beam_BeamSelection").toBool());
    press(view::HitPart::Beam1Outline, plan);
    EXPECT_EQ(entity->SelectedBeam(), 0);
    EXPECT_FALSE(Shown("Beam_BeamSelection").toBool());

    const double before = array->GetBeamBottomFrontDistance(1);
    const int steps = Steps();
    adorner->RebuildGeometry();
    const QPoint away =
        side->GetViewport().WorldToScreen(adorner->BottomFrontAnchor() + math::Vec3(25, 0, -3));
    auto move = [&]
    {
        adapter->HandleMouseAction(HandleAction(view::MouseActionCode::HandleMove, side, adorner,
                                                view::HitPart::Beam2BottomFront, away));
    };
    press(view::HitPart::Beam2BottomFront, plan); // handles are dragged in the side view only
    move();
    EXPECT_NEAR(entity->beam(1).bottomFrontDistance(), before, 1e-9);
    // A press and release without a move leaves no step, and a later press still drags.
    press(view::HitPart::Beam2BottomFront, side);
    adapter->HandleMouseAction(
        HandleAction(view::MouseActionCode::HandleRelease, side, adorner, view::HitPart::Beam2BottomFront));
    EXPECT_EQ(Steps(), steps);
    press(view::HitPart::Beam2BottomFront, side);
    move();
    EXPECT_GT(entity->beam(1).bottomFrontDistance(), before + 5.0);
    EXPECT_NEAR(array->GetBeamBottomFrontDistance(1), before, 1e-9); // the node changes on release
    adapter->HandleMouseAction(
        HandleAction(view::MouseActionCode::HandleRelease, side, adorner, view::HitPart::Beam2BottomFront));
    EXPECT_EQ(Steps(), steps + 1);
    EXPECT_NEAR(array->GetBeamBottomFrontDistance(1), entity->beam(1).bottomFrontDistance(), 1e-9);

    EXPECT_NE(dynamic_cast<view::SpeakerPlanMouseHandler*>(adapter->CreateMouseHandler(plan).get()), nullptr);
    EXPECT_NE(dynamic_cast<view::SpeakerSideMouseHandler*>(adapter->CreateMouseHandler(side).get()), nullptr);
}

TEST_F(SpeakerTabAdapterTest, SideViewFollowsTheSelectedSpeakerAndReturnsWhenNoneIsSelected)
{
    const auto a = AddArray();
    const auto b = AddArray();
    ASSERT_TRUE(a && b);
    auto eyeDirection = [&]
    {
        view::Camera& camera = side->GetCamera();
        return math::Normalize(camera.Forward() * -1.0);
    };
    struct Case
    {
        double yaw;
        math::Vec3 eye;
        double storedYaw;
    } cases[] = {{180.0, {0, -1, 0}, 0.0}, {90.0, {1, 0, 0}, 90.0}, {0.0, {0, -1, 0}, 0.0}};
    for (const Case& c : cases)
    {
        Select({});
        Edit(a, "Beam_YawPosition", c.yaw * kDegree);
        Select({a});
        EXPECT_TRUE(math::IsEqual(eyeDirection(), c.eye) || math::Length(eyeDirection() - c.eye) < 1e-6)
            << c.yaw << ": " << eyeDirection().x << " " << eyeDirection().y;
        EXPECT_NEAR(adapter->GetSideViewYaw(), c.storedYaw * kDegree, 1e-9) << c.yaw;
        EXPECT_EQ(EntitiesIn<view::BeamSpeakerEntity>(side).size(), 1u);
        EXPECT_EQ(spl.active.back(), a);
        for (const auto& adorner : EntitiesIn<view::AdornerEntity>(side))
            EXPECT_EQ(adorner->AdornedEntity(), adapter->GetLinks().GetEntityForNode(a)) << c.yaw;
    }

    // Deselecting after a turned speaker puts the camera back and shows every speaker.
    Edit(a, "Beam_YawPosition", 90.0 * kDegree);
    Select({a});
    Select({});
    // Looking along +Y again, with the world origin at 15 % of the width and a fifth of the height.
    EXPECT_LT(side->GetCamera().GetPosition().y, -1000.0);
    EXPECT_TRUE(math::IsEqual(side->GetCamera().Right(), math::Vec3(1, 0, 0)));
    const QPoint origin = side->GetViewport().WorldToScreen({0, 0, 0});
    EXPECT_NEAR(origin.x(), 0.15 * side->GetViewport().Width(), 1.0);
    EXPECT_NEAR(origin.y(), 0.8 * side->GetViewport().Height(), 1.0);
    EXPECT_EQ(EntitiesIn<view::BeamSpeakerEntity>(side).size(), 2u);
    EXPECT_EQ(spl.active.back(), nullptr);
    EXPECT_EQ(EntitiesIn<view::SpeakerLinesAdornerEntity>(side).size(), 2u);
}
} // namespace
} // namespace zorvpro::test
