// The whole road of a coverage map on a real X display: a floor and a two-module array in the
// project, the real engine computing on its worker threads, the adapter's poll colouring the
// maps, and a plan and a side view drawing them.
#include "GlTestEnv.h"
#include "tests/bridge/BridgeTestSupport.h"
#include "tests/gl/GlViewSupport.h"

#include "acoustics/engine/ZorvAcousticsImpl.h"
#include "core/Base/ApplicationSeam.h"
#include "core/Nodes/QuadNode.h"
#include "data/Field/AudioEngineHandler.h"
#include "data/Nodes/BeamSpeakerClusterNode.h"
#include "data/Project/ProjectDefinition.h"
#include "data/Project/ProjectSettings.h"
#include "data/Project/Venue.h"
#include "views/Adapters/Spl/SplAdapter.h"
#include "views/Render/FieldEntity.h"

#include <QHBoxLayout>
#include <QOpenGLContext>

using namespace zorvpro;
using namespace zorvpro::gltest;
using view::VenueView3D;

namespace
{
const auto* const g_bridge = ::testing::AddGlobalTestEnvironment(new test::BridgeEnvironment);

constexpr double kPixelsPerMeter = 20.0;

// The speaker tab's part in the road: maps go into the plan or the side view as the adapter asks,
// and a cluster's medial plane runs 30 m ahead of it, from the floor to 8 m.
class MapTab : public QObject
{
public:
    MapTab(SplAdapter& adapter, VenueView3D& plan, VenueView3D& side) : m_plan(plan), m_side(side)
    {
        connect(&adapter, &SplAdapter::EntityUpdate, this,
                [this](bool sideView, bool add, const view::EntityPtr& entity)
                {
                    VenueView3D& view = sideView ? m_side : m_plan;
                    if (add)
                        view.AddEntity(entity);
                    else
                        view.RemoveEntity(entity);
                });
        adapter.SetMedialPlaneProvider(
            [](const std::shared_ptr<LoudspeakerClusterNode>& given)
            {
                std::shared_ptr<LoudspeakerClusterNode> cluster = given;
                math::Vec3 at{-2, 0, 0};
                if (!cluster)
                {
                    for (const NodePtr& node :
                         ProjectDefinition::Instance()->GetVenue()->GetRoot()->GetChildren())
                        if (auto c = std::dynamic_pointer_cast<LoudspeakerClusterNode>(node))
                            cluster = c;
                }
                if (cluster)
                    at = {cluster->GetTransform()(0, 3), cluster->GetTransform()(1, 3), 0};
                return SplAdapter::QuadPoints{at, at + math::Vec3{30, 0, 0}, at + math::Vec3{30, 0, 8},
                                              at + math::Vec3{0, 0, 8}};
            });
    }

private:
    VenueView3D& m_plan;
    VenueView3D& m_side;
};

// The SPL panel's part: the adapter pushes values and a range into it; nothing to show here.
class SilentPanel : public ISplPropertiesPanel
{
public:
    void updateProperty(const QString&, const QVariant&) override {}
    void setSliderValues(double, double) override {}
    void setColorMap(ColorFunction) override {}
    void setSplRange(double, double) override {}
    void setFrequencyLabel(const QString&) override {}
};

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

// 800 x 500 views at 20 pixels per metre, both centred on x = 13 m.
QPoint PlanPixel(double x, double y)
{
    return {400 + int(std::lround((x - 13) * kPixelsPerMeter)), 250 - int(std::lround(y * kPixelsPerMeter))};
}

QPoint SidePixel(double x, double z)
{
    return {400 + int(std::lround((x - 13) * kPixelsPerMeter)),
            250 - int(std::lround((z - 4) * kPixelsPerMeter))};
}

struct Road
{
    Road()
    {
        acoustics::ZorvAcousticsImpl::Options options;
        options.threadCount = 4;
        engine = acoustics::ZorvAcousticsImpl::create(options);
        app.SetEngine(engine);
        handler.AttachToEngine();
        project->Clear(false);
        project->GetSettings()->setSplResolution(1.0);
        adapter = std::make_unique<SplAdapter>(&panel);
        handler.SetMessenger(adapter->GetEngineMessenger());
        handler.Start();

        auto* layout = new QHBoxLayout(&window);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        for (VenueView3D** view : {&plan, &side})
        {
            *view = new VenueView3D(&window);
            (*view)->setFixedSize(800, 500);
            (*view)->GetViewport().setPixelsPerMeter(kPixelsPerMeter);
            layout->addWidget(*view);
        }
        plan->SetGridLabels("X", "Y", "PLAN VIEW");
        plan->GetCamera().LookAt({13, 0, 5000}, {13, 0, 0}, {0, 1, 0});
        side->SetGridLabels("X", "Z", "SIDE VIEW");
        side->GetCamera().LookAt({13, -5000, 4}, {13, 0, 4}, {0, 0, 1});
        tab = std::make_unique<MapTab>(*adapter, *plan, *side);
    }

    ~Road()
    {
        handler.Shutdown();
        tab.reset();
        adapter.reset();
        project->Clear(false);
        engine->setCalculationEnabled(false);
        app.SetEngine(nullptr);
    }

    bool Settled()
    {
        return plan->isValid() && side->isValid() && !plan->NeedsRepaint() && !side->NeedsRepaint();
    }

    ApplicationSeam app;
    std::shared_ptr<acoustics::IZorvAcoustics> engine;
    field::AudioEngineHandler handler{nullptr};
    ProjectDefinition* project = ProjectDefinition::Instance();
    SilentPanel panel;
    std::unique_ptr<SplAdapter> adapter;
    QWidget window;
    VenueView3D* plan = nullptr;
    VenueView3D* side = nullptr;
    std::unique_ptr<MapTab> tab;
};
} // namespace

TEST(CoverageMapView, AFloorAndAnArrayShowPlanAndSideMapsThatFollowRangeEditsAndTheLastSpeaker)
{
    Road road;
    road.window.show();
    ASSERT_TRUE(WaitUntil([&] { return road.Settled(); }));
    ASSERT_EQ(road.plan->context()->isOpenGLES(), EsRequested());

    road.adapter->SetAutoCalculate(true);
    road.adapter->ShowSplMaps(true);
    const NodePtr root = road.project->GetVenue()->GetRoot();
    auto floor = QuadNode::Create("floor", {0, -10, 0}, {30, -10, 0}, {30, 10, 0}, {0, 10, 0},
                                  QColor(128, 128, 128), 1.2, 0.0);
    root->AddChild(floor);
    road.adapter->NodeChanged(SplAdapter::NodeAdded, floor);
    auto array = BeamSpeakerClusterNode::Create(acoustics::createLoudspeakerCluster());
    test::AddModules(array, 2);
    array->SetTransform(math::Mat4::Translation({-2, 0, 2.2}));
    root->AddChild(array);
    road.adapter->NodeChanged(SplAdapter::NodeAdded, array);

    const auto floorMap = road.adapter->FindPairing(floor);
    ASSERT_TRUE(floorMap);
    auto sideMap = [&] { return road.adapter->FindPairing({}, road.adapter->GetMedialPlaneChunk()); };
    ASSERT_TRUE(sideMap());
    // The engine settles, computes both sets, the range fits itself after the step: generous.
    ASSERT_TRUE(WaitUntil(
        [&]
        {
            return floorMap->entity->isVisible() && sideMap()->entity->isVisible() &&
                   road.project->GetSettings()->getSplHighValue() != 112.0 && road.Settled();
        },
        240000))
        << "no maps: floor " << floorMap->entity->isVisible() << ", side " << sideMap()->entity->isVisible();
    // Let the automatic range finish: the last step's results may still be on their way.
    ASSERT_TRUE(WaitUntil([&] { return !road.engine->isBusy() && road.Settled(); }, 60000));

    const bool es = EsRequested();
    SaveShot(road.side->grabFramebuffer(), "coverage-side-auto-range", es);
    // The automatic range reaches up to the array's own level on the medial plane, where the floor
    // is all blue: the designer fits the range to the floor by hand, without new meshes.
    const auto counters = road.adapter->GetCounters();
    double floorMin = 0, floorMax = 0;
    {
        auto data = floorMap->chunk->GetDataSet()->GetDataSet();
        acoustics::DataSet::SplValues levels;
        data->getSpl(levels, road.project->GetSettings()->getSplOctaveMode(),
                     road.project->GetSettings()->getSplFreqCtr());
        data->getSplRange(floorMin, floorMax);
    }
    ASSERT_GT(floorMax, floorMin + 10)
        << "the floor hears the array unevenly: " << floorMin << " to " << floorMax;
    const double top = std::round(floorMax);
    road.adapter->onPropertyEvent(BoundPropertyEvent::ValueChanged, "Spl_Auto_Adjust", false);
    road.adapter->onPropertyEvent(BoundPropertyEvent::ValueChanged, "Spl_Max_dB", top);
    road.adapter->onPropertyEvent(BoundPropertyEvent::ValueChanged, "Spl_Min_dB", top - 20.0);
    ASSERT_TRUE(WaitUntil([&] { return road.Settled(); }));
    EXPECT_EQ(road.adapter->GetCounters().meshesSet, counters.meshesSet);
    EXPECT_GT(road.adapter->GetCounters().recolours, counters.recolours);
    EXPECT_EQ(road.adapter->ColorRange().High(), top);

    QImage planImage = road.plan->grabFramebuffer();
    QImage sideImage = road.side->grabFramebuffer();
    SaveShot(planImage, "coverage-plan", es);
    SaveShot(sideImage, "coverage-side", es);

    const QColor nearCorner = Patch(planImage, PlanPixel(1.5, 1));
    const QColor farCorner = Patch(planImage, PlanPixel(28.5, 9));
    EXPECT_FALSE(IsBackground(nearCorner));
    EXPECT_FALSE(IsBackground(farCorner));
    EXPECT_GT(Redness(nearCorner), Redness(farCorner) + 60) << "near the array is louder";
    EXPECT_GT(farCorner.blue(), farCorner.red()) << "the far corner sits at the quiet, blue end";
    EXPECT_TRUE(IsBackground(Patch(planImage, PlanPixel(-2.5, 1)))) << "no map behind the array";
    // The side map: loud in front of the array at its height, quieter far away near the floor.
    const QColor ahead = Patch(sideImage, SidePixel(3, 3.5));
    const QColor far = Patch(sideImage, SidePixel(26, 1));
    EXPECT_FALSE(IsBackground(ahead));
    EXPECT_FALSE(IsBackground(far));
    EXPECT_GT(Redness(ahead), Redness(far));
    EXPECT_TRUE(IsBackground(Patch(sideImage, SidePixel(17.5, 11)))) << "nothing above the plane";

    // A higher top recolours again.
    road.adapter->onPropertyEvent(BoundPropertyEvent::ValueChanged, "Spl_Max_dB", top + 15.0);
    ASSERT_TRUE(WaitUntil([&] { return road.Settled(); }));
    EXPECT_EQ(road.adapter->GetCounters().meshesSet, counters.meshesSet);
    planImage = road.plan->grabFramebuffer();
    SaveShot(planImage, "coverage-plan-range", es);
    const QColor nearAfter = Patch(planImage, PlanPixel(1.5, 1));
    EXPECT_LT(Redness(nearAfter), Redness(nearCorner) - 40) << "a higher top makes the same level less red";

    // The last loudspeaker goes: no sound, no maps.
    for (int i = 0; i < int(root->GetChildCount()); ++i)
        if (root->GetChild(i) == array)
            root->RemoveChildAt(i);
    road.adapter->NodeChanged(SplAdapter::NodeRemoved, array);
    ASSERT_TRUE(WaitUntil([&] { return road.Settled(); }));
    planImage = road.plan->grabFramebuffer();
    sideImage = road.side->grabFramebuffer();
    SaveShot(planImage, "coverage-plan-cleared", es);
    EXPECT_TRUE(IsBackground(Patch(planImage, PlanPixel(1.5, 1))));
    EXPECT_TRUE(IsBackground(Patch(planImage, PlanPixel(28.5, 9))));
    EXPECT_TRUE(IsBackground(Patch(sideImage, SidePixel(3, 3.5))));
    EXPECT_FALSE(road.plan->HasEntity(floorMap->entity) && floorMap->entity->isVisible());
    EXPECT_FALSE(road.side->HasEntity(sideMap() ? sideMap()->entity : nullptr));
}
