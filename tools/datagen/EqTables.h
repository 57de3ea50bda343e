#pragma once

#include <string>
#include <vector>

namespace zorvpro::datagen
{

struct EqRow
{
    double lowCutFreq = 0.0; // Hz
    double tilt = 0.0;       // 0..10
    double boostOrCut = 0.0; // dB, never 0 in the tables below
};

// Tabulated keys of the generated tables.
const std::vector<int>& SpreadAngles();         // degrees
const std::vector<int>& SpiralIncidentAngles(); // degrees
const std::vector<int>& SpiralOpenAngles();     // degrees
const std::vector<int>& SpiralDistances();      // metres
constexpr int kTableModules = 3;                // module counts 1..3

// The rows the generated tables hold. Tilt stays inside [0, 10] and the gain
// away from 0, so the shelf computed from a row is always defined.
EqRow SpreadRow(bool shading, int modules, int angle);
EqRow SpiralRow(int modules, int incident, int open, int distance);

std::string SpreadTableXml();
std::string SpiralTableXml();

} // namespace zorvpro::datagen
