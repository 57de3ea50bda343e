#include "acoustics/beam/DriverTableSteps.h"

#include "core/math/Compare.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace zorvpro::acoustics
{

namespace
{
constexpr double kPi = 3.141592653589793;
constexpr double kShadingFloor = 0.35481338923357547; // -9 dB as amplitude

bool IsZero(double v)
{
    return math::IsZero(v);
}

// Quadratic fit (degrees in, degrees out) of the spread a symmetric beam
// really opens to, by shading and module count.
struct SpreadFit
{
    double a, b, c;
};

SpreadFit FitFor(bool shadingOn, uint32_t modules)
{
    static const SpreadFit shaded[3] = {
        {-0.014699, 1.7177, 5.1162}, {0.0076287, 0.95441, 3.2146}, {-0.0067785, 1.3496, 0.93714}};
    static const SpreadFit unshaded[3] = {
        {-0.0017661, 1.0079, 5.4609}, {0.0043621, 0.85699, 1.5587}, {0.0041977, 0.78615, 1.3001}};
    if (modules < 1 || modules > 3)
        return {0.0, 0.0, 0.0};
    return shadingOn ? shaded[modules - 1] : unshaded[modules - 1];
}
} // namespace

std::pair<double, double> getPositionRange(const DriverTable& table)
{
    double lo = DBL_MAX;
    double hi = -DBL_MAX;
    for (const DriverRow& row : table)
    {
        lo = std::min(lo, row.position);
        hi = std::max(hi, row.position);
    }
    return {lo, hi};
}

void reReference(DriverTable& table, ReferenceMode mode)
{
    if (table.empty())
        return;
    const auto [lo, hi] = getPositionRange(table);
    double reference = lo;
    if (mode == ReferenceMode::Centre)
        reference = (lo + hi) / 2.0;
    else if (mode == ReferenceMode::LastDriver)
        reference = hi;
    for (DriverRow& row : table)
        row.position -= reference;
}

void clearDelays(DriverTable& table)
{
    for (DriverRow& row : table)
    {
        row.steeringDelay = 0.0;
        row.curvatureDelay = 0.0;
        row.totalDelay = 0.0;
    }
}

void computeSteeringDelays(DriverTable& table, Angle steering, double zRef, double inverseSpeed)
{
    const double sine = std::sin(steering.radians());
    double smallest = DBL_MAX;
    for (DriverRow& row : table)
    {
        row.steeringDelay = sine * (row.position - zRef) * inverseSpeed;
        smallest = std::min(smallest, row.steeringDelay);
    }
    for (DriverRow& row : table)
        row.steeringDelay -= smallest;
}

void computeTotalDelays(DriverTable& table)
{
    double smallest = DBL_MAX;
    for (DriverRow& row : table)
    {
        row.totalDelay = row.steeringDelay + row.curvatureDelay;
        smallest = std::min(smallest, row.totalDelay);
    }
    for (DriverRow& row : table)
        row.totalDelay -= smallest;
}

void computeShading(DriverTable& table, bool shadingOn)
{
    if (!shadingOn)
    {
        for (DriverRow& row : table)
            row.weight = 0.0;
        return;
    }
    const double e = std::acos(1.0 - 2.0 * kShadingFloor) / kPi - 1.0;
    double farthest = DBL_MIN;
    for (const DriverRow& row : table)
        farthest = std::max(farthest, std::fabs(row.position));
    const double scale = (!IsZero(e) && !IsZero(farthest)) ? e / farthest : 0.0;
    for (DriverRow& row : table)
        row.weight = 0.5 - 0.5 * std::cos((scale * row.position + 1.0) * kPi);
}

void normaliseWeights(DriverTable& table)
{
    double sum = 0.0;
    for (const DriverRow& row : table)
        sum += row.weight * row.weight;
    const double n = static_cast<double>(table.size());
    const double factor = (!IsZero(sum) && n != 0.0) ? n / sum : 0.0;
    const double scale = std::sqrt(factor);
    for (DriverRow& row : table)
        row.weight *= scale;
}

Angle effectiveSpreadAngle(Angle spreading, bool shadingOn, uint32_t moduleCount)
{
    const double d = spreading.degrees();
    const SpreadFit fit = FitFor(shadingOn, moduleCount);
    return Angle::FromDegrees(fit.a * d * d + fit.b * d + fit.c);
}

void computeCurvatureDelays(DriverTable& table, Angle spreading, Angle effectiveSpread, double inverseSpeed)
{
    if (spreading.degrees() <= 1.0)
    {
        for (DriverRow& row : table)
            row.curvatureDelay = 0.0;
        return;
    }
    const auto [lo, hi] = getPositionRange(table);
    const double length = hi - lo;
    const double halfSine = std::sin(effectiveSpread.radians() / 2.0);
    const double radius = (!IsZero(length) && !IsZero(halfSine)) ? length / (2.0 * halfSine) : 0.0;

    double smallest = 1e6;
    for (DriverRow& row : table)
    {
        const double u = (IsZero(row.position) || IsZero(radius)) ? 0.0 : row.position / radius;
        row.curvatureDelay = (1.0 - std::cos(std::asin(u))) * radius * inverseSpeed;
        smallest = std::min(smallest, row.curvatureDelay);
    }
    for (DriverRow& row : table)
        row.curvatureDelay -= smallest;
}

void computeAimGeometry(const SpiralPoints& p, SpiralAim& aim)
{
    if (math::AlmostEqual(p.topX, p.bottomX))
        return;
    const double alpha =
        math::AlmostEqual(p.topZ, p.bottomZ) ? 0.0 : std::atan((p.topZ - p.bottomZ) / (p.topX - p.bottomX));
    const double margin = (alpha - p.topAngle) * Angle::kDegreesPerRadian <= 10.0
                              ? Angle::FromDegrees(2.5).radians()
                              : Angle::FromDegrees(2.0).radians();
    const double a = p.topAngle + margin;
    const double b = p.bottomAngle - Angle::kRadiansPerDegree;
    aim.openAngle = a - b;
    aim.topX = p.topDistance * std::cos(a);
    aim.topZ = p.topDistance * std::sin(a) + p.arrayLength / 2.0;
    aim.bottomX = p.bottomDistance * std::cos(b);
    aim.bottomZ = p.bottomDistance * std::sin(b) - p.arrayLength / 2.0;
    const double dz = aim.topZ - aim.bottomZ;
    const double dx = aim.topX - aim.bottomX;
    aim.incidentAngle = ((IsZero(dz) || IsZero(dx)) ? 0.0 : std::atan(dz / dx)) - a;
}

void computeSpiralDelays(DriverTable& table, const SpiralAim& aim, double inverseSpeed)
{
    const size_t n = table.size();
    if (n <= 11)
        return;
    const double steps = static_cast<double>(n - 2);
    const double stepZ = (aim.topZ - aim.bottomZ) / steps;
    const double stepX = (aim.topX - aim.bottomX) / steps;
    table[0].curvatureDelay = 0.0;
    for (size_t i = 0; i + 1 < n; ++i)
    {
        const double aimZ = aim.topZ - static_cast<double>(i) * stepZ;
        const double aimX = aim.topX - static_cast<double>(i) * stepX;
        const double pi = table[i].position;
        const double next = table[i + 1].position;
        const double h = aimZ - (pi + next) / 2.0;
        const double u = (IsZero(h) || IsZero(aimX)) ? 0.0 : h / aimX;
        table[i + 1].curvatureDelay =
            std::sin(-std::atan(u)) * (pi - next) * inverseSpeed + table[i].curvatureDelay;
    }
}

} // namespace zorvpro::acoustics
