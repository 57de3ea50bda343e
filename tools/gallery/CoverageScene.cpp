#include "CoverageScene.h"

#include "acoustics/data/LoudspeakerLibrary.h"
#include "acoustics/engine/DataSet.h"
#include "acoustics/engine/ZorvAcousticsImpl.h"
#include "data/Field/FieldMessageTypes.h"
#include "data/Nodes/BridgeNodeTypes.h"
#include "data/Nodes/LoudspeakerNode.h"
#include "data/Project/ProjectDefinition.h"
#include "data/Project/ProjectSettings.h"
#include "data/Project/Venue.h"
#include "tools/datagen/Archive.h"
#include "tools/datagen/Models.h"
#include "views/Render/BeamSpeakerEntity.h"
#include "views/Render/Camera.h"
#include "views/Render/FieldEntity.h"
#include "views/Render/VenueView3D.h"
#include "views/Render/Viewport.h"

#include <cmath>
#include <mutex>

namespace zorvpro::gallery
{
namespace
{
ProjectDefinition& Project()
{
    return *ProjectDefinition::Instance();
}

// A cluster's medial plane: 30 m ahead of it along +X, from the floor to 8 m. Without a cluster,
// that of the first one in the venue.
SplAdapter::QuadPoints MedialPlane(const std::shared_ptr<LoudspeakerClusterNode>& given)
{
    std::shared_ptr<LoudspeakerClusterNode> cluster = given;
    if (!cluster)
    {
        for (const NodePtr& node : Project().GetVenue()->GetRoot()->GetChildren())
        {
            cluster = std::dynamic_pointer_cast<LoudspeakerClusterNode>(node);
            if (cluster)
                break;
        }
    }
    math::Vec3 at{-2, 0, 0};
    if (cluster)
        at = {cluster->GetTransform()(0, 3), cluster->GetTransform()(1, 3), 0};
    return {at, at + math::Vec3{30, 0, 0}, at + math::Vec3{30, 0, 8}, at + math::Vec3{0, 0, 8}};
}
} // namespace

bool PrepareLoudspeakers()
{
    static std::once_flag once;
    static bool ready = false;
    std::call_once(once,
                   []
                   {
                       RegisterBridgeNodeTypes();
                       const juce::File folder =
                           juce::File::getSpecialLocation(juce::File::tempDirectory)
                               .getChildFile("zorv-coverage-" + juce::Uuid().toString());
                       folder.createDirectory();
                       if (datagen::WriteDataSet(folder, datagen::MakeArrayDataSet()))
                           acoustics::LoudspeakerLibrary::instance().loadLoudspeakerFiles(
                               folder.getFullPathName().toStdString());
                       folder.deleteRecursively();
                       ready = CreateLoudspeakerNode(datagen::kArrayModelName) != nullptr;
                   });
    return ready;
}

CoverageScene::CoverageScene(view::VenueView3D& plan, view::VenueView3D& side, Options options)
    : m_plan(plan), m_side(side)
{
    acoustics::ZorvAcousticsImpl::Options engineOptions;
    engineOptions.threadCount = options.engineThreads;
    m_engine = acoustics::ZorvAcousticsImpl::create(engineOptions);
    m_engine->addCalcListener(&m_steps);
    m_app.SetEngine(m_engine);
    m_handler.AttachToEngine();
    Project().Clear(false);
    Project().GetSettings()->setSplResolution(options.resolution);
    m_adapter = std::make_unique<SplAdapter>(&m_panel);
    m_handler.SetMessenger(m_adapter->GetEngineMessenger());
    m_handler.Start();

    connect(m_adapter.get(), &SplAdapter::EntityUpdate, this,
            [this](bool sideView, bool add, const view::EntityPtr& entity)
            {
                view::VenueView3D& view = sideView ? m_side : m_plan;
                if (add)
                    view.AddEntity(entity);
                else
                    view.RemoveEntity(entity);
            });
    m_adapter->SetMedialPlaneProvider(MedialPlane);

    // Both views centred on x = 13 m, the side view at 4 m height.
    for (view::VenueView3D* view : {&plan, &side})
        view->GetViewport().setPixelsPerMeter(kPixelsPerMeter);
    plan.SetGridLabels("X", "Y", "PLAN VIEW");
    plan.GetCamera().LookAt({13, 0, 5000}, {13, 0, 0}, {0, 1, 0});
    side.SetGridLabels("X", "Z", "SIDE VIEW");
    side.GetCamera().LookAt({13, -5000, 4}, {13, 0, 4}, {0, 0, 1});

    m_adapter->SetAutoCalculate(true);
    m_adapter->ShowSplMaps(true);
}

CoverageScene::~CoverageScene()
{
    // The handler lets go of the field manager before the adapter that holds it goes.
    m_handler.Shutdown();
    m_adapter.reset();
    Project().Clear(false);
    m_engine->setCalculationEnabled(false);
    m_engine->removeCalcListener(&m_steps);
    m_app.SetEngine(nullptr);
}

void CoverageScene::AddFloorAndArray()
{
    const NodePtr root = Project().GetVenue()->GetRoot();
    floor = QuadNode::Create("floor", {0, -10, 0}, {30, -10, 0}, {30, 10, 0}, {0, 10, 0},
                             QColor(128, 128, 128), 1.2, 0.0);
    root->AddChild(floor);
    m_adapter->NodeChanged(SplAdapter::NodeAdded, floor);
    array = BeamSpeakerClusterNode::Create(acoustics::createLoudspeakerCluster());
    array->SetName("array");
    for (int i = 0; i < 2; ++i)
        array->AddChild(CreateLoudspeakerNode(datagen::kArrayModelName));
    array->SetTransform(math::Mat4::Translation({-2, 0, 2.2}));
    root->AddChild(array);
    m_adapter->NodeChanged(SplAdapter::NodeAdded, array);
    // The array itself, drawn as the speaker tab draws it, over the maps.
    m_arrayEntity = view::BeamSpeakerEntity::CreateFromNode(array);
    if (m_arrayEntity)
    {
        view::BeamSpeakerEntity::ApplyTheme(m_arrayEntity, false);
        m_plan.AddEntity(m_arrayEntity);
        m_side.AddEntity(m_arrayEntity);
    }
}

void CoverageScene::RemoveArray()
{
    const NodePtr root = Project().GetVenue()->GetRoot();
    for (uint64_t i = 0; i < root->GetChildCount(); ++i)
    {
        if (root->GetChild(i) == array)
        {
            root->RemoveChildAt(int32_t(i));
            break;
        }
    }
    m_adapter->NodeChanged(SplAdapter::NodeRemoved, array);
    if (m_arrayEntity)
    {
        m_plan.RemoveEntity(m_arrayEntity);
        m_side.RemoveEntity(m_arrayEntity);
        m_arrayEntity.reset();
    }
}

SplAdapter::PairingPtr CoverageScene::FloorMap() const
{
    return floor ? m_adapter->FindPairing(floor) : nullptr;
}

SplAdapter::PairingPtr CoverageScene::SideMap() const
{
    const auto& chunk = m_adapter->GetMedialPlaneChunk();
    return chunk ? m_adapter->FindPairing({}, chunk) : nullptr;
}

bool CoverageScene::MapsShown() const
{
    const auto floorMap = FloorMap();
    const auto sideMap = SideMap();
    return floorMap && sideMap && floorMap->entity->isVisible() && sideMap->entity->isVisible();
}

bool CoverageScene::ViewsSettled() const
{
    return m_plan.isValid() && m_side.isValid() && !m_plan.NeedsRepaint() && !m_side.NeedsRepaint();
}

bool CoverageScene::ResultsSettled() const
{
    const field::FieldManager& manager = m_adapter->GetFieldManager();
    if (m_steps.open.load() || m_engine->isBusy() ||
        manager.GetQueuedCount(field::Side::UserInterface) != 0 ||
        manager.GetQueuedCount(field::Side::Audio) != 0)
        return false;
    for (const SplAdapter::PairingPtr& p : m_adapter->GetPairings())
    {
        if (p->chunk && !(p->requestedStamp < p->resultStamp && p->resultStamp < p->shownStamp))
            return false;
    }
    return true;
}

bool CoverageScene::FloorRange(double& low, double& high) const
{
    const auto floorMap = FloorMap();
    const auto result = floorMap ? floorMap->chunk->GetDataSet() : nullptr;
    const auto data = result ? result->GetDataSet() : nullptr;
    if (!data)
        return false;
    acoustics::DataSet::SplValues levels;
    const ProjectSettings& settings = *Project().GetSettings();
    data->getSpl(levels, settings.getSplOctaveMode(), settings.getSplFreqCtr());
    if (levels.empty())
        return false;
    data->getSplRange(low, high);
    return true;
}

bool CoverageScene::FitRangeToFloor()
{
    double low = 0, high = 0;
    if (!FloorRange(low, high))
        return false;
    const double top = std::round(high);
    m_adapter->onPropertyEvent(BoundPropertyEvent::ValueChanged, "Spl_Auto_Adjust", false);
    m_adapter->onPropertyEvent(BoundPropertyEvent::ValueChanged, "Spl_Max_dB", top);
    m_adapter->onPropertyEvent(BoundPropertyEvent::ValueChanged, "Spl_Min_dB", top - 20.0);
    return true;
}
} // namespace zorvpro::gallery
