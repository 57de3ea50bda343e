// The speaker tab's undoable edits: each takes the node, finds its entity and typed node, and
// either pushes one step (undoable) or changes node and entity together (from the step).

#include "acoustics/beam/SteeringLimits.h"
#include "core/math/Matrix4.h"
#include "views/Adapters/Model/ViewMath.h"
#include "views/Adapters/Speaker/SpeakerDragState.h"
#include "views/Common/BeamSpeakerItem.h"
#include "views/Render/BeamSpeakerAdornerEntity.h"
#include "views/Render/BeamSpeakerEntity.h"
#include "views/Render/VenueView3D.h"

#include <algorithm>
#include <cmath>

namespace zorvpro
{
namespace
{
using Item = BeamSpeakerItem;

std::uint32_t Number(Item item)
{
    return static_cast<std::uint32_t>(item);
}

QString StepText(const char* format, const NodePtr& node)
{
    return QString(format).arg(QString::fromStdString(node->GetName()), 0, QChar(' '));
}

bool IsZero(double value)
{
    return NearlyEqual(value, 0.0);
}

struct Target
{
    view::BeamSpeakerEntityPtr entity;
    BeamSpeakerClusterNodePtr node;
    explicit operator bool() const { return entity && node; }
};
} // namespace

namespace
{
Target Find(const LinkIndex& links, const NodePtr& node)
{
    Target target;
    target.node = std::dynamic_pointer_cast<BeamSpeakerClusterNode>(node);
    target.entity = std::dynamic_pointer_cast<view::BeamSpeakerEntity>(links.GetEntityForNode(node));
    return target;
}
} // namespace

void SpeakerTabAdapter::FinishEdit(const view::EntityPtr& entity)
{
    entity->setDirty(true);
    UpdatePropertyPanel(entity);
}

void SpeakerTabAdapter::ModifySteering(const NodePtr& node, int beam, double angle, bool undoable)
{
    const Target t = Find(links, node);
    if (!t || !t.node->GetBeamConstraints(std::uint32_t(beam)))
        return;
    const double clamped =
        std::clamp(angle, acoustics::MinSteeringAngle().radians(), acoustics::MaxSteeringAngle().radians());
    const double current = t.entity->beam(beam).steering();
    if (NearlyEqual(current, clamped))
    {
        UpdatePropertyPanel(t.entity);
        return;
    }
    const std::uint32_t item = Number(beam != 0 ? Item::Beam_SteeringAngle2 : Item::Beam_SteeringAngle1);
    if (PushBeamStep(node, item, undoable, StepText("Modify %1 steering", node),
                     [this, node, beam, clamped] { ModifySteering(node, beam, clamped, false); }))
        return;
    t.node->SetBeamSteering(std::uint32_t(beam), clamped);
    view::BeamSpeakerEntity::SyncFromNode(t.node, t.entity);
    FinishEdit(t.entity);
}

void SpeakerTabAdapter::ModifySpreading(const NodePtr& node, int beam, double angle, bool undoable)
{
    const Target t = Find(links, node);
    const auto constraints = t ? t.node->GetBeamConstraints(std::uint32_t(beam)) : nullptr;
    if (!constraints)
        return;
    const double clamped = std::clamp(angle, acoustics::MinSpreadingAngle().radians(),
                                      constraints->getMaxSpreadingAngle().radians());
    const double current = t.entity->beam(beam).spreading();
    if (NearlyEqual(current, clamped))
    {
        UpdatePropertyPanel(t.entity);
        return;
    }
    const std::uint32_t item = Number(beam != 0 ? Item::Beam_SpreadingAngle2 : Item::Beam_SpreadingAngle1);
    if (PushBeamStep(node, item, undoable, StepText("Modify %1 spreading", node),
                     [this, node, beam, clamped] { ModifySpreading(node, beam, clamped, false); }))
        return;
    t.node->SetBeamSpreading(std::uint32_t(beam), clamped);
    view::BeamSpeakerEntity::SyncFromNode(t.node, t.entity);
    FinishEdit(t.entity);
}

void SpeakerTabAdapter::ModifyBeamCount(const NodePtr& node, std::uint32_t count, bool undoable)
{
    const Target t = Find(links, node);
    if (!t)
        return;
    const std::uint32_t current = std::uint32_t(t.entity->NumBeams());
    if (current == count)
    {
        UpdatePropertyPanel(t.entity);
        return;
    }
    if (PushBeamStep(node, Number(Item::Beam_Beams), undoable, StepText("Modify %1 beam count", node),
                     [this, node, count] { ModifyBeamCount(node, count, false); }))
        return;
    t.node->SetBeamCount(count);
    view::BeamSpeakerEntity::SyncFromNode(t.node, t.entity);
    UpdatePropertyPanel(t.entity);
    ShowFirstBeam(t.entity, node);
}

void SpeakerTabAdapter::ShowFirstBeam(const view::EntityPtr& entity, const NodePtr& node)
{
    auto* array = dynamic_cast<view::BeamSpeakerEntity*>(entity.get());
    if (array == nullptr)
        return;
    array->SetSelectedBeam(0);
    array->setDirty(true);
    if (node)
        SetPropertyValue(node, Number(Item::Beam_BeamSelection), false);
}

void SpeakerTabAdapter::ModifyModuleCount(const NodePtr& node, std::uint32_t count, bool undoable)
{
    const Target t = Find(links, node);
    if (!t)
        return;
    const std::uint32_t current = std::uint32_t(t.entity->NumModules());
    if (current == count)
    {
        UpdatePropertyPanel(t.entity);
        return;
    }
    if (PushBeamStep(node, Number(Item::Beam_Modules), undoable, StepText("Modify %1 module count", node),
                     [this, node, count] { ModifyModuleCount(node, count, false); }))
        return;
    SetModuleChildren(t.node, count);
    // The count shown is the one the node reached, so a failed allocation leaves both agreeing.
    view::BeamSpeakerEntity::SyncFromNode(t.node, t.entity);
    t.entity->SetNumModules(std::uint32_t(t.node->GetChildCount()));
    FinishEdit(t.entity);
    // The array's length changes the scene's bounds, and so the planes its maps lie in.
    if (splAdapter != nullptr)
        splAdapter->NodeChanged(ISplNodeListener::kChanged, node);
    emit entitiesChanged();
}

void SpeakerTabAdapter::ModifyAlgorithm(const NodePtr& node, std::uint32_t item, int choice, bool undoable)
{
    const Target t = Find(links, node);
    if (!t)
        return;
    const int beam = item == Number(Item::Beam_Manual1) ? 0 : 1;
    const int current = int(t.entity->beam(beam).algorithm());
    if (choice == current)
        return;
    if (PushBeamStep(node, item, undoable, StepText("Modify %1 algorithm", node),
                     [this, node, item, choice] { ModifyAlgorithm(node, item, choice, false); }))
        return;
    const bool known = choice >= 0 && choice <= int(view::Beam::AsymmetricSpiral);
    const std::uint32_t algorithm =
        view::ModelAlgorithmFromBeam(known ? view::Beam::Algorithm(choice) : view::Beam::SymmetricSpread);
    t.node->SetBeamAlgorithm(std::uint32_t(beam), algorithm);
    view::BeamSpeakerEntity::SyncFromNode(t.node, t.entity);
    FinishEdit(t.entity);
}

void SpeakerTabAdapter::ModifyPitch(const NodePtr& node, double angle, bool undoable)
{
    const Target t = Find(links, node);
    if (!t)
        return;
    const double current = t.entity->pitch();
    if (NearlyEqual(current, angle))
    {
        UpdatePropertyPanel(t.entity);
        return;
    }
    if (PushBeamStep(node, Number(Item::Beam_PitchPosition), undoable, StepText("Modify %1 pitch", node),
                     [this, node, angle] { ModifyPitch(node, angle, false); }))
        return;
    t.node->SetPitch(angle);
    view::BeamSpeakerEntity::SyncFromNode(t.node, t.entity);
    FinishEdit(t.entity);
    emit entitiesChanged();
}

void SpeakerTabAdapter::ModifyYaw(const NodePtr& node, double angle, bool undoable)
{
    const Target t = Find(links, node);
    if (!t)
        return;
    const double current = t.entity->rotation();
    if (NearlyEqual(current, angle))
    {
        UpdatePropertyPanel(t.entity);
        return;
    }
    if (PushBeamStep(node, Number(Item::Beam_YawPosition), undoable, StepText("Modify %1 yaw", node),
                     [this, node, angle] { ModifyYaw(node, angle, false); }))
        return;
    t.node->SetYaw(angle);
    view::BeamSpeakerEntity::SyncFromNode(t.node, t.entity);
    FinishEdit(t.entity);
    UpdateSpeakerSideView();
    if (speakerSpl != nullptr)
        speakerSpl->RefreshSpeaker(node);
    emit entitiesChanged();
}

void SpeakerTabAdapter::ModifyGain(const NodePtr& node, double gainDb, bool undoable)
{
    const Target t = Find(links, node);
    if (!t)
        return;
    const double current = t.node->GetGain();
    if (NearlyEqual(current, gainDb))
    {
        UpdatePropertyPanel(t.entity);
        return;
    }
    if (PushBeamStep(node, Number(Item::Cluster_Gain), undoable, StepText("Modify %1 gain", node),
                     [this, node, gainDb] { ModifyGain(node, gainDb, false); }))
        return;
    t.node->SetGain(gainDb);
    view::BeamSpeakerEntity::SyncFromNode(t.node, t.entity);
    FinishEdit(t.entity);
}

void SpeakerTabAdapter::SetSpeakersToMaxGain()
{
    std::vector<LoudspeakerClusterNodePtr> speakers;
    for (const std::uint64_t id : GetSelectedIds())
        if (auto node = std::dynamic_pointer_cast<LoudspeakerClusterNode>(links.GetNodeByEntityId(id)))
            speakers.push_back(node);
    double headroom = 1e10;
    for (const auto& speaker : speakers)
        headroom = std::min(headroom, speaker->GetGainHeadroom());
    // Everyone rises by the smallest headroom; none left means nothing to do, not an empty step.
    if (speakers.empty() || IsZero(headroom))
        return;
    const bool macro = speakers.size() > 1;
    if (macro)
        UndoStack::BeginMacro(tr("Set speakers to max gain"));
    for (const auto& speaker : speakers)
        ModifyGain(speaker, speaker->GetGain() + headroom, true);
    if (macro)
        UndoStack::EndMacro();
}

void SpeakerTabAdapter::ModifyBeamShape(const NodePtr& node, int beam, double topAngleChange,
                                        double topDistanceChange, double bottomAngleChange,
                                        double bottomDistanceChange, bool undoable, bool applyToNode)
{
    const Target t = Find(links, node);
    const auto constraints = t ? t.node->GetBeamConstraints(std::uint32_t(beam)) : nullptr;
    if (!constraints)
        return;
    view::Beam& record = t.entity->beam(beam);
    double topAngle = record.topRearAngle();
    double topDistance = record.topRearDistance();
    double bottomAngle = record.bottomFrontAngle();
    double bottomDistance = record.bottomFrontDistance();
    const bool topChanged = !IsZero(topAngleChange) || !IsZero(topDistanceChange);
    const bool bottomChanged = !IsZero(bottomAngleChange) || !IsZero(bottomDistanceChange);
    if (topChanged)
    {
        const double angle = std::clamp(topAngle + topAngleChange, constraints->getMinTopAngle().radians(),
                                        constraints->getMaxTopAngle().radians());
        const double distance =
            std::clamp(topDistance + topDistanceChange, constraints->getMinTopDistance(), 1000.0);
        topAngleChange = angle - topAngle;
        topDistanceChange = distance - topDistance;
    }
    if (bottomChanged)
    {
        double angle = std::clamp(bottomAngle + bottomAngleChange, constraints->getMinBottomAngle().radians(),
                                  constraints->getMaxBottomAngle().radians());
        double distance =
            std::clamp(bottomDistance + bottomDistanceChange, constraints->getMinBottomDistance(), 1000.0);
        if (record.algorithm() == view::Beam::AsymmetricSpiral)
            if (const auto spiral = t.node->GetBeamSpiralConstraints(std::uint32_t(beam));
                spiral && !spiral->isBottomPointAllowed(acoustics::Angle(angle), distance))
            {
                acoustics::Angle snapped(angle);
                spiral->snapToRegion(snapped, distance);
                angle = snapped.radians();
            }
        bottomAngleChange = angle - bottomAngle;
        bottomDistanceChange = distance - bottomDistance;
    }
    if (IsZero(topAngleChange) && IsZero(topDistanceChange) && IsZero(bottomAngleChange) &&
        IsZero(bottomDistanceChange))
    {
        UpdatePropertyPanel(t.entity);
        return;
    }
    topAngle += topAngleChange;
    topDistance += topDistanceChange;
    bottomAngle += bottomAngleChange;
    bottomDistance += bottomDistanceChange;
    // The spiral solve leaves the angles alone: they start from the beam's own.
    acoustics::Angle steering(record.steering());
    acoustics::Angle spreading(record.spreading());
    constraints->previewSteering(acoustics::Angle(topAngle), topDistance, acoustics::Angle(bottomAngle),
                                 steering, spreading);
    const double ta = topAngleChange, td = topDistanceChange, ba = bottomAngleChange,
                 bd = bottomDistanceChange;
    if (PushBeamStep(node, 0, undoable, StepText("Modify %1 beam shape", node),
                     [this, node, beam, ta, td, ba, bd]
                     { ModifyBeamShape(node, beam, ta, td, ba, bd, false, true); }))
        return;
    record.setTopRearAngle(topAngle);
    record.setTopRearDistance(topDistance);
    record.setBottomFrontAngle(bottomAngle);
    record.setBottomFrontDistance(bottomDistance);
    record.setSteering(steering.radians());
    record.setSpreading(spreading.radians());
    if (record.algorithm() == view::Beam::AsymmetricSpiral)
        view::BeamSpeakerEntity::SyncBeamBoundingArea(constraints, t.entity, beam);
    t.entity->setDirty(true);
    if (applyToNode)
    {
        if (topChanged)
            t.node->SetBeamTopRear(std::uint32_t(beam), topDistance, topAngle);
        if (bottomChanged)
            t.node->SetBeamBottomFront(std::uint32_t(beam), bottomDistance, bottomAngle);
        view::BeamSpeakerEntity::SyncFromNode(t.node, t.entity);
    }
    UpdatePropertyPanel(t.entity);
}

void SpeakerTabAdapter::MoveSpeaker(const NodePtr& node, math::Vec3 displacement, bool undoable,
                                    bool finalStep, std::uint32_t batchPosition)
{
    auto* physical = dynamic_cast<LoudspeakerClusterNode*>(node.get());
    const view::EntityPtr entity = links.GetEntityForNode(node);
    if (physical == nullptr || !entity || IsZero(math::Length(displacement)))
        return;
    LimitDisplacementToVenue(entity, displacement);
    if (finalStep)
    {
        const std::uint32_t swapped = SwappedBatchPosition(batchPosition);
        if (SetGenericValue(
                node, 0, undoable, StepText("Move %1", node),
                [this, node, displacement, batchPosition]
                { MoveSpeaker(node, displacement, false, true, batchPosition); },
                [this, node, displacement, swapped]
                { MoveSpeaker(node, -displacement, false, true, swapped); }))
            return;
    }
    physical->SetTransform(math::Mat4::Translation(displacement) * physical->GetTransform());
    if (auto array = std::dynamic_pointer_cast<view::BeamSpeakerEntity>(entity))
        view::BeamSpeakerEntity::SyncFromNode(std::static_pointer_cast<BeamSpeakerClusterNode>(node), array);
    else if (auto* speaker = dynamic_cast<view::SpeakerEntity*>(entity.get()))
        speaker->translateCenterPt(displacement);
    entity->setDirty(true);
    if (finalStep)
    {
        if (splAdapter != nullptr)
            splAdapter->NodeChanged(ISplNodeListener::kChanged, node);
        if (batchPosition == kBatchLast || batchPosition == kBatchOnly)
            emit entitiesChanged();
    }
    UpdatePropertyPanel(entity);
}

// ---------------------------------------------------------------- beam-handle drag

bool SpeakerTabAdapter::DragBeamHandle(view::VenueView3D* view, std::uint32_t part,
                                       const std::shared_ptr<view::BeamSpeakerAdornerEntity>& adorner,
                                       const view::EntityPtr& speaker, const view::MouseAction& press)
{
    auto entity = std::dynamic_pointer_cast<view::BeamSpeakerEntity>(speaker);
    const NodePtr node = links.GetNodeForEntity(speaker);
    if (view == nullptr || view != sideView || !adorner || !entity || !node || part < 11 || part > 14)
        return false;
    auto s = std::make_shared<DragState>();
    s->entity = entity;
    s->beam = part >= 13 ? 1 : 0;
    s->topRear = (part % 2) == 1;
    const view::Beam& record = entity->beam(s->beam);
    s->startAngle = s->topRear ? record.topRearAngle() : record.bottomFrontAngle();
    s->startDistance = s->topRear ? record.topRearDistance() : record.bottomFrontDistance();
    s->adorner = adorner;
    s->view = view;
    s->node = node;
    // The moves change the entity alone; the release turns the whole drag into one step.
    auto step = [this, s](const view::MouseAction& action)
    {
        if (s->entity->isLocked())
            return;
        const view::Beam& beam = s->entity->beam(s->beam);
        math::Mat4 inverse;
        try
        {
            inverse = math::Inverse(s->entity->getTransform());
        }
        catch (const std::domain_error&)
        {
            return;
        }
        const math::Vec3 pointer = math::TransformPoint(
            inverse, s->view->GetViewport().ScreenToRay(action.position.x(), action.position.y()).origin);
        const math::Vec3 anchor = math::TransformPoint(inverse, s->topRear ? s->adorner->TopRearAnchor()
                                                                           : s->adorner->BottomFrontAnchor());
        const double dx = pointer.x - anchor.x;
        const double dz = pointer.z - anchor.z;
        const double r2 = dx * dx + dz * dz;
        if (!(r2 > 0) || !(std::sqrt(r2) > 0))
            return;
        const double r = std::sqrt(r2);
        const double angle = double(std::asin(float(dz / r)));
        const double distance = dx < 0 ? 0.0 : r; // behind the anchor the end folds in
        if (s->topRear)
            ModifyBeamShape(s->node, s->beam, angle - beam.topRearAngle(), distance - beam.topRearDistance(),
                            0, 0, false, false);
        else
            ModifyBeamShape(s->node, s->beam, 0, 0, angle - beam.bottomFrontAngle(),
                            distance - beam.bottomFrontDistance(), false, false);
        UpdateViews();
        s->adorner->setDirty(true);
    };
    auto finish = [this, s](bool changed, const view::MouseAction&)
    {
        if (!changed)
            return;
        const view::Beam& beam = s->entity->beam(s->beam);
        const double angle = (s->topRear ? beam.topRearAngle() : beam.bottomFrontAngle()) - s->startAngle;
        const double distance =
            (s->topRear ? beam.topRearDistance() : beam.bottomFrontDistance()) - s->startDistance;
        const double ta = s->topRear ? angle : 0, td = s->topRear ? distance : 0;
        const double ba = s->topRear ? 0 : angle, bd = s->topRear ? 0 : distance;
        ModifyBeamShape(s->node, s->beam, -ta, -td, -ba, -bd, false, false);
        ModifyBeamShape(s->node, s->beam, ta, td, ba, bd, true, true);
    };
    BeginIterativeUndo(QString("Drag %1").arg(s->topRear ? "top/rear" : "bottom/front").toStdString(), press,
                       step, finish);
    return true;
}
} // namespace zorvpro
