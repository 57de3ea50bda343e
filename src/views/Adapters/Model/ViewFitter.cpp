#include "views/Adapters/Model/ViewFitter.h"

#include "views/Render/VenueView3D.h"

#include <QEvent>
#include <QResizeEvent>
#include <algorithm>
#include <cmath>

namespace zorvpro
{
namespace
{
double Dot(const math::Vec3& a, const math::Vec3& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// The extent of the box along a unit direction.
double Extent(const math::BBox& box, const math::Vec3& direction)
{
    const math::Vec3 size = box.max - box.min;
    return std::fabs(size.x * direction.x) + std::fabs(size.y * direction.y) +
           std::fabs(size.z * direction.z);
}
} // namespace

ViewFitter::ViewFitter(FittedCallback callback) : fitted(std::move(callback)) {}

void ViewFitter::ZoomToBox(view::VenueView3D* view, const math::BBox& box)
{
    if (view == nullptr)
        return;
    pending[view] = box;
    view->removeEventFilter(this);
    view->installEventFilter(this);
    if (view->isVisible() && view->width() > 0 && view->height() > 0)
        Fit(view, view->width(), view->height(), false);
}

void ViewFitter::ClearPending(view::VenueView3D* view)
{
    pending.erase(view);
}

void ViewFitter::Forget(view::VenueView3D* view)
{
    pending.erase(view);
    if (view != nullptr)
        view->removeEventFilter(this);
}

double ViewFitter::FitScale(view::VenueView3D* view, const math::BBox& box, int width, int height)
{
    view::Camera& camera = view->GetCamera();
    const double across = std::max(Extent(box, camera.Right()), 1e-9);
    const double up = std::max(Extent(box, camera.Up()), 1e-9);
    return std::min(width / across, height / up);
}

void ViewFitter::Fit(view::VenueView3D* view, int width, int height, bool deferred)
{
    const auto found = pending.find(view);
    if (found == pending.end() || width <= 0 || height <= 0)
        return;
    const math::BBox box = found->second;
    pending.erase(found);
    view::Camera& camera = view->GetCamera();
    const math::Vec3 centre = (box.min + box.max) * 0.5;
    const math::Vec3 offset = centre - camera.GetPosition();
    // Move in the view plane only: the camera keeps its distance along the viewing direction.
    const math::Vec3 right = camera.Right();
    const math::Vec3 upAxis = camera.Up();
    view->GetViewport().Pan(right * Dot(offset, right) + upAxis * Dot(offset, upAxis));
    if (fitted)
        fitted(view, FitScale(view, box, width, height), deferred);
}

bool ViewFitter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize)
    {
        auto* view = static_cast<view::VenueView3D*>(watched);
        const QSize size = static_cast<QResizeEvent*>(event)->size();
        if (pending.count(view) != 0)
            Fit(view, size.width(), size.height(), true);
    }
    return QObject::eventFilter(watched, event);
}
} // namespace zorvpro
