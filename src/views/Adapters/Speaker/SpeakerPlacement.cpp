// New arrays, the medial plane of a speaker's side-view map, and loading the venue into the tab.

#include "acoustics/cluster/LoudspeakerCluster.h"
#include "acoustics/engine/IZorvAcoustics.h"
#include "core/Base/ApplicationSeam.h"
#include "core/Nodes/NodeIterators.h"
#include "core/Nodes/QuadNode.h"
#include "core/math/Matrix4.h"
#include "data/Nodes/LoudspeakerNode.h"
#include "data/Project/ProjectDefinition.h"
#include "data/Project/Venue.h"
#include "views/Adapters/Speaker/SpeakerTabAdapter.h"
#include "views/Common/BeamSpeakerItem.h"
#include "views/Common/PropertyName.h"

#include <QPointer>
#include <algorithm>
#include <cmath>
#include <limits>

namespace zorvpro
{
namespace
{
constexpr double kPlaneHeadroom = 3.0;
constexpr double kMinimumWidth = 15.0;
constexpr double kMinimumHeight = 5.0;
constexpr double kDegenerate = 1e-6;

double Extent(const math::Vec3& v)
{
    const double squared = v.x * v.x + v.y * v.y + v.z * v.z;
    return squared < 25.0 * std::numeric_limits<double>::epsilon() ? 0.0 : std::sqrt(squared);
}

math::Vec3 RotateZ(const math::Vec3& v, double angle)
{
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    return {c * v.x - s * v.y, s * v.x + c * v.y, v.z};
}
} // namespace

NodePtr SpeakerTabAdapter::AddSpeaker()
{
    if (planView == nullptr)
    {
        LogError("No plan view");
        return nullptr;
    }
    EnsureUserLoudspeakersLoaded();
    const LoudspeakerNodePtr module = CreateLoudspeakerNode(kModelName);
    if (!module)
    {
        LogError("Could not allocate speaker");
        return nullptr;
    }
    const BeamSpeakerClusterNodePtr array =
        BeamSpeakerClusterNode::Create(acoustics::createLoudspeakerCluster());
    if (!array)
    {
        LogError("Could not allocate speaker cluster");
        return nullptr;
    }
    // The engine learns of the cluster when the node joins the venue tree, not here: adding it
    // twice would leave a registration behind after undo or delete.
    array->AddChild(module);
    array->SetName(MakeUniqueItemName());
    return array;
}

void SpeakerTabAdapter::GetMedialPlane(LoudspeakerClusterNodePtr speaker, math::Vec3& p1, math::Vec3& p2,
                                       math::Vec3& p3, math::Vec3& p4)
{
    const math::BBox box = GetSceneBounds(false);
    const double top = box.max.z + kPlaneHeadroom;
    if (!speaker)
    {
        p1 = {box.max.x, 0, box.min.z};
        p2 = {box.max.x, 0, top};
        p3 = {box.min.x, 0, top};
        p4 = {box.min.x, 0, box.min.z};
    }
    else
    {
        const math::Vec3 position = math::TransformPoint(speaker->GetTransform(), {0, 0, 0});
        const double yaw = speaker->GetYaw();
        auto toSpeaker = [&](const math::Vec3& p) { return RotateZ(p - position, -yaw); };
        const math::Vec3 footprint[4] = {
            toSpeaker({box.min.x, box.min.y, 0}), toSpeaker({box.min.x, box.max.y, 0}),
            toSpeaker({box.max.x, box.max.y, 0}), toSpeaker({box.max.x, box.min.y, 0})};
        double u0 = footprint[0].x;
        double u1 = footprint[0].x;
        for (const math::Vec3& corner : footprint)
        {
            u0 = std::min(u0, corner.x);
            u1 = std::max(u1, corner.x);
        }
        const math::Vec3 base(position.x, position.y, 0);
        p1 = RotateZ({u1, 0, box.min.z}, yaw) + base;
        p2 = RotateZ({u1, 0, top}, yaw) + base;
        p3 = RotateZ({u0, 0, top}, yaw) + base;
        p4 = RotateZ({u0, 0, box.min.z}, yaw) + base;
    }
    EnsureMinimumSplBox(speaker, p1, p2, p3, p4);
}

std::function<SpeakerTabAdapter::Corners(const LoudspeakerClusterNodePtr&)>
SpeakerTabAdapter::MedialPlaneProvider()
{
    QPointer<SpeakerTabAdapter> self(this);
    return [self](const LoudspeakerClusterNodePtr& speaker)
    {
        Corners corners{};
        if (self)
            self->GetMedialPlane(speaker, corners[0], corners[1], corners[2], corners[3]);
        return corners;
    };
}

void SpeakerTabAdapter::EnsureMinimumSplBox(const LoudspeakerClusterNodePtr&, math::Vec3& p1, math::Vec3& p2,
                                            math::Vec3& p3, math::Vec3& p4)
{
    const double width = Extent(p1 - p4);
    const double height = Extent(p1 - p2);
    if (width < kDegenerate || height < kDegenerate)
    {
        LogError("Width or height too small in EnsureMinimumSplBox");
        return;
    }
    if (width < kMinimumWidth)
    {
        const double grow = (kMinimumWidth - width) / width;
        const math::Vec3 bottom = (p1 - p4) * grow;
        const math::Vec3 upper = (p2 - p3) * grow;
        p1 = p1 + bottom;
        p4 = p4 - bottom;
        p2 = p2 + upper;
        p3 = p3 - upper;
    }
    if (height < kMinimumHeight)
    {
        const math::Vec3 raise = (p2 - p1) * ((kMinimumHeight - height) / height);
        p2 = p2 + raise;
        p3 = p3 + raise;
    }
}

void SpeakerTabAdapter::RemoveSurfaceEntities()
{
    std::vector<NodePtr> surfaces;
    for (const NodePtr& node : links.AllNodes())
        if (dynamic_cast<QuadNode*>(node.get()) != nullptr)
            surfaces.push_back(node);
    for (const NodePtr& node : surfaces)
        DetachNode(node);
}

void SpeakerTabAdapter::handleSurfacesChanged()
{
    const bool wasLoading = loading;
    loading = true;
    RemoveSurfaceEntities();
    Venue* venue = ProjectDefinition::Instance()->GetVenue();
    const NodePtr root = venue != nullptr ? venue->GetRoot() : NodePtr();
    if (!root)
        LogError("Missing root node in load venue");
    else
        for (auto it = TreeIter::Begin(root); it != TreeIter::End(); ++it)
            if (dynamic_cast<QuadNode*>((*it).get()) != nullptr)
                AddNode(*it, false, false, true, kBatchOnly);
    loading = wasLoading;
}

void SpeakerTabAdapter::LoadVenue()
{
    ProjectSettings* settings = ProjectDefinition::Instance()->GetSettings();
    const bool throwLines = settings->getThrowLines();
    const bool showMaps = settings->getSplVisibility();
    const bool autoCalculate = settings->getAutoCalculate();
    UpdateToolbarProperty(toPropertyName(BeamSpeakerItem::Toolbar_ThrowLines), QVariant(throwLines));
    UpdateToolbarProperty(toPropertyName(BeamSpeakerItem::Spl_ShowSplMap), QVariant(showMaps));
    UpdateToolbarProperty(toPropertyName(BeamSpeakerItem::Spl_AutoCalculate), QVariant(autoCalculate));
    if (const auto engine = CurrentAcousticsEngine())
        engine->setCalculationEnabled(autoCalculate);
    ModelAdapter::LoadVenue();
    if (speakerSpl != nullptr)
        speakerSpl->UpdateSplMaps(false);
}
} // namespace zorvpro
