#include "views/Render/ViewMouseSetup.h"

#include "views/Render/ScenePick.h"
#include "views/Render/VenueView3D.h"
#include "views/Render/Viewport.h"

#include <QPointer>
#include <cmath>

namespace zorvpro::view
{

void ZoomAbout(Viewport& viewport, double pixelsPerMeter, QPointF position)
{
    const int x = qRound(position.x());
    const int y = qRound(position.y());
    const math::Vec3 before = viewport.ScreenToRay(x, y).origin;
    viewport.setPixelsPerMeter(pixelsPerMeter);
    viewport.Pan(before - viewport.ScreenToRay(x, y).origin);
}

std::shared_ptr<MouseCallbacks> AttachMouseHandler(VenueView3D& view, MouseHandler& handler, uint64_t tag)
{
    QObject::connect(&view, &VenueView3D::mouseEvent, &handler, &MouseHandler::OnMouseEvent);
    handler.GetCursorOverride().SetWidget(&view);
    QPointer<VenueView3D> guarded(&view);
    auto callbacks = std::make_shared<MouseCallbacks>();
    callbacks->hitTest = [guarded](int x, int y) -> HitPointPtr
    { return guarded ? PickAt(guarded->GetEntities(), guarded->GetViewport(), x, y) : HitPointPtr(); };
    callbacks->zoomGetter = [guarded](const MouseEvent&)
    { return guarded ? guarded->GetViewport().pixelsPerMeter() : 50.0; };
    callbacks->zoomSetter = [guarded](double zoom, QPointF position)
    {
        if (guarded)
            ZoomAbout(guarded->GetViewport(), zoom, position);
    };
    handler.SetCallbacks(tag, callbacks);
    return callbacks;
}

} // namespace zorvpro::view
