#include "acoustics/beam/BeamConstraintsSpiralImpl.h"

#include "acoustics/beam/SteeringLimits.h"
#include "core/math/Compare.h"
#include "core/math/Intersections.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace zorvpro::acoustics
{

namespace
{
constexpr double kTopLimitOneModule = 0.2617993877991494; // 15 degrees
constexpr double kBottomLimit = -0.8726646259971648;      // -50 degrees

constexpr double kVerticalEdgeTolerance = 0.0001;

double Slope(const math::Vec3& p)
{
    return (p.x == 0.0 || p.y == 0.0) ? 0.0 : p.y / p.x;
}

// Planar length; 0 when its square counts as zero.
double PlaneLength(double dx, double dy)
{
    const double square = dx * dx + dy * dy;
    return square < math::kZeroTolerance ? 0.0 : std::sqrt(square);
}
} // namespace

Angle BeamConstraintsSpiralImpl::getMaxTopAngle()
{
    Lock lock(mutex);
    return moduleCount == 1 ? Angle(kTopLimitOneModule) : MaxSteeringAngle();
}

Angle BeamConstraintsSpiralImpl::getMinTopAngle()
{
    Lock lock(mutex);
    return MinSteeringAngle();
}

Angle BeamConstraintsSpiralImpl::getMaxBottomAngle()
{
    Lock lock(mutex);
    const double t = topAngle.radians();
    const double run = topDistance * std::cos(t);
    return Angle(run == 0.0 ? 0.0 : std::atan((getArrayLength() + topDistance * std::sin(t)) / run));
}

Angle BeamConstraintsSpiralImpl::getMinBottomAngle()
{
    Lock lock(mutex);
    return Angle(kBottomLimit);
}

void BeamConstraintsSpiralImpl::computeGuidePoints(Angle top, double d, math::Vec3& guide5,
                                                   math::Vec3& guide4, math::Vec3& guide1, math::Vec3& guide2,
                                                   math::Vec3& guide3)
{
    Lock lock(mutex);
    const double t = top.radians();
    const double x = std::cos(t) * d;
    double f = 0.35;
    double k = -0.25;
    if (moduleCount == 2)
    {
        f = 0.375;
        k = -0.26;
    }
    else if (moduleCount == 1)
    {
        k = -0.21;
    }
    guide1 = {x, d * std::sin(t) + getArrayLength(), 0.0};
    guide2 = {x, -std::tan(MaxSteeringAngle().radians()) * x, 0.0};
    guide3 = {std::max(kMinPointReach, f * x), k * x, 0.0};
    // Slopes are taken from guide point 0, which stays at the origin.
    guide4 = {kMinPointReach, kMinPointReach * Slope(guide1 - guides[0]), 0.0};
    guide5 = {kMinPointReach, kMinPointReach * Slope(guide3 - guides[0]), 0.0};
}

bool BeamConstraintsSpiralImpl::isInsideRegion(const math::Vec3& p)
{
    Lock lock(mutex);
    const std::array<math::Vec3, 5> polygon{guides[5], guides[4], guides[1], guides[2], guides[3]};
    const size_t n = polygon.size();

    bool inside = false;
    for (size_t i = 0, j = n - 1; i < n; j = i++)
    {
        const math::Vec3& cur = polygon[i];
        const math::Vec3& prev = polygon[j];
        const bool spans = (p.y > cur.y && p.y <= prev.y) || (p.y > prev.y && p.y <= cur.y);
        if (spans && p.x > cur.x + (p.y - cur.y) / (prev.y - cur.y) * (prev.x - cur.x))
            inside = !inside;
    }
    if (inside)
        return true;

    for (size_t i = 0; i < n; ++i)
    {
        const math::Vec3& a = polygon[i];
        const math::Vec3& b = polygon[(i + 1) % n];
        if (a.x == b.x)
        {
            const bool between = (p.y > a.y && p.y < b.y) || (p.y > b.y && p.y < a.y);
            if (std::fabs(p.x - a.x) < kVerticalEdgeTolerance && between)
                return true;
        }
        else if (PlaneLength(p.x - a.x, p.y - a.y) + PlaneLength(p.x - b.x, p.y - b.y) ==
                 PlaneLength(b.x - a.x, b.y - a.y))
        {
            return true;
        }
    }
    return false;
}

bool BeamConstraintsSpiralImpl::isBottomPointAllowed(Angle angle, double distance)
{
    Lock lock(mutex);
    const double a = angle.radians();
    return isInsideRegion({std::cos(a) * distance, std::sin(a) * distance, 0.0});
}

void BeamConstraintsSpiralImpl::snapToRegion(Angle& angle, double& distance)
{
    Lock lock(mutex);
    const double a = angle.radians();
    const math::Vec3 p{std::cos(a) * distance, std::sin(a) * distance, 0.0};
    const std::array<std::pair<size_t, size_t>, 5> edges{{{4, 1}, {1, 2}, {2, 3}, {3, 5}, {5, 4}}};

    double best = DBL_MAX;
    math::Vec3 nearest;
    for (const auto& [from, to] : edges)
    {
        math::Vec3 onEdge;
        const double gap = math::SegmentSegmentDistance(p, p, guides[from], guides[to], nullptr, &onEdge);
        if (gap <= best) // on a tie the later edge wins
        {
            best = gap;
            nearest = onEdge;
        }
    }
    distance = std::sqrt(nearest.x * nearest.x + nearest.y * nearest.y);
    if (distance > 0.0)
        angle = Angle(std::asin(nearest.y / distance));
}

bool BeamConstraintsSpiralImpl::snapIfOutside(Angle& angle, double& distance)
{
    // A point that is not on the plane is refused by the setters, not snapped.
    if (std::isnan(angle.radians()) || !std::isfinite(distance))
        return false;
    if (isBottomPointAllowed(angle, distance))
        return false;
    snapToRegion(angle, distance);
    return true;
}

void BeamConstraintsSpiralImpl::applyPointsToSteering()
{
    Lock lock(mutex);
    computeGuidePoints(topAngle, topDistance, guides[5], guides[4], guides[1], guides[2], guides[3]);
    snapIfOutside(bottomAngle, bottomDistance);
}

bool BeamConstraintsSpiralImpl::setModuleCount(uint32_t count)
{
    Lock lock(mutex);
    ChangeScope scope(*this);
    const bool taken = BeamConstraintsImpl::setModuleCount(count);
    // The region depends on the module count even when the count was refused.
    applyPointsToSteering();
    scope.finish();
    return taken;
}

void BeamConstraintsSpiralImpl::restoreValues(Angle steering, Angle spreading, Angle top, double topDist,
                                              Angle bottom, double bottomDist, bool shading)
{
    Lock lock(mutex);
    ChangeScope scope(*this);
    BeamConstraintsImpl::restoreValues(steering, spreading, top, topDist, bottom, bottomDist, shading);
    computeGuidePoints(topAngle, topDistance, guides[5], guides[4], guides[1], guides[2], guides[3]);
    scope.finish();
}

bool BeamConstraintsSpiralImpl::setBottomAngle(Angle& angle)
{
    Lock lock(mutex);
    if (refused(angle, bottomAngle))
        return false;
    ChangeScope scope(*this);
    double distance = bottomDistance;
    const bool snapped = snapIfOutside(angle, distance);
    const bool taken = BeamConstraintsImpl::setBottomAngle(angle);
    scope.finish();
    return taken && !snapped;
}

bool BeamConstraintsSpiralImpl::setBottomDistance(double distance)
{
    Lock lock(mutex);
    if (!std::isfinite(distance))
        return false;
    ChangeScope scope(*this);
    Angle angle = bottomAngle;
    const bool snapped = snapIfOutside(angle, distance);
    const bool taken = BeamConstraintsImpl::setBottomDistance(distance);
    scope.finish();
    return taken && !snapped;
}

bool BeamConstraintsSpiralImpl::setBottomPoint(Angle& angle, double& distance, Angle& steering,
                                               Angle& spreading)
{
    Lock lock(mutex);
    ChangeScope scope(*this);
    const bool snapped = snapIfOutside(angle, distance);
    const bool taken = BeamConstraintsImpl::setBottomPoint(angle, distance, steering, spreading);
    scope.finish();
    return taken && !snapped;
}

bool BeamConstraintsSpiralImpl::setBottomPoint(Angle& angle, double& distance)
{
    Lock lock(mutex);
    ChangeScope scope(*this);
    const bool snapped = snapIfOutside(angle, distance);
    const bool taken = BeamConstraintsImpl::setBottomPoint(angle, distance);
    scope.finish();
    return taken && !snapped;
}

math::Vec3 BeamConstraintsSpiralImpl::guidePoint(size_t index)
{
    Lock lock(mutex);
    return guides[index];
}

math::Vec3 BeamConstraintsSpiralImpl::getGuidePoint0()
{
    return guidePoint(0);
}
math::Vec3 BeamConstraintsSpiralImpl::getGuidePoint1()
{
    return guidePoint(1);
}
math::Vec3 BeamConstraintsSpiralImpl::getGuidePoint2()
{
    return guidePoint(2);
}
math::Vec3 BeamConstraintsSpiralImpl::getGuidePoint3()
{
    return guidePoint(3);
}
math::Vec3 BeamConstraintsSpiralImpl::getGuidePoint4()
{
    return guidePoint(4);
}
math::Vec3 BeamConstraintsSpiralImpl::getGuidePoint5()
{
    return guidePoint(5);
}

} // namespace zorvpro::acoustics
