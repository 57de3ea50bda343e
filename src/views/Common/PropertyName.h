#pragma once

#include "views/Common/BeamSpeakerItem.h"

#include <QString>

namespace zorvpro
{
// The key under which panels bind, and adapters push, the item's property.
QString toPropertyName(BeamSpeakerItem item);
} // namespace zorvpro
