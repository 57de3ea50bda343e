#include "acoustics/beam/SteeringLimits.h"

namespace zorvpro::acoustics
{

const Angle& MaxSteeringAngle()
{
    static const Angle limit(0.3490658503988659);
    return limit;
}

const Angle& MinSteeringAngle()
{
    static const Angle limit(-0.3490658503988659);
    return limit;
}

const Angle& MinSpreadingAngle()
{
    static const Angle limit(0.0);
    return limit;
}

} // namespace zorvpro::acoustics
