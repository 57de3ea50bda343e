// The speaker tab's side of the property panel: values from the entity list, the beam panel, the
// tool bar and the SPL controls reach their edit here, and the panel is filled from the array.

#include "core/math/Matrix4.h"
#include "data/Project/ProjectDefinition.h"
#include "views/Adapters/Model/ViewMath.h"
#include "views/Adapters/Speaker/SpeakerTabAdapter.h"
#include "views/Common/BeamSpeakerItem.h"
#include "views/Common/PropertyName.h"
#include "views/GridControl/BindableProperty.h"
#include "views/Render/BeamSpeakerAdornerEntity.h"
#include "views/Render/BeamSpeakerEntity.h"
#include "views/Tabs/BaseComponents/EntitySelectionControl.h"

namespace zorvpro
{
namespace
{
using Item = BeamSpeakerItem;

std::uint32_t Number(Item item)
{
    return static_cast<std::uint32_t>(item);
}

QString Name(Item item)
{
    return toPropertyName(item);
}

math::Vec3 Origin(const math::Mat4& transform)
{
    return math::TransformPoint(transform, {0, 0, 0});
}
} // namespace

double SpeakerTabAdapter::HeightAlongAxis(const math::Mat4& transform, double z0, double dz)
{
    const math::Vec3 origin = Origin(transform);
    try
    {
        math::Vec3 local = math::TransformPoint(math::Inverse(transform), {origin.x, origin.y, z0});
        local.z += dz;
        return math::TransformPoint(transform, local).z;
    }
    catch (const std::domain_error&)
    {
        return z0 + dz;
    }
}

double SpeakerTabAdapter::GetArrayHeight() const
{
    BindableProperty* modules =
        entityList != nullptr ? entityList->findGridProperty(Name(Item::Beam_Modules)) : nullptr;
    if (modules == nullptr)
    {
        LogError("Unable to find property for Beam_Modules");
        return 0.0;
    }
    return modules->value().toInt() * kModuleLength;
}

bool SpeakerTabAdapter::entityValueChanged(Id id, const QString& itemName, std::uint32_t*,
                                           const QVariant& value)
{
    const NodePtr node = links.GetNodeByEntityId(id);
    auto* array = dynamic_cast<BeamSpeakerClusterNode*>(node.get());
    if (array == nullptr)
        return false;
    const std::uint32_t item = Number(beamSpeakerItemFromName(itemName));
    switch (static_cast<Item>(item))
    {
    case Item::Entity_Name:
    {
        const std::string name = value.toString().toStdString();
        if (name != array->GetName())
            ApplyNameValue(node, item, name, true);
        return true;
    }
    case Item::Entity_Visibility:
        ApplyVisibilityValue(node, item, value.toBool(), true);
        return true;
    case Item::Entity_Lock:
    case Item::Entity_Mute:
        ApplyBoolValue(node, item, value.toBool(), true);
        return true;
    case Item::Beam_Comments:
    {
        // The notes report their text on every focus loss: only a change is a step.
        const std::string note = value.toString().toStdString();
        if (note != array->GetUserNote())
            ApplyNameValue(node, item, note, true);
        return true;
    }
    case Item::Beam_Modules:
    case Item::Beam_TopPosition:
    case Item::Beam_CenterPosition:
    case Item::Beam_BottomPosition:
        ApplyModuleCountFromPanel(node, item);
        return true;
    case Item::Beam_Beams:
    {
        const int count = BeamCountFromName(value.toString());
        if (count > 0)
            ModifyBeamCount(node, std::uint32_t(count), true);
        return true;
    }
    case Item::Beam_PosX:
    case Item::Beam_PosY:
        ApplyPositionFromPanel(node);
        return true;
    case Item::Beam_YawPosition:
        ModifyYaw(node, value.toDouble(), true);
        return true;
    case Item::Beam_PitchPosition:
        // The panel shows the pitch with the opposite sign of the model.
        ModifyPitch(node, -value.toDouble(), true);
        return true;
    case Item::Beam_BeamSelection:
        if (auto entity = std::dynamic_pointer_cast<view::BeamSpeakerEntity>(links.GetEntityForNode(node)))
        {
            entity->SetSelectedBeam(value.toBool() ? 1 : 0);
            entity->setDirty(true);
        }
        return true;
    case Item::Cluster_Gain:
        ModifyGain(node, value.toDouble(), true);
        return true;
    case Item::Cluster_Delay:
        ApplyDoubleValue(node, item, value.toDouble(), true);
        return true;
    case Item::Beam_Manual1:
    case Item::Beam_Manual2:
    {
        const int algorithm = AlgorithmFromName(value.toString());
        if (algorithm >= 0)
            ModifyAlgorithm(node, item, algorithm, true);
        return true;
    }
    case Item::Beam_MainGain1:
    case Item::Beam_MainGain2:
        ApplyBeamDoubleValue(node, item, value.toDouble(), true);
        return true;
    case Item::Beam_TopRearDistance1:
    case Item::Beam_TopRearAngle1:
    case Item::Beam_BottomFrontDistance1:
    case Item::Beam_BottomFrontAngle1:
    case Item::Beam_TopRearDistance2:
    case Item::Beam_TopRearAngle2:
    case Item::Beam_BottomFrontDistance2:
    case Item::Beam_BottomFrontAngle2:
        ModifyThrowShapeFromPanel(node, item, value.toDouble());
        return true;
    case Item::Beam_SteeringAngle1:
    case Item::Beam_SteeringAngle2:
        ModifySteering(node, item == Number(Item::Beam_SteeringAngle1) ? 0 : 1, value.toDouble(), true);
        return true;
    case Item::Beam_SpreadingAngle1:
    case Item::Beam_SpreadingAngle2:
        ModifySpreading(node, item == Number(Item::Beam_SpreadingAngle1) ? 0 : 1, value.toDouble(), true);
        return true;
    case Item::Beam_Smoothing1:
    case Item::Beam_Smoothing2:
        ApplyBeamBoolValue(node, item, value.toBool(), true);
        return true;
    default:
        break;
    }
    LogError(QString("Unknown property %1 in speaker adapter").arg(static_cast<std::int32_t>(item)));
    return false;
}

void SpeakerTabAdapter::ModifyThrowShapeFromPanel(const NodePtr& node, std::uint32_t item, double value)
{
    auto* array = dynamic_cast<BeamSpeakerClusterNode*>(node.get());
    const bool second = item >= Number(Item::Beam_TopRearDistance2);
    const std::uint32_t beam = second ? 1 : 0;
    const std::uint32_t field =
        item - (second ? Number(Item::Beam_TopRearDistance2) : Number(Item::Beam_TopRearDistance1));
    double change[4] = {0, 0, 0, 0}; // top angle, top distance, bottom angle, bottom distance
    switch (field)
    {
    case 0:
        change[1] = value - array->GetBeamTopRearDistance(beam);
        break;
    case 1:
        change[0] = value - array->GetBeamTopRearAngle(beam);
        break;
    case 2:
        change[3] = value - array->GetBeamBottomFrontDistance(beam);
        break;
    default:
        change[2] = value - array->GetBeamBottomFrontAngle(beam);
        break;
    }
    if (NearlyEqual(change[0], 0) && NearlyEqual(change[1], 0) && NearlyEqual(change[2], 0) &&
        NearlyEqual(change[3], 0))
        return;
    ModifyBeamShape(node, int(beam), change[0], change[1], change[2], change[3], true, true);
}

bool SpeakerTabAdapter::entityFocusChanged(Id id, const QString& itemName, bool gained)
{
    const NodePtr node = links.GetNodeByEntityId(id);
    if (dynamic_cast<BeamSpeakerClusterNode*>(node.get()) == nullptr)
        return false;
    const view::EntityPtr entity = links.GetEntityForNode(node);
    if (dynamic_cast<view::BeamSpeakerEntity*>(entity.get()) == nullptr)
        return false;
    std::uint32_t item = gained ? Number(beamSpeakerItemFromName(itemName)) : 0;
    if (item == Number(kUnknownBeamSpeakerItem))
        item = 0;
    for (const view::EntityPtr& adorner : links.AllAdorners())
    {
        auto* beamAdorner = dynamic_cast<view::BeamSpeakerAdornerEntity*>(adorner.get());
        if (beamAdorner != nullptr && beamAdorner->AdornedEntity() == entity)
            beamAdorner->SetHighlightedItem(item);
    }
    return true;
}

void SpeakerTabAdapter::onPropertyEvent(BoundPropertyEvent event, const QString& name, const QVariant& value)
{
    if (event == BoundPropertyEvent::ValueChanged && name == Name(Item::Toolbar_ThrowLines))
        ProjectDefinition::Instance()->GetSettings()->setThrowLines(value.toBool());
    ModelAdapter::onPropertyEvent(event, name, value);
}

void SpeakerTabAdapter::UpdatePropertyPanel(const view::EntityPtr& entity)
{
    auto* array = dynamic_cast<view::BeamSpeakerEntity*>(entity.get());
    const NodePtr node = links.GetNodeForEntity(entity);
    if (array == nullptr || !node)
        return;
    auto push = [&](Item item, const QVariant& value) { SetPropertyValue(node, Number(item), value); };
    push(Item::Entity_Name, QString::fromStdString(array->getName()));
    push(Item::Entity_Transparency, array->isTransparent());
    push(Item::Entity_Visibility, array->isVisible());
    push(Item::Entity_Lock, array->isLocked());
    push(Item::Entity_Mute, array->isMuted());
    push(Item::Beam_Comments, QString::fromStdString(array->UserNote()));
    push(Item::Beam_Modules, array->NumModules());
    const QString beams = BeamCountName(array->NumBeams());
    if (!beams.isEmpty())
        push(Item::Beam_Beams, beams);
    const math::Mat4 transform = array->getTransform();
    const math::Vec3 top = Origin(transform);
    push(Item::Beam_PosX, top.x);
    push(Item::Beam_PosY, top.y);
    push(Item::Beam_TopPosition, top.z);
    const double height = GetArrayHeight();
    push(Item::Beam_CenterPosition, math::TransformPoint(transform, {0, 0, -height / 2}).z);
    push(Item::Beam_BottomPosition, math::TransformPoint(transform, {0, 0, -height}).z);
    push(Item::Beam_YawPosition, array->rotation());
    push(Item::Beam_PitchPosition, -array->pitch());
    push(Item::Cluster_Gain, array->Gain());
    push(Item::Cluster_Delay, array->Delay());
    struct BeamItems
    {
        Item bottomDistance, bottomAngle, topDistance, topAngle, steering, spreading, smoothing, gain,
            algorithm;
    };
    const BeamItems items[2] = {
        {Item::Beam_BottomFrontDistance1, Item::Beam_BottomFrontAngle1, Item::Beam_TopRearDistance1,
         Item::Beam_TopRearAngle1, Item::Beam_SteeringAngle1, Item::Beam_SpreadingAngle1,
         Item::Beam_Smoothing1, Item::Beam_MainGain1, Item::Beam_Manual1},
        {Item::Beam_BottomFrontDistance2, Item::Beam_BottomFrontAngle2, Item::Beam_TopRearDistance2,
         Item::Beam_TopRearAngle2, Item::Beam_SteeringAngle2, Item::Beam_SpreadingAngle2,
         Item::Beam_Smoothing2, Item::Beam_MainGain2, Item::Beam_Manual2}};
    for (int b = 0; b < 2; ++b)
    {
        const view::Beam& beam = array->beam(b);
        push(items[b].bottomDistance, beam.bottomFrontDistance());
        push(items[b].bottomAngle, beam.bottomFrontAngle());
        push(items[b].topDistance, beam.topRearDistance());
        push(items[b].topAngle, beam.topRearAngle());
        push(items[b].steering, beam.steering());
        push(items[b].spreading, beam.spreading());
        push(items[b].smoothing, beam.smoothing());
        push(items[b].gain, beam.gain());
    }
    for (int b = 0; b < 2; ++b)
    {
        const QString algorithm = AlgorithmName(int(array->beam(b).algorithm()));
        if (!algorithm.isEmpty())
            push(items[b].algorithm, algorithm);
    }
}

void SpeakerTabAdapter::ApplyPositionFromPanel(const NodePtr& node)
{
    BindableProperty* x = entityList ? entityList->findGridProperty(Name(Item::Beam_PosX)) : nullptr;
    BindableProperty* y = entityList ? entityList->findGridProperty(Name(Item::Beam_PosY)) : nullptr;
    BindableProperty* z = entityList ? entityList->findGridProperty(Name(Item::Beam_TopPosition)) : nullptr;
    if (x == nullptr || y == nullptr || z == nullptr)
    {
        LogError("Unable to get property");
        return;
    }
    const view::EntityPtr entity = links.GetEntityForNode(node);
    auto* physical = dynamic_cast<PhysicalNode*>(node.get());
    if (!entity || physical == nullptr)
        return;
    const math::Vec3 target(x->value().toDouble(), y->value().toDouble(), z->value().toDouble());
    MoveEntity(entity, target - Origin(physical->GetTransform()), true, true, kBatchOnly);
}

void SpeakerTabAdapter::ApplyModuleCountFromPanel(const NodePtr& node, std::uint32_t item)
{
    auto find = [this](Item i) { return entityList ? entityList->findGridProperty(Name(i)) : nullptr; };
    BindableProperty* modules = find(Item::Beam_Modules);
    BindableProperty* top = find(Item::Beam_TopPosition);
    BindableProperty* centre = find(Item::Beam_CenterPosition);
    BindableProperty* bottom = find(Item::Beam_BottomPosition);
    auto* physical = dynamic_cast<PhysicalNode*>(node.get());
    if (modules == nullptr || top == nullptr || centre == nullptr || bottom == nullptr)
    {
        LogError("Could not get property");
        return;
    }
    if (physical == nullptr)
        return;
    const int count = modules->value().toInt();
    const double height = count * kModuleLength;
    double newTop = top->value().toDouble();
    if (item == Number(Item::Beam_CenterPosition))
        newTop = HeightAlongAxis(physical->GetTransform(), centre->value().toDouble(), height / 2);
    else if (item == Number(Item::Beam_BottomPosition))
        newTop = HeightAlongAxis(physical->GetTransform(), bottom->value().toDouble(), height);
    BindableProperty* x = find(Item::Beam_PosX);
    BindableProperty* y = find(Item::Beam_PosY);
    const QVariant shownX = x != nullptr ? x->value() : QVariant();
    const QVariant shownY = y != nullptr ? y->value() : QVariant();
    top->setValue(newTop, false);
    if (count > 0)
        ModifyModuleCount(node, std::uint32_t(count), true);
    // The count's own panel refresh shows the old place: the place asked for goes back first.
    if (x != nullptr && y != nullptr)
    {
        x->setValue(shownX, false);
        y->setValue(shownY, false);
    }
    top->setValue(newTop, false);
    ApplyPositionFromPanel(node);
    UpdatePropertyPanel(links.GetEntityForNode(node));
}
} // namespace zorvpro
