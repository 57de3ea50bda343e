// The mouse set-up of one venue view, as the view's owner makes it: the view's mouse events
// reach the handler, the handler's cursors show over the view, and the handler hit-tests the
// view's entities and zooms the view about the pointer.
#pragma once

#include "views/Render/MouseHandler.h"

#include <QPointF>
#include <memory>

namespace zorvpro::view
{

class VenueView3D;
class Viewport;

// Sets the zoom (pixels per metre) and moves the view so that the world point under `position`
// (widget pixels) stays under it.
void ZoomAbout(Viewport& viewport, double pixelsPerMeter, QPointF position);

// Connects the handler to the view and gives it callbacks that live as long as either needs
// them; they do nothing once the view is gone.
std::shared_ptr<MouseCallbacks> AttachMouseHandler(VenueView3D& view, MouseHandler& handler, uint64_t tag);

} // namespace zorvpro::view
