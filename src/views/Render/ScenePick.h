#pragma once

#include "views/Render/Entity.h"

#include <list>

namespace zorvpro::view
{

class Viewport;

// What lies under a pixel of a view, as its mouse handler's hit test: an
// adorner's handles are drawn over everything, so adorners are asked first,
// the last drawn first, and the first one hit wins; otherwise the nearest hit
// of the other entities, a visible one before any hidden one.
HitPointPtr PickAt(const std::list<EntityPtr>& entities, Viewport& viewport, int x, int y);

} // namespace zorvpro::view
