#include "acoustics/beam/ShelfResponse.h"

#include "core/math/Compare.h"

#include <algorithm>
#include <cmath>
#include <complex>

namespace zorvpro::acoustics
{

bool computeShelfResponse(const double* frequencies, double* out, size_t count, double gainDb,
                          double cornerHz, double tilt, bool applyGain, double sampleRate)
{
    if (frequencies == nullptr || out == nullptr || count == 0 || !(tilt >= 0.0 && tilt <= 10.0))
        return false;

    const double s = std::copysign(tilt, gainDb) * 0.06 + gainDb * 0.02666666666666667;
    // With no gain the shelf is flat; a zero tilt as well would make the
    // exponent 0/0, so the flat ratio is taken directly.
    const double r = math::IsZero(s) ? 1.0 : std::pow(10.0, gainDb / (s * -40.0));
    const double w = (6.785840131753954 / sampleRate) * cornerHz / (r - 0.068);
    const double sLow = std::min(s, 0.0);
    const double sHigh = std::max(s, 0.0);

    const double p1 = std::exp(-std::pow(r, sLow + 1.0) * w);
    const double p2 = std::exp(-std::pow(r, sLow + 2.0) * w);
    const double z1 = std::exp(-std::pow(r, 1.0 - sHigh) * w);
    const double z2 = std::exp(-std::pow(r, 2.0 - sHigh) * w);
    const double a = applyGain ? std::pow(10.0, -gainDb / 20.0) : 1.0;
    const double k = (1.0 + p1) * (1.0 + p2) / ((1.0 + z1) * (1.0 + z2)) * a;

    for (size_t i = 0; i < count; ++i)
    {
        const double x = 6.283185307179586 * frequencies[i] / sampleRate;
        const std::complex<double> e1 = std::polar(1.0, -x);
        const std::complex<double> e2 = std::polar(1.0, -2.0 * x);
        const double np = std::abs(1.0 - (p1 + p2) * e1 + p1 * p2 * e2);
        const double nz = std::abs(1.0 - (z1 + z2) * e1 + z1 * z2 * e2);
        out[i] = (nz == 0.0 || np == 0.0) ? 0.0 : k * nz / np;
    }
    return true;
}

} // namespace zorvpro::acoustics
