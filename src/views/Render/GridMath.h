// Arithmetic of the background grid: step choice, first line, number labels.
#pragma once

#include "core/math/Vector3.h"

#include <QString>
#include <cstdint>
#include <functional>

namespace zorvpro::view
{
// The smallest step of the 1-2-5 table (0.1 to 1000, then doubling) not below the length; in
// feet mode the table is read in feet. Lengths and result in metres.
double GridStep(double lengthMetres, bool metric = true);

struct GridLineRange
{
    double offset; // distance from a to the first line
    int32_t count; // number of steps after the first line
};

// The first multiple of the step strictly beyond a, and how many further steps fit before b.
GridLineRange GridLineStart(double a, double b, double step);

// A line label: one decimal when the step is fractional, none otherwise; never "-0".
QString FormatGridNumber(double value, double step, bool metric);

// Calls back count + 1 points, the first offset from 'to' toward 'from', then one step further
// each. Nothing for a negative count or more than 10000 steps.
void GridLines(const math::Vec3& from, const math::Vec3& to, double offset, double step, int32_t count,
               const std::function<void(const math::Vec3&)>& callback);
} // namespace zorvpro::view
