#include "acoustics/model/AirAbsorption.h"

#include <cmath>

namespace zorvpro::acoustics
{

namespace
{

// A division by zero yields 0 throughout these formulas.
double divide(double a, double b)
{
    return b == 0.0 ? 0.0 : a / b;
}

} // namespace

double saturationVapourPressure(double t)
{
    static const double temperatures[] = {5, 10, 15, 20, 30, 40};
    static const double pressures[] = {872, 1228, 1705, 2338, 4243, 7376};
    int i = 0;
    if (t >= 40.0)
        i = 4;
    else if (t >= 5.0)
    {
        i = 1;
        while (i < 5 && !(temperatures[i] > t))
            ++i;
        --i;
    }
    return pressures[i] + (t - temperatures[i]) * (pressures[i + 1] - pressures[i]) /
                              (temperatures[i + 1] - temperatures[i]);
}

double computeSpeedOfSound(double t, double h)
{
    const double x = (t + 273.15) / 273.15;
    if (h == 0.0)
        return 331.45 * std::sqrt(x);
    // Molar fraction of water vapour (one over the standard atmosphere in Pa).
    const double w = saturationVapourPressure(t) * (h * 0.01) * 9.869232667160129e-6;
    const double gamma = (w + 7.0 == 0.0 || w + 5.0 == 0.0) ? 0.0 : (w + 7.0) / (w + 5.0);
    const double molarMass = 29.0 - 11.0 * w;
    const double root = (gamma == 0.0 || molarMass == 0.0) ? 0.0 : std::sqrt(gamma / molarMass);
    // Scaled so that dry air (gamma 1.4, molar mass 29) gives the dry value.
    const double k = 1.0 / std::sqrt(0.04827586206896552);
    return root * 331.45 * std::sqrt(x) * k;
}

bool airAbsorptionCoefficient(const double* frequencies, double* values, uint64_t count, double t, double h)
{
    if (!frequencies || !values || count == 0)
        return false;
    const double T = t + 273.15;
    const double r = T * (1.0 / 293.15);
    const double V = -6.8346 * std::pow(divide(273.16, T), 1.261) + 4.6151;
    const double hm = h * std::pow(10.0, V);
    const double oxygen = 24.0 + divide(40400.0 * hm * (0.02 + hm), 0.391 + hm);
    const double nitrogen =
        divide(1.0, std::sqrt(r)) * (9.0 + 280.0 * hm * std::exp(-4.17 * (divide(1.0, std::cbrt(r)) - 1.0)));
    for (uint64_t i = 0; i < count; ++i)
    {
        const double f2 = frequencies[i] * frequencies[i];
        const double oxygenTerm = divide(0.01275 * std::exp(divide(-2239.1, T)), oxygen + divide(f2, oxygen));
        const double nitrogenTerm =
            divide(0.1068 * std::exp(divide(-3352.0, T)), nitrogen + divide(f2, nitrogen));
        values[i] = -8.686 * f2 *
                    (1.84e-11 * std::sqrt(r) + divide(1.0, std::pow(r, 2.5)) * (oxygenTerm + nitrogenTerm));
    }
    return true;
}

} // namespace zorvpro::acoustics
