#include "views/Adapters/Speaker/SpeakerDragState.h"
#include "views/Adapters/Speaker/SpeakerSplLink.h"

#include "core/Nodes/QuadNode.h"
#include "data/Project/ProjectDefinition.h"
#include "views/Adapters/Model/ViewMath.h"
#include "views/Common/BeamSpeakerItem.h"
#include "views/Render/BeamSpeakerAdornerEntity.h"
#include "views/Render/BeamSpeakerEntity.h"
#include "views/Render/HitPoint.h"
#include "views/Render/ListenerPlaneAdorner.h"
#include "views/Render/QuadEntity.h"
#include "views/Render/SpeakerMouseHandlers.h"
#include "views/Render/VenueView3D.h"
#include "views/Tabs/BaseComponents/EntitySelectionControl.h"

#include <array>

namespace zorvpro
{
const char* const SpeakerTabAdapter::kItemName = "TQR40V Array";
const char* const SpeakerTabAdapter::kModelName = "TQR40V";

namespace
{
using Item = BeamSpeakerItem;

std::uint32_t Number(Item item)
{
    return static_cast<std::uint32_t>(item);
}

view::BeamSpeakerEntity* Array(const view::EntityPtr& entity)
{
    return dynamic_cast<view::BeamSpeakerEntity*>(entity.get());
}

view::SpeakerEntity* Speaker(const view::EntityPtr& entity)
{
    return dynamic_cast<view::SpeakerEntity*>(entity.get());
}

BeamSpeakerClusterNode* ArrayNode(const NodePtr& node)
{
    return dynamic_cast<BeamSpeakerClusterNode*>(node.get());
}

LoudspeakerClusterNode* ClusterNode(const NodePtr& node)
{
    return dynamic_cast<LoudspeakerClusterNode*>(node.get());
}

const std::array<const char*, 3> kAlgorithmNames = {
    QT_TRANSLATE_NOOP("zorvpro::SpeakerTabAdapter", "Steer / Spread"),
    QT_TRANSLATE_NOOP("zorvpro::SpeakerTabAdapter", "Flat Floor"),
    QT_TRANSLATE_NOOP("zorvpro::SpeakerTabAdapter", "Raked Floor")};
const std::array<const char*, 2> kBeamCountNames = {
    QT_TRANSLATE_NOOP("zorvpro::SpeakerTabAdapter", "Single"),
    QT_TRANSLATE_NOOP("zorvpro::SpeakerTabAdapter", "Dual (Dante)")};
} // namespace

SpeakerTabAdapter::SpeakerTabAdapter(EntitySelectionControl* list, QObject* parent)
    : ModelAdapter(list, parent)
{
    connect(ProjectDefinition::Instance()->GetSettings(), &ProjectSettings::throwLinesChanged, this,
            &SpeakerTabAdapter::OnThrowLinesChanged);
    OnThrowLinesChanged();
    onZoomPairedChanged(ProjectSettings::SpeakerTab);
}

SpeakerTabAdapter::~SpeakerTabAdapter() = default;

void SpeakerTabAdapter::SetSpeakerSplListener(ISpeakerSplListener* listener)
{
    speakerSpl = listener;
    ModelAdapter::SetSplAdapter(static_cast<ISplNodeListener*>(listener));
}

void SpeakerTabAdapter::SetSplAdapter(SplAdapter* adapter)
{
    speakerSplLink = adapter != nullptr ? std::make_unique<SpeakerSplLink>(adapter) : nullptr;
    SetSpeakerSplListener(speakerSplLink.get());
}

std::vector<NodePtr> SpeakerTabAdapter::GetSelectedNodes() const
{
    std::vector<NodePtr> nodes;
    for (const std::uint64_t id : GetSelectedIds())
        if (NodePtr node = links.GetNodeByEntityId(id))
            nodes.push_back(node);
    return nodes;
}

// ---------------------------------------------------------------- name tables

int SpeakerTabAdapter::AlgorithmFromName(const QString& name)
{
    for (std::size_t i = 0; i < kAlgorithmNames.size(); ++i)
        if (name == tr(kAlgorithmNames[i]))
            return int(i);
    return -1;
}

QString SpeakerTabAdapter::AlgorithmName(int algorithm)
{
    return algorithm >= 0 && algorithm < int(kAlgorithmNames.size()) ? tr(kAlgorithmNames[algorithm])
                                                                     : QString();
}

int SpeakerTabAdapter::BeamCountFromName(const QString& name)
{
    for (std::size_t i = 0; i < kBeamCountNames.size(); ++i)
        if (name == tr(kBeamCountNames[i]))
            return int(i) + 1;
    return -1;
}

QString SpeakerTabAdapter::BeamCountName(int count)
{
    return count >= 1 && count <= int(kBeamCountNames.size()) ? tr(kBeamCountNames[count - 1]) : QString();
}

// ---------------------------------------------------------------- field tables

const FieldDescriptor<int>* SpeakerTabAdapter::GetIntFields()
{
    static const FieldDescriptor<int> table[] = {FieldDescriptor<int>{}};
    return table;
}

const FieldDescriptor<QColor>* SpeakerTabAdapter::GetColorFields()
{
    static const FieldDescriptor<QColor> table[] = {FieldDescriptor<QColor>{}};
    return table;
}

const FieldDescriptor<double>* SpeakerTabAdapter::GetDoubleFields()
{
    static const auto table = []
    {
        std::array<FieldDescriptor<double>, 2> fields;
        MakeField(
            fields[0], Number(Item::Cluster_Delay), "Modify %1 delay",
            [](const view::EntityPtr& e) { return Speaker(e) ? Speaker(e)->Delay() : 0.0; },
            [](const view::EntityPtr& e, double v)
            {
                if (auto* speaker = Speaker(e))
                    speaker->SetGainAndDelay(speaker->Gain(), v);
            },
            [](const NodePtr& n, double v)
            {
                if (auto* cluster = ClusterNode(n); cluster && cluster->GetCluster())
                    cluster->SetDelay(v);
            });
        return fields;
    }();
    return table.data();
}

const FieldDescriptor<bool>* SpeakerTabAdapter::GetBoolFields()
{
    static const auto table = []
    {
        std::array<FieldDescriptor<bool>, 4> fields;
        MakeField(
            fields[0], Number(Item::Entity_Lock), "Modify %1 lock",
            [](const view::EntityPtr& e) { return e->isLocked(); },
            [](const view::EntityPtr& e, bool v) { e->setLocked(v); },
            [](const NodePtr& n, bool v)
            {
                if (auto* cluster = ClusterNode(n))
                    cluster->SetLocked(v);
            });
        MakeField(
            fields[1], Number(Item::Entity_Visibility), "Modify %1 visible",
            [](const view::EntityPtr& e) { return e->isVisible(); },
            [](const view::EntityPtr& e, bool v) { e->setVisible(v); },
            [](const NodePtr& n, bool v)
            {
                if (auto* cluster = ClusterNode(n))
                    cluster->SetVisible(v);
            });
        MakeField(
            fields[2], Number(Item::Entity_Mute), "Modify %1 mute",
            [](const view::EntityPtr& e) { return e->isMuted(); },
            [](const view::EntityPtr& e, bool v)
            {
                if (e->isMuted() != v)
                    e->setMuted(v);
            },
            [](const NodePtr& n, bool v)
            {
                if (auto* cluster = ClusterNode(n); cluster && cluster->GetCluster())
                    cluster->SetMuted(v);
            });
        return fields;
    }();
    return table.data();
}

const FieldDescriptor<std::string>* SpeakerTabAdapter::GetTextFields()
{
    static const auto table = []
    {
        std::array<FieldDescriptor<std::string>, 3> fields;
        MakeField(
            fields[0], Number(Item::Entity_Name), "Modify %1 name",
            [](const view::EntityPtr& e) { return e->getName(); },
            [](const view::EntityPtr& e, std::string v) { e->setName(v); },
            [](const NodePtr& n, std::string v) { n->SetName(v); });
        MakeField(
            fields[1], Number(Item::Beam_Comments), "Modify %1 name",
            [](const view::EntityPtr& e) { return Array(e) ? Array(e)->UserNote() : std::string(); },
            [](const view::EntityPtr& e, std::string v)
            {
                if (auto* array = Array(e))
                    array->SetUserNote(v);
            },
            [](const NodePtr& n, std::string v)
            {
                if (auto* cluster = ClusterNode(n))
                    cluster->SetUserNote(v);
            });
        return fields;
    }();
    return table.data();
}

const IndexedFieldDescriptor<double>* SpeakerTabAdapter::GetBeamDoubleFields()
{
    static const auto table = []
    {
        std::array<IndexedFieldDescriptor<double>, 3> fields;
        const std::array<Item, 2> items = {Item::Beam_MainGain1, Item::Beam_MainGain2};
        for (std::uint32_t b = 0; b < 2; ++b)
            MakeField(
                fields[b], Number(items[b]), b, "Modify %1 gain",
                [](const view::EntityPtr& e, int i) { return Array(e) ? Array(e)->beam(i).gain() : 0.0; },
                [](const view::EntityPtr& e, int i, double v)
                {
                    if (auto* array = Array(e))
                    {
                        array->beam(i).setGain(v);
                        array->setDirty(true);
                    }
                },
                [](const NodePtr& n, int i, double v)
                {
                    if (auto* array = ArrayNode(n))
                        array->SetBeamGain(std::uint32_t(i), v);
                });
        return fields;
    }();
    return table.data();
}

const IndexedFieldDescriptor<bool>* SpeakerTabAdapter::GetBeamBoolFields()
{
    static const auto table = []
    {
        std::array<IndexedFieldDescriptor<bool>, 3> fields;
        const std::array<Item, 2> items = {Item::Beam_Smoothing1, Item::Beam_Smoothing2};
        for (std::uint32_t b = 0; b < 2; ++b)
            MakeField(
                fields[b], Number(items[b]), b, "Modify %1 smoothing",
                [](const view::EntityPtr& e, int i)
                { return Array(e) ? Array(e)->beam(i).smoothing() : false; },
                [](const view::EntityPtr& e, int i, bool v)
                {
                    if (auto* array = Array(e))
                    {
                        array->beam(i).setSmoothing(v);
                        array->setDirty(true);
                    }
                },
                [](const NodePtr& n, int i, bool v)
                {
                    if (auto* array = ArrayNode(n))
                        array->SetBeamSmoothing(std::uint32_t(i), v);
                });
        return fields;
    }();
    return table.data();
}

template <typename T>
void SpeakerTabAdapter::ProcessBeamValue(const NodePtr& node, std::uint32_t fieldId, T value, bool createUndo,
                                         const IndexedFieldDescriptor<T>* table,
                                         void (SpeakerTabAdapter::*reentry)(const NodePtr&, std::uint32_t, T,
                                                                            bool))
{
    if (table == nullptr)
    {
        LogError("Missing table in process generic value");
        return;
    }
    const view::EntityPtr entity = links.GetEntityForNode(node);
    if (!entity)
    {
        LogError("Mismatched entity in model adapter set value");
        return;
    }
    const IndexedFieldDescriptor<T>* field = FindField(table, fieldId);
    if (field == nullptr)
    {
        LogError("Unknown field id in process generic value");
        return;
    }
    const int beam = int(field->index);
    // A beam's value has no column in the entity list: the step only re-enters the applier.
    const QString text = field->undoText.arg(QString::fromStdString(node->GetName()), 0, QChar(' '));
    if (PushBeamStep(node, fieldId, createUndo, text,
                     [this, reentry, node, fieldId, value]
                     { (this->*reentry)(node, fieldId, value, false); }))
        return;
    field->entitySetter(entity, beam, value);
    field->nodeSetter(node, beam, value);
    // The node is what the engine and the file hold: the entity copies it back and the panel shows
    // it, once. Nothing the other tab draws depends on one beam's gain or smoothing, so no
    // entitiesChanged: that would rebuild every array there.
    const auto array = std::dynamic_pointer_cast<view::BeamSpeakerEntity>(entity);
    const auto arrayNode = std::dynamic_pointer_cast<BeamSpeakerClusterNode>(node);
    if (array && arrayNode)
    {
        view::BeamSpeakerEntity::SyncFromNode(arrayNode, array);
        UpdatePropertyPanel(entity);
    }
}

void SpeakerTabAdapter::ApplyBeamDoubleValue(const NodePtr& node, std::uint32_t fieldId, double value,
                                             bool createUndo)
{
    ProcessBeamValue(node, fieldId, value, createUndo, GetBeamDoubleFields(),
                     &SpeakerTabAdapter::ApplyBeamDoubleValue);
}

void SpeakerTabAdapter::ApplyBeamBoolValue(const NodePtr& node, std::uint32_t fieldId, bool value,
                                           bool createUndo)
{
    ProcessBeamValue(node, fieldId, value, createUndo, GetBeamBoolFields(),
                     &SpeakerTabAdapter::ApplyBeamBoolValue);
}

// ---------------------------------------------------------------- adorners and colours

view::EntityPtr SpeakerTabAdapter::CreateAdorner(view::Viewport& viewport, const view::EntityPtr& entity,
                                                 double extent, bool inSideView, std::uint32_t)
{
    if (!entity)
        return nullptr;
    view::EntityPtr adorner;
    if (dynamic_cast<view::QuadEntity*>(entity.get()) != nullptr)
        adorner = std::make_shared<view::ListenerPlaneAdorner>(&viewport, entity, extent);
    else
    {
        const bool selected = entity->isSelected();
        // The beam adorner needs a settled single selection: not during a rubber band.
        const bool single = GetSelectedCount() == 1 && !IsRubberBandRunning();
        if (selected && single)
            adorner = std::make_shared<view::BeamSpeakerAdornerEntity>(&viewport, entity, extent, inSideView,
                                                                       inSideView);
        else if (selected)
            adorner =
                std::make_shared<view::SpeakerAdornerEntity>(&viewport, entity, extent, inSideView, false);
        else
            adorner = std::make_shared<view::SpeakerLinesAdornerEntity>(&viewport, entity, extent, inSideView,
                                                                        false);
    }
    ApplyEntityColors(adorner);
    return adorner;
}

std::uint32_t SpeakerTabAdapter::GetAdornerKind(const view::EntityPtr& adorner)
{
    auto* base = dynamic_cast<view::AdornerEntity*>(adorner.get());
    if (base == nullptr)
        return 0;
    return dynamic_cast<view::QuadEntity*>(base->AdornedEntity().get()) != nullptr ? 2 : 1;
}

void SpeakerTabAdapter::ApplyEntityColors(const view::EntityPtr& entity)
{
    if (!entity)
        return;
    ModelAdapter::ApplyEntityColors(entity);
    view::BeamSpeakerEntity::ApplyTheme(entity, lightTheme);
    if (auto* beamAdorner = dynamic_cast<view::BeamSpeakerAdornerEntity*>(entity.get()))
    {
        beamAdorner->SpeakerAdornerEntity::SetColor(lightTheme ? QColor("#000000") : QColor("#FFFFFF"));
        beamAdorner->SetColor(lightTheme ? QColor("#b5b5b5") : QColor("#777777"));
        beamAdorner->SetOtherBeamColor(lightTheme ? QColor("#aaaaaa") : QColor("#777777"));
        entity->setDirty(true);
    }
    else if (auto* adorner = dynamic_cast<view::SpeakerAdornerEntity*>(entity.get()))
        adorner->SetColor(lightTheme ? QColor("#000000") : QColor("#FFFFFF"));
    else if (auto* lines = dynamic_cast<view::SpeakerLinesAdornerEntity*>(entity.get()))
        lines->SetColor(QColor("#777777"));
}

void SpeakerTabAdapter::OnThrowLinesChanged()
{
    for (const view::EntityPtr& adorner : links.AllAdorners())
        adorner->setDirty(true);
}

// ---------------------------------------------------------------- predicates

bool SpeakerTabAdapter::ConfirmSelection(const IdVector& oldIds, const IdVector&, bool userAction)
{
    // A press on the beam adorner in the side view keeps the array selected for the handle drag.
    if (!userAction || activeView == planView || oldIds.size() != 1)
        return true;
    const view::EntityPtr adorner = links.GetAdornerByEntityId(oldIds.front());
    return dynamic_cast<view::BeamSpeakerAdornerEntity*>(adorner.get()) == nullptr;
}

bool SpeakerTabAdapter::IsSelectable(const view::EntityPtr& entity)
{
    return Speaker(entity) != nullptr && entity->isVisible() && !entity->isLocked();
}

bool SpeakerTabAdapter::IsOwnNode(const NodePtr& node)
{
    return ArrayNode(node) != nullptr || dynamic_cast<QuadNode*>(node.get()) != nullptr;
}

bool SpeakerTabAdapter::IsFitRelevant(const view::EntityPtr& entity)
{
    if (!entity || !entity->isVisible())
        return false;
    return Speaker(entity) != nullptr || dynamic_cast<view::QuadEntity*>(entity.get()) != nullptr ||
           dynamic_cast<view::ListenerPlaneAdorner*>(entity.get()) != nullptr;
}

bool SpeakerTabAdapter::IsEntityAccepted(const view::EntityPtr& entity)
{
    return Speaker(entity) != nullptr;
}

bool SpeakerTabAdapter::IsFieldEditable(const NodePtr& node, std::uint32_t fieldId)
{
    if (const auto* array = ArrayNode(node))
        return !array->GetLocked() || fieldId == Number(Item::Entity_Lock);
    return dynamic_cast<QuadNode*>(node.get()) != nullptr;
}

bool SpeakerTabAdapter::MayPaste(const NodePtr& node)
{
    return ArrayNode(node) != nullptr;
}

bool SpeakerTabAdapter::MayMoveAcross(const view::EntityPtr& entity, std::uint64_t viewId)
{
    if (Speaker(entity) == nullptr)
        return false;
    return sideView == nullptr || sideView->GetId() != viewId;
}

math::Vec3 SpeakerTabAdapter::GetCentrePoint(const view::EntityPtr& entity)
{
    if (Speaker(entity) == nullptr)
        return {0, 0, 0};
    return math::TransformPoint(entity->getTransform(), {0, 0, 0});
}

view::EntityPtr SpeakerTabAdapter::CreateEntity(const NodePtr& node)
{
    if (ArrayNode(node) != nullptr)
    {
        view::EntityPtr entity = view::BeamSpeakerEntity::CreateFromNode(node);
        if (entity)
        {
            SetEntitySelected(entity, false, 1);
            ApplyEntityColors(entity);
            // The side view's title names the array it shows: a rename, or its undo, retitles it.
            connect(entity.get(), &view::Entity::nameChanged, this, [this] { UpdateViewTitles(sideView); });
        }
        return entity;
    }
    view::EntityPtr entity = SyncQuadEntity(node);
    if (auto* quad = dynamic_cast<view::QuadEntity*>(entity.get()))
        quad->SetTransparency(quad->GetTransparency() * 0.6);
    return entity;
}

bool SpeakerTabAdapter::IsNodeLocked(const NodePtr& node)
{
    const auto* array = ArrayNode(node);
    return array != nullptr && array->GetLocked();
}

void SpeakerTabAdapter::SetNodeLocked(const NodePtr& node, bool locked)
{
    if (auto* array = ArrayNode(node))
        array->SetLocked(locked);
}

void SpeakerTabAdapter::AddListRow(const NodePtr& node)
{
    const auto* array = ArrayNode(node);
    if (entityList == nullptr || array == nullptr)
        return;
    entityList->addEntity(node->GetId(), QString::fromStdString(array->GetName()), false, array->GetVisible(),
                          array->GetLocked(), QColor(), array->IsMuted());
}

NodePtr SpeakerTabAdapter::CreateNewNode()
{
    return AddSpeaker();
}

std::string SpeakerTabAdapter::GetItemName(const NodePtr& node)
{
    if (!node || ArrayNode(node) != nullptr)
        return kItemName;
    return ModelAdapter::GetItemName(node);
}

void SpeakerTabAdapter::GetSingleSelection(bool& single, LoudspeakerClusterNodePtr& node,
                                           view::EntityPtr& entity) const
{
    const IdVector ids = GetSelectedIds();
    single = ids.size() == 1;
    node.reset();
    entity.reset();
    if (!single)
        return;
    entity = links.GetEntityByNodeId(ids.front());
    node = std::dynamic_pointer_cast<LoudspeakerClusterNode>(links.GetNodeByEntityId(ids.front()));
}

void SpeakerTabAdapter::LimitDisplacementToVenue(const view::EntityPtr& entity,
                                                 math::Vec3& displacement) const
{
    const auto box = entity ? entity->BoundingBox() : std::nullopt;
    if (!box)
        return;
    const math::Vec3 lower = box->min + displacement;
    if (!IsPointWithinVenueLimits(lower))
        displacement = ClampToVenueLimits(lower) - box->min;
    const math::Vec3 upper = box->max + displacement;
    if (!IsPointWithinVenueLimits(upper))
        displacement = ClampToVenueLimits(upper) - box->max;
}

void SpeakerTabAdapter::MoveEntity(const view::EntityPtr& entity, const math::Vec3& offset, bool undoable,
                                   bool commit, std::uint32_t batchPosition)
{
    const NodePtr node = links.GetNodeForEntity(entity);
    if (ArrayNode(node) != nullptr)
        MoveSpeaker(node, offset, undoable, commit, batchPosition);
}
// ---------------------------------------------------------------- mouse

std::unique_ptr<view::MouseHandler> SpeakerTabAdapter::CreateMouseHandler(view::VenueView3D* view)
{
    if (view != nullptr && view == planView)
        return std::make_unique<view::SpeakerPlanMouseHandler>();
    if (view != nullptr && view == sideView)
        return std::make_unique<view::SpeakerSideMouseHandler>();
    return nullptr;
}

void SpeakerTabAdapter::HandleSelectionAction(const view::MouseAction& action)
{
    if (action.action != view::MouseActionCode::HandlePress || !action.hit)
        return;
    const view::EntityPtr hitEntity = action.hit->entity ? action.hit->entity : action.entity;
    auto* adorner = dynamic_cast<view::AdornerEntity*>(hitEntity.get());
    if (adorner == nullptr)
        return;
    const view::EntityPtr speaker = adorner->AdornedEntity();
    const NodePtr node = links.GetNodeForEntity(speaker);
    auto array = std::dynamic_pointer_cast<view::BeamSpeakerEntity>(speaker);
    if (!node || !array)
        return;
    const std::uint32_t part = action.hit->part;
    if (part >= view::HitPart::Beam1TopRear && part <= view::HitPart::Beam2BottomFront)
    {
        DragBeamHandle(FindViewById(action.tag), part,
                       std::dynamic_pointer_cast<view::BeamSpeakerAdornerEntity>(hitEntity), speaker, action);
        return;
    }
    if (part != view::HitPart::Beam1Outline && part != view::HitPart::Beam2Outline)
        return;
    const bool second = part == view::HitPart::Beam2Outline;
    SetPropertyValue(node, Number(Item::Beam_BeamSelection), second);
    array->SetSelectedBeam(second ? 1 : 0);
    array->setDirty(true);
}
} // namespace zorvpro
