#include "acoustics/model/LevelConversion.h"

#include <cmath>

namespace zorvpro::acoustics
{

namespace
{

constexpr double Ln10 = 2.302585092994046;
constexpr double TwoPi = 6.283185307179586;

bool knownKind(int32_t kind)
{
    return kind == LevelAmplitude || kind == LevelPower || kind == LevelDecibels;
}

double toDecibels(double x, double reference, double factor)
{
    const double ref = reference == 0.0 ? 1.0 : reference;
    if (x <= 0.0)
        x = ref;
    return factor * std::log10(x / ref);
}

double convertOne(int32_t from, double x, int32_t to, double reference)
{
    switch (from)
    {
    case LevelAmplitude:
        return to == LevelPower ? x * x : toDecibels(x, reference, 20.0);
    case LevelPower:
        return to == LevelAmplitude ? (x > 0.0 ? std::sqrt(x) : 0.0) : toDecibels(x, reference, 10.0);
    default: // decibels
        return reference * std::exp(x * Ln10 / (to == LevelAmplitude ? 20.0 : 10.0));
    }
}

} // namespace

bool convertLevel(int32_t from, double* values, int32_t to, uint64_t count, double reference)
{
    if (!values || count == 0 || !knownKind(from) || !knownKind(to))
        return false;
    if (from == to)
        return true;
    for (uint64_t i = 0; i < count; ++i)
        values[i] = convertOne(from, values[i], to, reference);
    return true;
}

double convertLevel(int32_t from, double value, int32_t to, double reference)
{
    if (from == to || !knownKind(from) || !knownKind(to))
        return value;
    return convertOne(from, value, to, reference);
}

double convertUnitScale(int32_t from, double value, int32_t to)
{
    auto known = [](int32_t s)
    { return s == ScaleSeconds || s == ScaleMilliseconds || s == ScaleMicroseconds; };
    if (from == to || !known(from) || !known(to))
        return value;
    static const double factors[3][3] = {{1.0, 1000.0, 1e6}, {0.001, 1.0, 1000.0}, {1e-6, 0.001, 1.0}};
    return value * factors[from][to];
}

bool delayToPhase(double* values, const double* frequencies, uint64_t n, int32_t unit)
{
    if (!values || !frequencies || n == 0)
        return false;
    for (uint64_t i = 0; i < n; ++i)
    {
        const double delay = unit == ScaleMilliseconds ? values[i] * 0.001 : values[i];
        values[i] = TwoPi * frequencies[i] * delay;
    }
    return true;
}

bool phaseToDelay(double* values, const double* frequencies, uint64_t n, int32_t unit)
{
    if (!values || !frequencies || n == 0)
        return false;
    for (uint64_t i = 0; i < n; ++i)
    {
        double delay = 0.0;
        if (values[i] != 0.0 && frequencies[i] != 0.0)
            delay = values[i] / (TwoPi * frequencies[i]);
        values[i] = unit == ScaleMilliseconds ? delay * 1000.0 : delay;
    }
    return true;
}

} // namespace zorvpro::acoustics
