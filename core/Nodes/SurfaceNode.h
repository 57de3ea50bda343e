#pragma once

#include "core/Nodes/PhysicalNode.h"

namespace zorvpro
{

// Common base of the venue's surfaces.
class SurfaceNode : public PhysicalNode
{
protected:
    SurfaceNode() = default;
};

} // namespace zorvpro
