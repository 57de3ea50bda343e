#include "views/Adapters/Spl/SplAdapter.h"

#include "acoustics/engine/IZorvAcoustics.h"
#include "core/Base/ApplicationSeam.h"
#include "core/Logger/OmbraxLogger.h"
#include "core/Nodes/NodeIterators.h"
#include "core/Nodes/QuadNode.h"
#include "core/math/Compare.h"
#include "data/Field/FieldMessageTypes.h"
#include "data/Field/TesselateQuad.h"
#include "data/Nodes/LoudspeakerClusterNode.h"
#include "data/Project/ProjectDefinition.h"
#include "data/Project/ProjectSettings.h"
#include "data/Project/Venue.h"
#include "views/Common/SplTypes.h"
#include "views/Render/FieldEntity.h"

#include <algorithm>
#include <cmath>

namespace zorvpro
{
namespace
{
void LogError(const char* text)
{
    OmbraxLogger::Log(LogLevel::Error, text);
}

std::shared_ptr<LoudspeakerClusterNode> AsCluster(const NodePtr& node)
{
    return std::dynamic_pointer_cast<LoudspeakerClusterNode>(node);
}

NodePtr VenueRoot()
{
    auto* project = ProjectDefinition::Instance();
    return project && project->GetVenue() ? project->GetVenue()->GetRoot() : NodePtr();
}

double SplResolution()
{
    return ProjectDefinition::Instance()->GetSettings()->getSplResolution();
}

bool SamePositions(const std::vector<acoustics::FieldPoint>& a, const std::vector<acoustics::FieldPoint>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const acoustics::FieldPoint& p, const acoustics::FieldPoint& q)
                      { return p.x == q.x && p.y == q.y && p.z == q.z; });
}

math::Vec3 TransformCorner(const math::Mat4& m, const math::Vec3& p)
{
    const double w = m(3, 0) * p.x + m(3, 1) * p.y + m(3, 2) * p.z + m(3, 3);
    const double x = m(0, 0) * p.x + m(0, 1) * p.y + m(0, 2) * p.z + m(0, 3);
    const double y = m(1, 0) * p.x + m(1, 1) * p.y + m(1, 2) * p.z + m(1, 3);
    const double z = m(2, 0) * p.x + m(2, 1) * p.y + m(2, 2) * p.z + m(2, 3);
    return {x / w, y / w, z / w};
}
} // namespace

QString SplAdapter::KindText(uint32_t kind)
{
    static const char* const texts[] = {"", "Surface", "Speaker", "Chunk"};
    return kind < 4 ? texts[kind] : "";
}

QString SplAdapter::DestinationText(uint32_t destination)
{
    static const char* const texts[] = {"none", "side", "plan", "all"};
    return destination < 4 ? texts[destination] : "";
}

uint64_t SplAdapter::NextMapStamp()
{
    // One counter for every map of the process; GUI thread only.
    static uint64_t sequence = 1;
    return sequence++;
}

SplAdapter::SplAdapter(ISplPropertiesPanel* splPropertiesControl, QObject* parent)
    : AdapterBase(parent), m_messenger(m_fieldManager.GetMessenger(field::Side::UserInterface)),
      splPropertiesControl_(splPropertiesControl)
{
    qRegisterMetaType<SplTypes::Mode>("zorvpro::SplTypes::Mode");
    m_colorRange->Set(80.0, 110.0);
    m_taskQueue.Start();
    connect(&m_pollTimer, &QTimer::timeout, this, &SplAdapter::ProcessEngineMessages);
    if (!m_pollTimer.isActive())
        m_pollTimer.start(kPollIntervalMs);
    PushSplSettings();
}

SplAdapter::~SplAdapter()
{
    m_pollTimer.stop();
    m_taskQueue.Stop();
    splPropertiesControl_ = nullptr;
    CleanSplMaps(true);
}

field::FieldMessengerPtr SplAdapter::GetEngineMessenger() const
{
    return m_fieldManager.GetMessenger(field::Side::Audio);
}

field::FieldMessagePtr SplAdapter::Receive()
{
    return m_messenger->Receive();
}

void SplAdapter::Send(uint32_t type)
{
    m_messenger->Send(type);
}

void SplAdapter::SendNodes(uint32_t type, const field::NodeList& nodes)
{
    m_messenger->SendNodes(type, nodes);
}

void SplAdapter::SendChunks(uint32_t type, const field::ChunkList& chunks)
{
    m_messenger->SendChunks(type, chunks);
}

field::FieldMessagePtr SplAdapter::ClaimChunks(const field::ChunkList& chunks)
{
    return m_messenger->ClaimChunks(chunks);
}

void SplAdapter::NodeChanged(uint32_t change, const NodePtr& node)
{
    const auto shown = ShownMaps();
    ProcessNodeChange(change, node);
    // With Auto-calculate on, the step that follows an edit fits the range at its end, so a drag
    // does not make it jump on each move; no step follows a node taken away.
    if (!m_autoCalculate || change == NodeRemoved)
        FollowShownMapsAtNextTick(shown);
}

void SplAdapter::ProcessNodeChange(uint32_t change, const NodePtr& node)
{
    if (change == ProjectReset)
    {
        CleanSplMaps(false);
        return;
    }
    uint32_t kind = 0;
    switch (change)
    {
    case NodeAdded:
        kind = 1;
        break;
    case NodeUpdated:
        kind = 3;
        break;
    case NodeRemoved:
        kind = 2;
        break;
    default:
        return;
    }
    if (AsCluster(node))
        ProcessSpeaker(kind, node);
    else if (std::dynamic_pointer_cast<QuadNode>(node))
        ProcessSurface(kind, node);
}

SplAdapter::PairingPtr SplAdapter::FindPairing(const NodePtr& node, const field::FieldChunkPtr& chunk,
                                               const std::shared_ptr<view::FieldEntity>& entity) const
{
    for (const PairingPtr& p : m_pairings)
    {
        if ((node && p->node == node) || (chunk && p->chunk == chunk) || (entity && p->entity == entity))
            return p;
    }
    return {};
}

SplAdapter::PairingPtr SplAdapter::AddPairing(uint32_t kind, const NodePtr& node,
                                              const field::FieldChunkPtr& chunk,
                                              const std::shared_ptr<view::FieldEntity>& entity)
{
    if (PairingPtr found = FindPairing(node, chunk, entity))
        return found;
    auto p = std::make_shared<Pairing>();
    p->kind = kind;
    p->node = node;
    p->chunk = chunk;
    p->entity = entity;
    m_pairings.push_back(p);
    return p;
}

std::shared_ptr<view::FieldEntity> SplAdapter::MakeFieldEntity(const NodePtr& node,
                                                               const field::FieldChunkPtr& chunk)
{
    const QString name =
        QString("FieldEntity for %1").arg(node ? QString::fromStdString(node->GetName()) : "null");
    std::shared_ptr<view::FieldEntity> entity;
    try
    {
        entity = std::make_shared<view::FieldEntity>(name.toStdString());
    }
    catch (...)
    {
    }
    if (!entity)
    {
        LogError("Could not create FieldEntity in MakeFieldEntity");
        return {};
    }
    if (entity->isVisible())
        entity->setVisible(false);
    const uint32_t destination = chunk->GetKind();
    if (destination == Plan || destination == All)
        emit EntityUpdate(false, true, entity);
    if (destination == Side || destination == All)
        emit EntityUpdate(true, true, entity);
    return entity;
}

SplAdapter::PairingPtr SplAdapter::MakeSpeakerPairing(const NodePtr& node)
{
    auto chunk = std::make_shared<field::FieldChunk>(Side);
    auto entity = MakeFieldEntity(node, chunk);
    if (!chunk || !entity)
    {
        LogError("Chunk or field entity not allocated in process speaker");
        return {};
    }
    return AddPairing(Speaker, node, chunk, entity);
}

void SplAdapter::ProcessSurface(uint32_t kind, const NodePtr& node)
{
    if (kind == 2)
    {
        RemoveFieldEntity(FindPairing(node));
        return;
    }
    if (kind != 1 && kind != 3)
        return;
    if (auto quad = std::dynamic_pointer_cast<QuadNode>(node))
    {
        PairingPtr p = FindPairing(node);
        uint32_t effective = 3;
        if (!p)
        {
            auto chunk = std::make_shared<field::FieldChunk>(Plan);
            auto entity = MakeFieldEntity(node, chunk);
            if (!chunk || !entity)
            {
                LogError("Chunk or field entity not allocated in process surface");
                return;
            }
            p = AddPairing(Surface, node, chunk, entity);
            effective = 1;
        }
        if (!p)
        {
            LogError("UpdatePairing not allocated in process surface");
            return;
        }
        if (effective == 3)
            p->changedStamp = NextMapStamp();
        const math::Vec3 ears(0.0, 0.0, quad->GetListenerHeight());
        const QuadPoints corners{quad->GetP1() + ears, quad->GetP2() + ears, quad->GetP3() + ears,
                                 quad->GetP4() + ears};
        QueueTessellation(p, SplResolution(), quad->GetTransform(), effective, corners);
        if (m_autoCalculate)
            RetesselateSpeakers();
    }
    RefreshAllVisibility();
}

void SplAdapter::ProcessSpeaker(uint32_t kind, const NodePtr& node)
{
    if (kind == 1 || kind == 3)
    {
        UpdateMedianPlane();
        if (!AsCluster(node))
            return;
        PairingPtr p = FindPairing(node);
        uint32_t effective = 3;
        if (!p)
        {
            p = MakeSpeakerPairing(node);
            effective = 1;
        }
        if (!p)
        {
            LogError("UpdatePairing not allocated in process speaker");
            return;
        }
        SendNodes(effective == 1 ? field::MessageType::SpeakerAdded : field::MessageType::SpeakerUpdated,
                  {node});
        if (effective == 3)
            p->changedStamp = NextMapStamp();
        if (effective == 1 || m_autoCalculate)
            TesselateSpeaker(p, effective);
        if (effective == 1 && CountLiveSpeakerPairings() == 1)
            RefreshAllVisibility();
        return;
    }
    if (kind != 2)
        return;
    RemoveFieldEntity(FindPairing(node));
    if (CountLiveSpeakerPairings() == 0)
    {
        if (m_medialPlaneChunk)
            RemoveFieldEntity(FindPairing({}, m_medialPlaneChunk));
        m_medialPlaneChunk.reset();
        // No loudspeaker, no sound: the remaining maps stay empty until new results arrive.
        for (const PairingPtr& p : m_pairings)
        {
            if (p->entity)
                p->entity->ClearMap();
            p->requestedStamp = NextMapStamp();
        }
    }
}

void SplAdapter::UpdateMedianPlane()
{
    if (!m_medialPlaneChunk)
    {
        PairingPtr p = MakeSpeakerPairing({});
        if (!p)
        {
            LogError("Cannot obtain median plane spl pairing");
            return;
        }
        m_medialPlaneChunk = p->chunk;
    }
    TesselateSpeaker(FindPairing({}, m_medialPlaneChunk), 1);
}

void SplAdapter::TesselateSpeaker(const PairingPtr& pairing, uint32_t kind)
{
    if (!pairing)
    {
        LogError("TesselateSpeaker called on nullptr");
        return;
    }
    if (!m_medialPlaneProvider)
        return;
    const QuadPoints corners = m_medialPlaneProvider(AsCluster(pairing->node));
    if (QuadChanged(*pairing, corners))
        QueueTessellation(pairing, SplResolution(), math::Mat4(), kind, corners);
}

bool SplAdapter::QuadChanged(Pairing& pairing, const QuadPoints& corners)
{
    double sum = 0.0;
    for (size_t k = 0; k < corners.size(); ++k)
    {
        const math::Vec3 d = corners[k] - pairing.lastCorners[k];
        const double squared = d.x * d.x + d.y * d.y + d.z * d.z;
        if (squared >= math::kZeroTolerance)
            sum += std::sqrt(squared);
    }
    pairing.lastCorners = corners;
    return sum >= math::kZeroTolerance;
}

void SplAdapter::QueueTessellation(const PairingPtr& pairing, double spacing, const math::Mat4& matrix,
                                   uint32_t kind, const QuadPoints& corners)
{
    pairing->requestedStamp = NextMapStamp();
    const field::FieldChunkPtr chunk = pairing->chunk;
    if (chunk->GetKind() == Side)
    {
        const auto cluster = AsCluster(pairing->node);
        chunk->SetSourceFilter(cluster && cluster->GetCluster() ? cluster->GetCluster()->getId()
                                                                : acoustics::FieldPoints::AllSources);
    }
    // The worker cuts into a chunk of its own; the GUI thread installs the cut in one step, so
    // nothing on this side ever sees the new mesh with results computed for the old one.
    auto cut = std::make_shared<field::FieldChunk>(chunk->GetKind());
    ++m_counters.tessellationsQueued;
    m_taskQueue.Add(
        [cut, spacing, matrix, corners]
        {
            field::TesselateQuad(cut, spacing, TransformCorner(matrix, corners[0]),
                                 TransformCorner(matrix, corners[1]), TransformCorner(matrix, corners[2]),
                                 TransformCorner(matrix, corners[3]));
        },
        [this, chunk, cut, kind] { InstallTessellation(chunk, cut, kind); });
}

void SplAdapter::InstallTessellation(const field::FieldChunkPtr& chunk, const field::FieldChunkPtr& cut,
                                     uint32_t kind)
{
    // A map removed while its cut was under way is not sent to the engine again.
    PairingPtr p = FindPairing({}, chunk);
    if (!p || IsRetired(chunk))
        return;
    std::vector<acoustics::FieldPoint> points = cut->GetPoints().TakePoints();
    if (kind != 1 && !points.empty() && SamePositions(points, chunk->GetPoints().GetPoints()))
    {
        // An edit that moved no point (a colour, a name): the engine would compute nothing new,
        // and the results shown still hold, so the map shows again at once.
        const bool shown = ShowsResult(*p);
        p->tessellatedStamp = NextMapStamp();
        if (ResultFitsChunk(chunk))
        {
            p->resultStamp = NextMapStamp();
            UpdateChunkToEntity(chunk);
        }
        // The edit hid the map until now: a range fitted meanwhile without it is fitted again.
        if (ShowsResult(*p) != shown)
            m_fitAtNextTick = true;
        return;
    }
    chunk->Install(std::move(points), cut->GetMesh());
    chunk->SetTransform(math::Mat4());
    SendChunks(kind == 1 ? field::MessageType::NewChunks : field::MessageType::ChunksUpdated, {chunk});
    p->tessellatedStamp = NextMapStamp();
}

int SplAdapter::CountLiveSpeakerPairings() const
{
    int count = 0;
    // Only loudspeaker pairings can hold a cluster; the kind spares a cast per surface, and this
    // runs for every surface added or removed.
    for (const PairingPtr& p : m_pairings)
        count += (p->kind == Speaker && AsCluster(p->node)) ? 1 : 0;
    return count;
}

void SplAdapter::RetesselateSpeakers()
{
    // A copy: tessellating never changes the list, but stay safe against re-entry.
    const std::vector<PairingPtr> pairings = m_pairings;
    for (const PairingPtr& p : pairings)
    {
        if (AsCluster(p->node) || (m_medialPlaneChunk && p->chunk == m_medialPlaneChunk))
            TesselateSpeaker(p, 3);
    }
}

void SplAdapter::RemovePairings(const NodePtr& node, const field::FieldChunkPtr& chunk,
                                const std::shared_ptr<view::FieldEntity>& entity)
{
    for (;;)
    {
        auto it = std::find_if(m_pairings.begin(), m_pairings.end(),
                               [&](const PairingPtr& p)
                               {
                                   return (node && p->node == node) || (chunk && p->chunk == chunk) ||
                                          (entity && p->entity == entity) ||
                                          (p->node == node && p->chunk == chunk && p->entity == entity);
                               });
        if (it == m_pairings.end())
            return;
        if ((*it)->chunk)
            m_retiredChunkIds.insert((*it)->chunk->GetId());
        m_pairings.erase(it);
    }
}

void SplAdapter::RemoveFieldEntity(const PairingPtr& pairing)
{
    if (!pairing)
        return;
    const PairingPtr keep = pairing;
    if (keep->entity)
    {
        emit EntityUpdate(true, false, keep->entity);
        emit EntityUpdate(false, false, keep->entity);
    }
    if (keep->chunk)
        SendChunks(field::MessageType::RemovedChunks, {keep->chunk});
    if (keep->kind == Speaker && keep->node)
        SendNodes(field::MessageType::SpeakerRemoved, {keep->node});
    RemovePairings(keep->node, keep->chunk, keep->entity);
    if (CountLiveSpeakerPairings() == 0)
        RefreshAllVisibility();
}

bool SplAdapter::IsRetired(const field::FieldChunkPtr& chunk) const
{
    return chunk && m_retiredChunkIds.count(chunk->GetId()) > 0;
}

void SplAdapter::UpdateMapVisibility(bool show, Pairing& pairing)
{
    if (!pairing.entity)
        return;
    bool visible;
    if (auto quad = std::dynamic_pointer_cast<QuadNode>(pairing.node))
    {
        // A changed surface shows its map again only once a result newer than the change is shown.
        visible = show && quad->GetVisible() && pairing.changedStamp < pairing.resultStamp &&
                  pairing.resultStamp < pairing.shownStamp;
    }
    else
    {
        visible = show && pairing.node == m_activeSpeaker;
    }
    if (visible != pairing.entity->isVisible())
        pairing.entity->setVisible(visible);
}

void SplAdapter::RefreshAllVisibility(const PairingPtr& pairing)
{
    const bool show = m_mapsShown && CountLiveSpeakerPairings() > 0;
    if (pairing)
    {
        UpdateMapVisibility(show, *pairing);
        return;
    }
    for (const PairingPtr& p : m_pairings)
        UpdateMapVisibility(show, *p);
}

void SplAdapter::SetActiveSpeaker(const NodePtr& node)
{
    const auto shown = ShownMaps();
    m_activeSpeaker = node;
    RefreshAllVisibility();
    FollowShownMaps(shown);
}

void SplAdapter::HandleEntityVisibility(const NodePtr& node)
{
    PairingPtr p = FindPairing(node);
    if (!p)
    {
        LogError("Null entity visibility in HandleEntityVisibility");
        return;
    }
    const auto shown = ShownMaps();
    RefreshAllVisibility(p);
    FollowShownMaps(shown);
}

void SplAdapter::RefreshSpeaker(const NodePtr& node)
{
    PairingPtr p = FindPairing(node);
    if (p && p->entity)
    {
        // The map stays empty until the next calculation.
        const auto shown = ShownMaps();
        p->entity->ClearMap();
        p->requestedStamp = NextMapStamp();
        ProcessSpeaker(3, node);
        if (!m_autoCalculate)
            FollowShownMapsAtNextTick(shown);
    }
}

void SplAdapter::CleanSplMaps(bool keepSettings)
{
    if (!VenueRoot())
    {
        LogError("Missing root node in clean SPL maps");
        return;
    }
    while (!m_pairings.empty())
    {
        const PairingPtr p = m_pairings.back();
        const size_t before = m_pairings.size();
        if (p->kind == Surface && p->node)
            ProcessSurface(2, p->node);
        else if (p->kind == Speaker && p->node)
            ProcessSpeaker(2, p->node);
        else
            RemoveFieldEntity(p);
        if (m_pairings.size() == before) // cannot happen, but never spin
            m_pairings.pop_back();
    }
    m_activeSpeaker.reset();
    m_medialPlaneChunk.reset();
    if (!keepSettings)
    {
        if (splPropertiesControl_)
            splPropertiesControl_->setFrequencyLabel(QString());
        PushSplSettings();
    }
}

void SplAdapter::UpdateSplMaps(bool keepActiveSpeaker)
{
    const NodePtr active = m_activeSpeaker;
    CleanSplMaps(false);
    const NodePtr root = VenueRoot();
    if (!root)
    {
        LogError("Missing root node in update SPL maps");
        return;
    }
    for (auto it = TreeIter::Begin(root); it != TreeIter::End(); ++it)
    {
        if (std::dynamic_pointer_cast<QuadNode>(*it))
            ProcessSurface(1, *it);
    }
    for (auto it = TreeIter::Begin(root); it != TreeIter::End(); ++it)
    {
        if (AsCluster(*it))
            ProcessSpeaker(1, *it);
    }
    if (keepActiveSpeaker)
        m_activeSpeaker = active;
    RefreshAllVisibility();
    emit RebuildAll();
}

void SplAdapter::SetAutoCalculate(bool on)
{
    if (auto engine = CurrentAcousticsEngine())
        engine->setCalculationEnabled(on);
    m_autoCalculate = on;
    if (on)
        RetesselateSpeakers();
}

void SplAdapter::ShowSplMaps(bool on)
{
    if (auto engine = CurrentAcousticsEngine())
    {
        if (on)
            engine->start();
        else
            engine->requestStop();
    }
    const auto shown = ShownMaps();
    m_mapsShown = on;
    Send(on ? field::MessageType::MapsShown : field::MessageType::MapsHidden);
    RefreshAllVisibility();
    FollowShownMaps(shown);
}

void SplAdapter::Recalculate()
{
    RetesselateSpeakers();
    m_taskQueue.Add([] {}, [this] { Send(field::MessageType::Calculate); });
}
} // namespace zorvpro
