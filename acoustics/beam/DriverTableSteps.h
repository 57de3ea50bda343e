#pragma once

#include "acoustics/beam/Angle.h"
#include "acoustics/beam/DriverRow.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace zorvpro::acoustics
{

// The per-driver steps of a beam solve. They work on a plain table so that
// each algorithm combines them in its own order; every one walks the table
// in row order.
using DriverTable = std::vector<DriverRow>;

enum class ReferenceMode : int
{
    FirstDriver = 0,
    Centre = 1,
    LastDriver = 2,
};

// Smallest and largest position of the table.
std::pair<double, double> getPositionRange(const DriverTable& table);
// Makes positions relative to the lowest, middle or highest driver.
void reReference(DriverTable& table, ReferenceMode mode);
void clearDelays(DriverTable& table);
// sin(steering) x (position - zRef) x inverseSpeed, shifted so the smallest is 0.
void computeSteeringDelays(DriverTable& table, Angle steering, double zRef, double inverseSpeed);
// Steering plus curvature delay, shifted so the smallest is 0.
void computeTotalDelays(DriverTable& table);
// Raised-cosine taper from 1 at position 0 to -9 dB at the farthest driver
// when on; every weight 0 (read as full level) when off.
void computeShading(DriverTable& table, bool shadingOn);
// Scales the weights so their squares sum to the number of rows.
void normaliseWeights(DriverTable& table);
// The spread that a symmetric beam actually opens to, from the fitted
// quadratic for shading and module count.
Angle effectiveSpreadAngle(Angle spreading, bool shadingOn, uint32_t moduleCount);
// Delays that bend a centre-referenced table onto an arc opening by the
// effective spread; all 0 for a spread of at most one degree.
void computeCurvatureDelays(DriverTable& table, Angle spreading, Angle effectiveSpread, double inverseSpeed);

// Aim geometry of the spiral algorithm (metres and radians; y stays 0).
struct SpiralAim
{
    double topX = 0.0, topZ = 0.0;
    double bottomX = 0.0, bottomZ = 0.0;
    double openAngle = 0.0;
    double incidentAngle = 0.0;
};

struct SpiralPoints
{
    double topAngle = 0.0, bottomAngle = 0.0;       // radians
    double topDistance = 0.0, bottomDistance = 0.0; // metres
    double arrayLength = 0.0;
    double topX = 0.0, topZ = 0.0;       // top point
    double bottomX = 0.0, bottomZ = 0.0; // bottom point
};

// Updates aim from the constraint points; leaves it unchanged when the two
// points lie straight above each other.
void computeAimGeometry(const SpiralPoints& points, SpiralAim& aim);
// Aims each neighbouring pair of a centre-referenced table at points spaced
// evenly from the top to the bottom aim point; needs more than 11 rows.
void computeSpiralDelays(DriverTable& table, const SpiralAim& aim, double inverseSpeed);

} // namespace zorvpro::acoustics
