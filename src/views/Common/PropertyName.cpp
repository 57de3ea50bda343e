#include "views/Common/PropertyName.h"

namespace zorvpro
{
QString toPropertyName(BeamSpeakerItem item)
{
    return beamSpeakerItemName(item);
}
} // namespace zorvpro
