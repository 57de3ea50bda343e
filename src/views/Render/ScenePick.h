#pragma once

#include "views/Render/Entity.h"

#include <list>

namespace zorvpro::view
{

class Viewport;

// What lies under a pixel of a view, as its mouse handler's hit test: an
// adorner's handles are drawn over everything, so they are asked first, the
// last drawn adorner first, and the first handle hit wins; otherwise the
// nearest hit of every entity (an adorner's frame counting as its entity), a
// visible one before any hidden one.
HitPointPtr PickAt(const std::list<EntityPtr>& entities, Viewport& viewport, int x, int y);

} // namespace zorvpro::view
