// The speaker side view follows the one selected speaker, and the tab's selection overrides.

#include "core/math/Matrix4.h"
#include "views/Adapters/Speaker/SpeakerTabAdapter.h"
#include "views/Common/BeamSpeakerItem.h"
#include "views/Render/BeamSpeakerEntity.h"
#include "views/Render/VenueView3D.h"

#include <cmath>

namespace zorvpro
{
namespace
{
constexpr double kTwoPi = 2.0 * M_PI;

double Normalised(double angle)
{
    return std::fmod(std::fmod(angle, kTwoPi) + kTwoPi, kTwoPi);
}

view::SpeakerEntity* Speaker(const view::EntityPtr& entity)
{
    return dynamic_cast<view::SpeakerEntity*>(entity.get());
}
} // namespace

void SpeakerTabAdapter::UpdateSpeakerSideView()
{
    if (loading || sideView == nullptr)
        return;
    bool single = false;
    LoudspeakerClusterNodePtr node;
    view::EntityPtr entity;
    GetSingleSelection(single, node, entity);
    if (!single || !node || !entity)
    {
        if (std::fabs(sideViewYaw) > 1e-7)
        {
            sideViewYaw = 0.0;
            sideView->GetCamera().LookAt({0, -5000, 0}, {0, 0, 0}, {0, 0, 1});
            sideView->GetViewport().UpdateProjection();
            ZoomViewToDefaultBox(sideView);
        }
        UpdateViewTitles(sideView);
        if (planView != nullptr)
            for (const view::EntityPtr& shown : planView->GetEntities())
                if (Speaker(shown) != nullptr && !sideView->HasEntity(shown))
                {
                    sideView->AddEntity(shown);
                    AddAdorner(sideView, shown, 1);
                }
        return;
    }
    const double yaw = node->GetYaw();
    sideViewYaw = yaw;
    const double normalised = Normalised(yaw);
    const bool facesAway = normalised - 1e-5 > M_PI / 2 && normalised + 1e-5 < 3 * M_PI / 2;
    double viewAngle = normalised - M_PI / 2;
    if (facesAway)
    {
        viewAngle += M_PI;
        sideViewYaw = Normalised(yaw + M_PI);
    }
    view::Camera& camera = sideView->GetCamera();
    const double distance = math::Length(math::TransformPoint(camera.ViewMatrix(), {0, 0, 0}));
    const math::Vec3 centre = math::TransformPoint(node->GetTransform(), {0, 0, -GetArrayHeight() / 2});
    camera.LookAtFromDirection({std::cos(viewAngle), std::sin(viewAngle), 0}, centre, {0, 0, 1}, distance);
    sideView->GetViewport().UpdateProjection();
    sideView->GetViewport().PanByFraction(facesAway ? -0.8 : 0.7, 0.0);
    UpdateViewTitles(sideView);
    if (!sideView->HasEntity(entity))
    {
        view::EntityPtr before;
        const auto shown = sideView->GetEntities();
        for (const view::EntityPtr& candidate : shown)
            if (candidate && candidate->GetId() == entity->GetId())
                before = candidate;
        if (before)
            sideView->InsertEntityBefore(entity, before);
        else
            sideView->AddEntity(entity);
    }
    // The others leave with their adorners: no throw lines of a speaker that is not shown.
    for (const view::EntityPtr& shown : sideView->GetEntities())
        if (Speaker(shown) != nullptr && shown->GetId() != entity->GetId())
        {
            RemoveAdorners(sideView, shown, kAllAdorners);
            sideView->RemoveEntity(shown);
        }
}

void SpeakerTabAdapter::SelectionApplied(const IdVector&, const IdVector&)
{
    UpdateSpeakerSideView();
    const IdVector ids = GetSelectedIds();
    if (ids.size() == 1)
        if (const view::EntityPtr entity = links.GetEntityByNodeId(ids.front()))
            ShowFirstBeam(entity, links.GetNodeForEntity(entity));
    if (speakerSpl != nullptr)
    {
        bool single = false;
        LoudspeakerClusterNodePtr node;
        view::EntityPtr entity;
        GetSingleSelection(single, node, entity);
        speakerSpl->SetActiveSpeaker(node);
    }
}

void SpeakerTabAdapter::SetEntitySelected(const view::EntityPtr& entity, bool selected, std::uint32_t)
{
    if (!entity)
        return;
    if (entity->isSelected() != selected)
        entity->setSelected(selected);
    // Every speaker carries an adorner: throw lines, the selection frame or the beam handles.
    for (view::VenueView3D* view : {planView, sideView})
    {
        if (view == nullptr)
            continue;
        RemoveAdorners(view, entity, kAllAdorners);
        AddAdorner(view, entity, 1);
    }
}

void SpeakerTabAdapter::ZoomToFit()
{
    ModelAdapter::ZoomToFit();
    if (GetSelectedCount() == 1)
        UpdateSpeakerSideView();
}

void SpeakerTabAdapter::CenterView(view::VenueView3D* view, const math::Vec3& point)
{
    if (GetSelectedCount() == 1 && view != planView)
        return;
    ModelAdapter::CenterView(view, point);
}

void SpeakerTabAdapter::SplEntityUpdate(bool side, bool add, view::EntityPtr entity)
{
    view::VenueView3D* view = side ? sideView : planView;
    if (view == nullptr || !entity)
        return;
    if (add)
        view->AddEntity(entity);
    else
        view->RemoveEntity(entity);
}
} // namespace zorvpro
