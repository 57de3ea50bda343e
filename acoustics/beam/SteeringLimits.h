#pragma once

#include "acoustics/beam/Angle.h"

namespace zorvpro::acoustics
{

// Limits shared by the beam constraints and the editing side.
const Angle& MaxSteeringAngle();  // +20 degrees
const Angle& MinSteeringAngle();  // -20 degrees
const Angle& MinSpreadingAngle(); // 0

} // namespace zorvpro::acoustics
