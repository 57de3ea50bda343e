#include "acoustics/beam/BeamConstraintsSpiral.h"
#include "acoustics/beam/BeamSteerAsymImpl.h"
#include "acoustics/beam/BeamSteerSpiralImpl.h"
#include "acoustics/beam/BeamSteerSymImpl.h"
#include "acoustics/model/Environment.h"
#include "core/math/Compare.h"

namespace zorvpro::acoustics
{

void BeamSteerSymImpl::solve()
{
    SolveLock lock(*this);
    if (modules.empty())
        return;
    rebuildDriverTable();
    reReference(drivers, ReferenceMode::FirstDriver);
    if (constraints && math::IsZero(steeringAngle().radians()) && math::IsZero(spreadingAngle().radians()))
    {
        clearDelays(drivers);
    }
    else
    {
        computeSteeringDelays();
        reReference(drivers, ReferenceMode::Centre);
        computeCurvatureDelays(drivers, spreadingAngle(), getEffectiveSpreadAngle(),
                               Environment::instance().getInverseSpeedOfSound());
        computeTotalDelays(drivers);
    }
    reReference(drivers, ReferenceMode::Centre);
    computeShading(drivers, shadingOn());
    normaliseWeights(drivers);
    makeSpreadEqRequest();
    publishSolved();
}

void BeamSteerAsymImpl::solve()
{
    SolveLock lock(*this);
    if (modules.empty())
        return;
    rebuildDriverTable();
    reReference(drivers, ReferenceMode::FirstDriver);
    if (constraints && math::IsZero(steeringAngle().radians()))
    {
        clearDelays(drivers);
    }
    else
    {
        computeSteeringDelays();
        computeTotalDelays(drivers);
    }
    computeShading(drivers, shadingOn());
    normaliseWeights(drivers);
    publishSolved();
}

void BeamSteerSpiralImpl::computeAimGeometry()
{
    auto spiral = std::dynamic_pointer_cast<BeamConstraintsSpiral>(constraints);
    if (!spiral)
        return;
    SpiralPoints points;
    points.topAngle = spiral->getTopAngle().radians();
    points.bottomAngle = spiral->getBottomAngle().radians();
    points.topDistance = spiral->getTopDistance();
    points.bottomDistance = spiral->getBottomDistance();
    points.arrayLength = spiral->getArrayLength();
    const math::Vec3 top = spiral->getTopPoint();
    const math::Vec3 bottom = spiral->getBottomPoint();
    points.topX = top.x;
    points.topZ = top.z;
    points.bottomX = bottom.x;
    points.bottomZ = bottom.z;
    acoustics::computeAimGeometry(points, aim);
}

void BeamSteerSpiralImpl::solve()
{
    SolveLock lock(*this);
    if (modules.empty())
        return;
    rebuildDriverTable();
    reReference(drivers, ReferenceMode::Centre);
    computeAimGeometry();
    computeSpiralDelays(drivers, aim, Environment::instance().getInverseSpeedOfSound());
    computeTotalDelays(drivers);
    makeSpiralEqRequest(aim.incidentAngle, aim.openAngle);
    publishSolved();
}

math::Vec3 BeamSteerSpiralImpl::getTopAimPoint()
{
    SolveLock lock(*this);
    return {aim.topX, 0.0, aim.topZ};
}

math::Vec3 BeamSteerSpiralImpl::getBottomAimPoint()
{
    SolveLock lock(*this);
    return {aim.bottomX, 0.0, aim.bottomZ};
}

double BeamSteerSpiralImpl::getOpenAngle()
{
    SolveLock lock(*this);
    return aim.openAngle;
}

double BeamSteerSpiralImpl::getIncidentAngle()
{
    SolveLock lock(*this);
    return aim.incidentAngle;
}

} // namespace zorvpro::acoustics
