#include "acoustics/model/Polar.h"

#include "acoustics/model/FrequencyBands.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace zorvpro::acoustics
{

namespace
{

constexpr double DegreesPerRadian = 57.29577951308232;
constexpr double TwoPi = 6.283185307179586;
constexpr double MinimumStep = 0.0017453292519943296; // 0.1 degrees
constexpr double MaximumStep = 1.5707963267948966;    // 90 degrees

// trunc(x) kept to its low 32 bits, as 32-bit unsigned arithmetic keeps it;
// a plain conversion of a value beyond the range would be undefined.
uint32_t truncatedLow32(double x)
{
    if (!std::isfinite(x))
        return 0;
    return static_cast<uint32_t>(std::fmod(std::trunc(x), 4294967296.0));
}

uint32_t azimuthCountFor(double degrees)
{
    return degrees > 0.0 ? truncatedLow32(360.0 / degrees) : 0;
}

uint32_t polarCountFor(double degrees)
{
    return degrees > 0.0 ? truncatedLow32(180.0 / degrees) + 1 : 0;
}

// a + (b - a) * t element-wise; empty unless both hold the same non-zero count.
DoubleBuffer blend(const DoubleBuffer& a, const DoubleBuffer& b, double t)
{
    if (a.empty() || a.count() != b.count())
        return {};
    DoubleBuffer result(a.count());
    for (uint64_t i = 0; i < a.count(); ++i)
        result[i] = a[i] + (b[i] - a[i]) * t;
    return result;
}

// Bilinear blend of the four corners: along the polar angle, then azimuth.
DoubleBuffer bilinear(const DoubleBuffer& q00, const DoubleBuffer& q01, const DoubleBuffer& q10,
                      const DoubleBuffer& q11, double fp, double fa)
{
    if (q00.empty() || q01.count() != q00.count() || q10.count() != q00.count() || q11.count() != q00.count())
        return {};
    return blend(blend(q00, q01, fp), blend(q10, q11, fp), fa);
}

} // namespace

Polar::Polar(double step_, uint32_t bands) : step(step_), bandCount(bands)
{
    const double degrees = step * DegreesPerRadian;
    inverseStep = degrees > 0.0 ? 1.0 / degrees : 0.0;
    azimuthCount = azimuthCountFor(degrees);
    polarCount = polarCountFor(degrees);
    perBand[0].allocate(bands, 0.0);
    perBand[1].allocate(bands, 1.0);
    for (int i = 2; i < 8; ++i)
        perBand[i].allocate(bands, 0.0);

    // The negated comparisons also reject a NaN step.
    if (azimuthCount == 0 || polarCount == 0 || bandCount == 0 ||
        bandCount != frequencyTable(ThirdOctaveBands).count() || !(step >= MinimumStep) ||
        !(step <= MaximumStep))
        throw std::invalid_argument("Invalid arguments Polar::ctor");
}

uint32_t Polar::polarValueCount(double step, uint32_t bands)
{
    const double degrees = step * DegreesPerRadian;
    if (!(degrees > 0.0))
        return 0;
    return azimuthCountFor(degrees) * polarCountFor(degrees) * bands;
}

void Polar::replace(DoubleBuffer& stored, DoubleBuffer&& values)
{
    DoubleBuffer taken(std::move(values));
    if (taken.count() == stored.count())
        stored = std::move(taken);
}

const DoubleBuffer& Polar::getPerBandArray(uint32_t index) const
{
    static const DoubleBuffer none;
    return index < 8 ? perBand[index] : none;
}

void Polar::setBandSelection(BandSelection selection)
{
    if (selection == bandSelection)
        return;
    bandSelection = selection;
    for (auto& [azimuth, column] : directions)
        for (auto& [polar, mask] : column)
            mask.setBandSelection(selection);
}

void Polar::setData(DoubleBuffer&& magnitudesIn, DoubleBuffer&& phasesIn)
{
    const DoubleBuffer magnitudes(std::move(magnitudesIn));
    const DoubleBuffer phases(std::move(phasesIn));
    const uint64_t expected = static_cast<uint64_t>(bandCount) * azimuthCount * polarCount;
    if (magnitudes.count() != expected || phases.count() != expected)
        return;

    directions.clear();
    DoubleBuffer reference(bandCount);
    for (uint32_t b = 0; b < bandCount; ++b)
        reference[b] = 2e-5 * std::pow(10.0, perBand[1][b] / 20.0);

    uint64_t position = 0;
    for (uint32_t i = 0; i < azimuthCount; ++i)
    {
        auto& column = directions[i];
        for (uint32_t j = 0; j < polarCount; ++j)
        {
            DoubleBuffer m(bandCount);
            DoubleBuffer p(bandCount);
            for (uint32_t b = 0; b < bandCount; ++b, ++position)
            {
                m[b] = std::pow(10.0, -magnitudes[position] / 20.0) * reference[b];
                p[b] = phases[position];
            }
            column.insert_or_assign(
                j, FrequencyMask(std::move(m), std::move(p), LevelAmplitude, PhaseDelay, bandSelection));
        }
    }
}

const FrequencyMask* Polar::find(uint32_t azimuth, uint32_t polar) const
{
    auto column = directions.find(azimuth);
    if (column == directions.end())
        return nullptr;
    auto entry = column->second.find(polar);
    return entry == column->second.end() ? nullptr : &entry->second;
}

bool Polar::locate(const math::Vec3& d, const FrequencyMask* (&corners)[4], double& fp, double& fa) const
{
    if (!std::isfinite(d.x) || !std::isfinite(d.y) || !std::isfinite(d.z) || azimuthCount == 0 ||
        polarCount == 0)
        return false;

    double azimuth = std::fmod(std::atan2(d.z, d.y), TwoPi);
    if (azimuth < 0.0)
        azimuth += TwoPi;
    azimuth *= DegreesPerRadian;
    const double length = d.Length();
    const double cosine = (d.x == 0.0 || length == 0.0) ? 0.0 : d.x / length;
    double polarAngle = std::acos(std::clamp(cosine, -1.0, 1.0)) * DegreesPerRadian;
    azimuth = std::clamp(azimuth, 0.0, 360.0);
    polarAngle = std::clamp(polarAngle, 0.0, 180.0);

    const double a = azimuth * inverseStep;
    const double p = polarAngle * inverseStep;
    uint32_t i0 = static_cast<uint32_t>(std::trunc(a));
    uint32_t i1 = i0 + 1;
    uint32_t j0 = static_cast<uint32_t>(std::trunc(p));
    uint32_t j1 = j0 + 1;
    // The fractions are taken before the indices wrap or clamp.
    fa = a - std::trunc(a);
    fp = p - std::trunc(p);
    if (i0 >= azimuthCount)
        i0 -= azimuthCount;
    if (i1 >= azimuthCount)
        i1 -= azimuthCount;
    j0 = std::min(j0, polarCount - 1);
    j1 = std::min(j1, polarCount - 1);

    corners[0] = find(i0, j0);
    corners[1] = find(i0, j1);
    corners[2] = find(i1, j0);
    corners[3] = find(i1, j1);
    return corners[0] && corners[1] && corners[2] && corners[3];
}

FrequencyMask Polar::lookup(const math::Vec3& d) const
{
    const FrequencyMask* q[4];
    double fp = 0.0;
    double fa = 0.0;
    if (!locate(d, q, fp, fa))
        return FrequencyMask();
    return FrequencyMask(
        bilinear(q[0]->magnitudes(), q[1]->magnitudes(), q[2]->magnitudes(), q[3]->magnitudes(), fp, fa),
        bilinear(q[0]->phases(), q[1]->phases(), q[2]->phases(), q[3]->phases(), fp, fa),
        q[0]->getMagnitudeKind(), q[0]->getPhaseKind());
}

bool Polar::lookupInto(const math::Vec3& d, double* magnitudes, double* phases, MagnitudeKind& magnitudeKind,
                       PhaseKind& phaseKind) const
{
    const FrequencyMask* q[4];
    double fp = 0.0;
    double fa = 0.0;
    if (!locate(d, q, fp, fa))
        return false;
    const uint64_t n = frequencyTable(ThirdOctaveBands).count();
    for (const FrequencyMask* corner : q)
        if (corner->magnitudes().count() != n || corner->phases().count() != n)
            return false;
    // The blend of lookup, value by value: along the polar angle, then azimuth.
    auto blendInto = [&](const DoubleBuffer& q00, const DoubleBuffer& q01, const DoubleBuffer& q10,
                         const DoubleBuffer& q11, double* out)
    {
        for (uint64_t i = 0; i < n; ++i)
        {
            const double low = q00[i] + (q01[i] - q00[i]) * fp;
            const double high = q10[i] + (q11[i] - q10[i]) * fp;
            out[i] = low + (high - low) * fa;
        }
    };
    blendInto(q[0]->magnitudes(), q[1]->magnitudes(), q[2]->magnitudes(), q[3]->magnitudes(), magnitudes);
    blendInto(q[0]->phases(), q[1]->phases(), q[2]->phases(), q[3]->phases(), phases);
    magnitudeKind = q[0]->getMagnitudeKind();
    phaseKind = q[0]->getPhaseKind();
    return true;
}

} // namespace zorvpro::acoustics
