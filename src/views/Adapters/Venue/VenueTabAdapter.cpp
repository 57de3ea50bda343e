#include "views/Adapters/Venue/VenueTabAdapter.h"

#include "core/Nodes/QuadNode.h"
#include "core/math/Matrix4.h"
#include "data/Nodes/BeamSpeakerClusterNode.h"
#include "data/Project/ProjectDefinition.h"
#include "data/Project/ProjectSettings.h"
#include "data/Project/Venue.h"
#include "views/Adapters/Model/TreeWalk.h"
#include "views/Adapters/Model/ViewMath.h"
#include "views/Common/BeamSpeakerItem.h"
#include "views/Render/BeamSpeakerEntity.h"
#include "views/Render/ListenerPlaneAdorner.h"
#include "views/Render/QuadAdornerEntity.h"
#include "views/Render/QuadEntity.h"
#include "views/Render/SpeakerEntity.h"
#include "views/Render/VenueView3D.h"
#include "views/Tabs/BaseComponents/EntitySelectionControl.h"

#include <cmath>

namespace zorvpro
{
const char* const VenueTabAdapter::kItemName = "Surface";

namespace
{
using Item = BeamSpeakerItem;

std::uint32_t Number(Item item)
{
    return static_cast<std::uint32_t>(item);
}

// A new surface's depth and width: 15 m x 10 m, or 50 ft x 35 ft.
constexpr double kMetricDepth = 15.0;
constexpr double kMetricWidth = 10.0;
constexpr double kImperialDepth = 15.24;
constexpr double kImperialWidth = 10.668;

view::QuadEntity* Quad(const view::EntityPtr& entity)
{
    return dynamic_cast<view::QuadEntity*>(entity.get());
}

QuadNode* QuadOf(const NodePtr& node)
{
    return dynamic_cast<QuadNode*>(node.get());
}

math::Vec3 World(const view::EntityPtr& entity, const math::Vec3& local)
{
    return math::TransformPoint(entity->getTransform(), local);
}

NodePtr VenueRoot()
{
    Venue* venue = ProjectDefinition::Instance()->GetVenue();
    return venue != nullptr ? venue->GetRoot() : NodePtr();
}
} // namespace

VenueTabAdapter::VenueTabAdapter(EntitySelectionControl* entityList, QObject* parent)
    : ModelAdapter(entityList, parent)
{
    onZoomPairedChanged(ProjectSettings::VenueTab);
}

VenueTabAdapter::~VenueTabAdapter() = default;

// ---------------------------------------------------------------- field tables

const FieldDescriptor<int>* VenueTabAdapter::GetIntFields()
{
    static const FieldDescriptor<int> table[] = {FieldDescriptor<int>{}};
    return table;
}

const FieldDescriptor<double>* VenueTabAdapter::GetDoubleFields()
{
    static const auto table = []
    {
        std::array<FieldDescriptor<double>, 2> fields;
        MakeField(
            fields[0], Number(Item::Quad_ListenerHeight), "Modify %1 listener",
            [](const view::EntityPtr& e) { return Quad(e)->GetListenerHeight(); },
            [](const view::EntityPtr& e, double v)
            {
                if (NearlyEqual(Quad(e)->GetListenerHeight(), v))
                    return;
                Quad(e)->SetListenerHeight(v);
                e->setDirty(true);
            },
            [](const NodePtr& n, double v) { QuadOf(n)->SetListenerHeight(v); });
        return fields;
    }();
    return table.data();
}

const FieldDescriptor<bool>* VenueTabAdapter::GetBoolFields()
{
    static const auto table = []
    {
        std::array<FieldDescriptor<bool>, 5> fields;
        MakeField(
            fields[0], Number(Item::Quad_ListenerHeightEnabled), "Modify %1 listener height enabled",
            [](const view::EntityPtr& e) { return Quad(e)->IsListenerHeightEnabled(); },
            [](const view::EntityPtr& e, bool v)
            {
                if (Quad(e)->IsListenerHeightEnabled() == v)
                    return;
                Quad(e)->SetListenerHeightEnabled(v);
                e->setDirty(true);
            },
            [](const NodePtr& n, bool v) { QuadOf(n)->SetListenerHeightEnabled(v); });
        MakeField(
            fields[1], Number(Item::Entity_Lock), "Modify %1 lock",
            [](const view::EntityPtr& e) { return e->isLocked(); },
            [](const view::EntityPtr& e, bool v) { e->setLocked(v); },
            [](const NodePtr& n, bool v) { QuadOf(n)->SetLocked(v); });
        MakeField(
            fields[2], Number(Item::Entity_Visibility), "Modify %1 visible",
            [](const view::EntityPtr& e) { return e->isVisible(); },
            [](const view::EntityPtr& e, bool v) { e->setVisible(v); },
            [](const NodePtr& n, bool v) { QuadOf(n)->SetVisible(v); });
        MakeField(
            fields[3], Number(Item::Entity_Transparency), "Modify %1 transparent",
            [](const view::EntityPtr& e) { return e->isTransparent(); },
            [](const view::EntityPtr& e, bool v) { e->setTransparent(v); },
            [](const NodePtr& n, bool v) { QuadOf(n)->SetTransparent(v); });
        return fields;
    }();
    return table.data();
}

const FieldDescriptor<QColor>* VenueTabAdapter::GetColorFields()
{
    static const auto table = []
    {
        std::array<FieldDescriptor<QColor>, 2> fields;
        MakeField(
            fields[0], Number(Item::Entity_Color), "Modify %1 color",
            [](const view::EntityPtr& e) { return Quad(e)->GetColor(); },
            [](const view::EntityPtr& e, QColor v)
            {
                if (Quad(e)->GetColor() != v)
                    Quad(e)->SetColor(v);
            },
            [](const NodePtr& n, QColor v) { QuadOf(n)->SetColor(v); });
        return fields;
    }();
    return table.data();
}

const FieldDescriptor<std::string>* VenueTabAdapter::GetTextFields()
{
    static const auto table = []
    {
        std::array<FieldDescriptor<std::string>, 2> fields;
        MakeField(
            fields[0], Number(Item::Entity_Name), "Modify %1 name",
            [](const view::EntityPtr& e) { return e->getName(); },
            [](const view::EntityPtr& e, std::string v) { e->setName(v); },
            [](const NodePtr& n, std::string v) { n->SetName(v); });
        return fields;
    }();
    return table.data();
}

// ---------------------------------------------------------------- adorners

view::EntityPtr VenueTabAdapter::CreateAdorner(view::Viewport& viewport, const view::EntityPtr& entity,
                                               double extent, bool inSideView, std::uint32_t adornerKind)
{
    if (Quad(entity) == nullptr)
        return nullptr;
    view::EntityPtr adorner;
    if (adornerKind == 1)
        adorner = std::make_shared<view::QuadAdornerEntity>(&viewport, entity, extent, inSideView);
    else if (adornerKind == 2)
        adorner = std::make_shared<view::ListenerPlaneAdorner>(&viewport, entity, extent);
    if (adorner)
        ApplyEntityColors(adorner);
    return adorner;
}

std::uint32_t VenueTabAdapter::GetAdornerKind(const view::EntityPtr& adorner)
{
    if (dynamic_cast<view::ListenerPlaneAdorner*>(adorner.get()) != nullptr)
        return 2;
    if (dynamic_cast<view::QuadAdornerEntity*>(adorner.get()) != nullptr)
        return 1;
    return 0;
}

// ---------------------------------------------------------------- panel

double VenueTabAdapter::CornerWorldCoordinate(const view::EntityPtr& entity, std::uint32_t item)
{
    const view::QuadEntity* quad = Quad(entity);
    const std::uint32_t first = Number(Item::Quad_P1X);
    if (quad == nullptr || item < first || item > Number(Item::Quad_P4Z))
        return 0.0;
    const std::uint32_t corner = (item - first) / 3;
    const math::Vec3 world = World(entity, quad->GetCorners()[corner]);
    switch ((item - first) % 3)
    {
    case 0:
        return world.x;
    case 1:
        return world.y;
    default:
        return world.z;
    }
}

void VenueTabAdapter::UpdatePropertyPanel(const view::EntityPtr& entity)
{
    const view::QuadEntity* quad = Quad(entity);
    const NodePtr node = links.GetNodeForEntity(entity);
    if (quad == nullptr || QuadOf(node) == nullptr)
        return;
    for (std::uint32_t item = Number(Item::Quad_P1X); item <= Number(Item::Quad_P4Z); ++item)
        SetPropertyValue(node, item, CornerWorldCoordinate(entity, item));
    SetPropertyValue(node, Number(Item::Entity_Name), QString::fromStdString(entity->getName()));
    SetPropertyValue(node, Number(Item::Quad_Rotation), quad->GetRotation());
    SetPropertyValue(node, Number(Item::Quad_ListenerHeight), quad->GetListenerHeight());
    SetPropertyValue(node, Number(Item::Quad_ListenerHeightEnabled), quad->IsListenerHeightEnabled());
    const math::Vec3 p0 = World(entity, (quad->GetP1() + quad->GetP4()) * 0.5);
    SetPropertyValue(node, Number(Item::Quad_P0X), p0.x);
    SetPropertyValue(node, Number(Item::Quad_P0Y), p0.y);
    SetPropertyValue(node, Number(Item::Quad_P0Z), p0.z);
    SetPropertyValue(node, Number(Item::Quad_FrontWidth), math::Length(quad->GetP1() - quad->GetP4()));
    SetPropertyValue(node, Number(Item::Quad_BackWidth), math::Length(quad->GetP2() - quad->GetP3()));
    SetPropertyValue(node, Number(Item::Quad_BackHeight), quad->GetP3().z);
    SetPropertyValue(node, Number(Item::Quad_BackDepth), quad->GetP2().x - quad->GetP1().x);
}

// ---------------------------------------------------------------- predicates

bool VenueTabAdapter::IsSelectable(const view::EntityPtr& entity)
{
    return Quad(entity) != nullptr && entity->isVisible() && !entity->isLocked();
}

bool VenueTabAdapter::IsOwnNode(const NodePtr& node)
{
    return QuadOf(node) != nullptr || dynamic_cast<BeamSpeakerClusterNode*>(node.get()) != nullptr;
}

bool VenueTabAdapter::IsFitRelevant(const view::EntityPtr& entity)
{
    if (!entity || !entity->isVisible())
        return false;
    return Quad(entity) != nullptr || dynamic_cast<view::SpeakerEntity*>(entity.get()) != nullptr ||
           dynamic_cast<view::ListenerPlaneAdorner*>(entity.get()) != nullptr;
}

bool VenueTabAdapter::IsEntityAccepted(const view::EntityPtr& entity)
{
    return Quad(entity) != nullptr;
}

bool VenueTabAdapter::IsFieldEditable(const NodePtr& node, std::uint32_t fieldId)
{
    if (const QuadNode* quad = QuadOf(node))
        return !quad->GetLocked() || fieldId == Number(Item::Entity_Lock);
    return dynamic_cast<BeamSpeakerClusterNode*>(node.get()) != nullptr;
}

bool VenueTabAdapter::MayPaste(const NodePtr& node)
{
    return QuadOf(node) != nullptr;
}

math::Vec3 VenueTabAdapter::GetCentrePoint(const view::EntityPtr& entity)
{
    const view::QuadEntity* quad = Quad(entity);
    if (quad == nullptr)
        return {0, 0, 0};
    return World(entity, (quad->GetP1() + quad->GetP4()) * 0.5);
}

view::EntityPtr VenueTabAdapter::CreateEntity(const NodePtr& node)
{
    if (view::EntityPtr surface = SyncQuadEntity(node))
        return surface;
    // An array is shown read-only, in the theme's colours.
    view::EntityPtr array = view::BeamSpeakerEntity::CreateFromNode(node);
    if (array)
        ApplyEntityColors(array);
    return array;
}

bool VenueTabAdapter::IsNodeLocked(const NodePtr& node)
{
    const QuadNode* quad = QuadOf(node);
    return quad != nullptr && quad->GetLocked();
}

void VenueTabAdapter::SetNodeLocked(const NodePtr& node, bool locked)
{
    if (QuadNode* quad = QuadOf(node))
        quad->SetLocked(locked);
}

void VenueTabAdapter::AddListRow(const NodePtr& node)
{
    // The list holds surfaces only; arrays are shown in the views for context.
    const QuadNode* quad = QuadOf(node);
    if (entityList == nullptr || quad == nullptr)
        return;
    entityList->addEntity(node->GetId(), QString::fromStdString(quad->GetName()), quad->GetTransparent(),
                          quad->GetVisible(), quad->GetLocked(), quad->GetColor(), false);
}

NodePtr VenueTabAdapter::CreateNewNode()
{
    return AddQuad();
}

NodePtr VenueTabAdapter::AddQuad()
{
    if (planView == nullptr)
    {
        LogError("No plan view");
        return nullptr;
    }
    const math::Vec3 origin(0, 0, 0);
    const double earHeight = ProjectDefinition::Instance()->GetSettings()->getDefaultEarHeight();
    QuadNodePtr quad =
        QuadNode::Create("unnamed quad", origin, origin, origin, origin, QColor("#ff8632"), earHeight, 0.0);
    if (!quad)
    {
        LogError("Could not allocate quad");
        return nullptr;
    }
    const bool metric = IsMetricUnits();
    const double depth = metric ? kMetricDepth : kImperialDepth;
    const double halfWidth = (metric ? kMetricWidth : kImperialWidth) / 2.0;
    quad->SetP1({0, halfWidth, 0});
    quad->SetP2({depth, halfWidth, 0});
    quad->SetP3({depth, -halfWidth, 0});
    quad->SetP4({0, -halfWidth, 0});
    quad->SetTransparent(true);
    quad->SetName(MakeUniqueItemName());
    return quad;
}

void VenueTabAdapter::ApplyEntityColors(const view::EntityPtr& entity)
{
    ModelAdapter::ApplyEntityColors(entity);
    view::BeamSpeakerEntity::ApplyTheme(entity, lightTheme);
}

std::string VenueTabAdapter::GetItemName(const NodePtr& node)
{
    if (!node || QuadOf(node) != nullptr)
        return kItemName;
    return ModelAdapter::GetItemName(node);
}

// ---------------------------------------------------------------- entity list

bool VenueTabAdapter::entityValueChanged(Id id, const QString& itemName, std::uint32_t* valueKind,
                                         const QVariant& value)
{
    const NodePtr node = links.GetNodeByEntityId(id);
    QuadNode* quad = QuadOf(node);
    if (quad == nullptr)
        return false;
    const std::uint32_t item = Number(beamSpeakerItemFromName(itemName));
    // Senders differ in the kind they give a value: each item reads the type it needs.
    switch (static_cast<Item>(item))
    {
    case Item::Entity_Name:
    {
        const std::string name = value.toString().toStdString();
        if (name != quad->GetName())
            ApplyNameValue(node, item, name, true);
        return true;
    }
    case Item::Quad_ListenerHeight:
        ApplyListenerHeight(node, item, value.toDouble(), true);
        return true;
    case Item::Quad_ListenerHeightEnabled:
        ApplyListenerEnabled(node, item, value.toBool(), true);
        return true;
    case Item::Entity_Color:
        ApplyColorValue(node, item, value.canConvert<QColor>() ? value.value<QColor>() : QColor(), true);
        return true;
    case Item::Entity_Transparency:
    case Item::Entity_Lock:
        ApplyBoolValue(node, item, value.toBool(), true);
        return true;
    case Item::Entity_Visibility:
        ApplyVisibilityValue(node, item, value.toBool(), true);
        return true;
    default:
        break;
    }
    if (item == Number(Item::Quad_Rotation))
    {
        RotateQuad(node, value.toDouble() - quad->GetRotationZ(), true, true);
        return true;
    }
    if (item >= Number(Item::Quad_P0X) && item <= Number(Item::Quad_P4Z) &&
        item != Number(Item::Quad_ListenerHeightEnabled))
    {
        ModifyShape(node, item, value.toDouble(), true);
        return true;
    }
    if (valueKind != nullptr && *valueKind == 3)
    {
        // No surface property is an int: the generic path reports the unknown field.
        ProcessGenericValue(node, item, value.toInt(), true, GetIntFields(), &VenueTabAdapter::ApplyIntValue);
        return true;
    }
    LogError(QString("Unknown property %1 in quad adapter").arg(item));
    return false;
}

void VenueTabAdapter::ApplyListenerHeight(const NodePtr& node, std::uint32_t fieldId, double value,
                                          bool createUndo)
{
    const QuadNode* quad = QuadOf(node);
    const double before = quad != nullptr ? quad->GetListenerHeight() : 0.0;
    ProcessGenericValue(node, fieldId, value, createUndo, GetDoubleFields(),
                        &VenueTabAdapter::ApplyListenerHeight);
    // The first application, its redo and its undo all come back here without an undo step; an
    // equal value moves nothing and costs no new cut.
    if (!createUndo && quad != nullptr && !NearlyEqual(before, quad->GetListenerHeight()) &&
        splAdapter != nullptr)
        splAdapter->NodeChanged(ISplNodeListener::kChanged, node);
}

void VenueTabAdapter::ApplyListenerEnabled(const NodePtr& node, std::uint32_t fieldId, bool value,
                                           bool createUndo)
{
    const QuadNode* quad = QuadOf(node);
    const bool before = quad != nullptr && quad->GetListenerHeightEnabled();
    ProcessGenericValue(node, fieldId, value, createUndo, GetBoolFields(),
                        &VenueTabAdapter::ApplyListenerEnabled);
    if (!createUndo && quad != nullptr && before != quad->GetListenerHeightEnabled() && splAdapter != nullptr)
        splAdapter->NodeChanged(ISplNodeListener::kChanged, node);
}

void VenueTabAdapter::ApplyIntValue(const NodePtr& node, std::uint32_t fieldId, int value, bool createUndo)
{
    ProcessGenericValue(node, fieldId, value, createUndo, GetIntFields(), &VenueTabAdapter::ApplyIntValue);
}

bool VenueTabAdapter::entityFocusChanged(Id id, const QString& itemName, bool gained)
{
    const NodePtr node = links.GetNodeByEntityId(id);
    const view::EntityPtr entity = links.GetEntityForNode(node);
    if (!entity)
        return false;
    const std::uint32_t item = gained ? Number(beamSpeakerItemFromName(itemName)) : 0;
    for (const view::EntityPtr& adorner : links.EntryOf(entity->GetId()).adorners)
        if (auto* handles = dynamic_cast<view::QuadAdornerEntity*>(adorner.get()))
            handles->SetHighlightedItem(item == Number(kUnknownBeamSpeakerItem) ? 0 : item);
    return true;
}

// ---------------------------------------------------------------- arrays

void VenueTabAdapter::handleSpeakersChanged()
{
    const bool wasLoading = loading;
    loading = true;
    std::vector<NodePtr> arrays;
    for (const NodePtr& node : links.AllNodes())
        if (dynamic_cast<BeamSpeakerClusterNode*>(node.get()) != nullptr)
            arrays.push_back(node);
    for (const NodePtr& node : arrays)
        DetachNode(node);
    const NodePtr root = VenueRoot();
    if (!root)
        LogError("Missing root node in load venue");
    else
        VisitPreOrder(root,
                      [this](const NodePtr& node)
                      {
                          if (dynamic_cast<BeamSpeakerClusterNode*>(node.get()) != nullptr)
                              AddNode(node, false, false, false, kBatchOnly);
                      });
    loading = wasLoading;
}
} // namespace zorvpro
