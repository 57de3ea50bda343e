#include "acoustics/model/CepstralBasis.h"

#include "acoustics/model/BandPhaseTables.h"
#include "acoustics/model/FrequencyBands.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace zorvpro::acoustics
{

namespace
{

constexpr double TwoPi = 6.283185307179586;
constexpr double DoubleEpsilon = 2.220446049250313e-16;

bool containsZero(const DoubleBuffer& values)
{
    return std::find(values.begin(), values.end(), 0.0) != values.end();
}

} // namespace

DoubleBuffer CepstralBasis::minimumPhaseDelay(FrequencyMask mask)
{
    if (!mask.isUsable())
        return {};
    for (double& v : mask.magnitudes())
        v += DoubleEpsilon;
    const uint64_t n = mask.magnitudes().count();
    convertLevel(mask.getMagnitudeKind(), mask.magnitudes().data(), LevelDecibels, n, 1.0);

    const DoubleBuffer& matrix = cepstralBasisMatrix(ThirdOctaveBands);
    DoubleBuffer result;
    if (matrix.count() == n * n)
    {
        const DoubleBuffer& levels = mask.magnitudes();
        result.allocate(n);
        for (uint64_t i = 0; i < n; ++i)
        {
            double sum = 0.0;
            for (uint64_t j = 0; j < n; ++j)
                sum += matrix[i * n + j] * levels[j];
            result[i] = 0.001 * sum;
        }
    }
    mask.release();
    return result;
}

DoubleBuffer CepstralBasis::excessPhase(const DoubleBuffer& tau, int32_t code)
{
    if (tau.empty())
        return {};
    const uint64_t n = tau.count();
    DoubleBuffer phi(n);
    const DoubleBuffer& t1 = bandWidthPhaseTable(code);
    const DoubleBuffer& t2 = bandEdgePhaseTable(code);
    if (t1.count() != n || t2.count() != n)
        return phi;
    double s = 0.0;
    for (uint64_t k = 0; k < n; ++k)
    {
        phi[k] = 1000.0 * (tau[k] * t2[k] + s);
        s += tau[k] * t1[k];
    }
    return phi;
}

double CepstralBasis::coherenceWindow(double x, int32_t code)
{
    const DoubleBuffer& w = coherenceWindowTable(code);
    if (w.empty())
        return 0.0;
    const double index = std::round(100.0 * std::fabs(x));
    // Also rejects NaN.
    if (!(index < static_cast<double>(w.count())))
        return 0.0;
    return w[static_cast<uint64_t>(index)];
}

DoubleBuffer CepstralBasis::crossTerm(const DoubleBuffer& x, const DoubleBuffer& dphi, int32_t code)
{
    DoubleBuffer result(frequencyTable(ThirdOctaveBands).count());
    if (x.empty() || dphi.empty() || x.count() != dphi.count() || x.count() != result.count())
        return result;
    for (uint64_t k = 0; k < result.count(); ++k)
        result[k] = coherenceWindow(x[k], code) * std::cos(TwoPi * x[k] - dphi[k]);
    return result;
}

FrequencyMask& CepstralBasis::math(FrequencyMask& target, int op, const FrequencyMask& operand)
{
    if (target.magnitudes().count() != operand.magnitudes().count())
        return target;

    // Phases are combined as delays; radians are converted there and back,
    // unless a zero phase would not survive the round trip.
    if (target.getPhaseKind() != PhaseDelay && !containsZero(target.phases()))
    {
        const PhaseKind former = target.getPhaseKind();
        target.setRepresentation(target.getMagnitudeKind(), PhaseDelay);
        if (target.getPhaseKind() != PhaseDelay)
            return target;
        math(target, op, operand.convertedCopyPhase(PhaseDelay));
        target.setRepresentation(target.getMagnitudeKind(), former);
        return target;
    }

    FrequencyMask converted;
    const FrequencyMask* other = &operand;
    if (operand.getMagnitudeKind() != target.getMagnitudeKind() ||
        operand.getPhaseKind() != target.getPhaseKind())
    {
        converted = operand.convertedCopy(target.getMagnitudeKind(), target.getPhaseKind());
        if (converted.getMagnitudeKind() != target.getMagnitudeKind() ||
            converted.getPhaseKind() != target.getPhaseKind())
            return target;
        other = &converted;
    }

    const bool magnitudesTakePart = !(containsZero(target.magnitudes()) && containsZero(other->magnitudes()));
    const bool phasesTakePart = !(containsZero(target.phases()) && containsZero(other->phases()));
    if ((!magnitudesTakePart && !phasesTakePart) || (op != Combine && op != Separate))
        return target;

    if (magnitudesTakePart)
    {
        const bool decibels = target.getMagnitudeKind() == LevelDecibels;
        if (op == Combine)
            decibels ? target.magnitudes().add(other->magnitudes())
                     : target.magnitudes().multiply(other->magnitudes());
        else
            decibels ? target.magnitudes().subtract(other->magnitudes())
                     : target.magnitudes().divide(other->magnitudes());
    }
    if (phasesTakePart)
    {
        if (target.getPhaseKind() != PhaseDelay)
            throw std::invalid_argument("Invalid arguments CepstralBasis::math");
        if (op == Combine)
            target.phases().add(other->phases());
        else
            target.phases().subtract(other->phases());
    }
    return target;
}

} // namespace zorvpro::acoustics
