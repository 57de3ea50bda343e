#include "acoustics/engine/DataSetImpl.h"

#include "acoustics/model/FrequencyBands.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <thread>

namespace zorvpro
{
namespace acoustics
{

namespace
{
constexpr double ReferencePower = 4e-10;

// Index of the first nominal frequency not below f; 0 when all are below.
uint64_t BandIndexAtOrAbove(const std::vector<double>& nominal, double frequency)
{
    for (uint64_t i = 0; i < nominal.size(); ++i)
        if (!(nominal[i] < frequency))
            return i;
    return 0;
}
} // namespace

double DataSetImpl::PowerToSpl(double power)
{
    return power <= 0.0 ? 0.0 : 10.0 * std::log10(power / ReferencePower);
}

uint64_t DataSetImpl::CheckInterval(uint64_t largestArrivalCount)
{
    uint64_t b = 0;
    while (b < 10 && (largestArrivalCount >> (b + 1)) != 0)
        ++b;
    return std::max<uint64_t>(1, 512u >> b);
}

void DataSetImpl::getSpl(SplValues& out, int32_t bandwidth, double frequency)
{
    switch (bandwidth)
    {
    case -2:
    case -1:
    {
        const BandSelection selection = bandwidth == -2 ? VocalBands : AllBands;
        out.assign(tags.size(), {0, 0.0});
        for (size_t i = 0; i < tags.size(); ++i)
        {
            const double* row = powers.data() + i * Bands;
            double sum = 0.0;
            for (uint32_t b = 0; b < Bands; ++b)
                if (selection.test(b))
                    sum += row[b];
            out[i] = {tags[i], sum};
        }
        break;
    }
    case 1:
    case 3:
        fillBandPowers(out, frequency, bandwidth);
        break;
    default:
        out.clear();
        break;
    }

    double low = DBL_MAX;
    double high = -DBL_MAX;
    for (auto& value : out)
    {
        value.second = PowerToSpl(value.second);
        low = std::min(low, value.second);
        high = std::max(high, value.second);
    }
    EngineGuard guard(lock);
    splMin = low;
    splMax = high;
}

void DataSetImpl::fillBandPowers(SplValues& out, double frequency, int32_t code)
{
    out.assign(tags.size(), {0, 0.0});
    const uint64_t i = BandIndexAtOrAbove(coverageMapFrequencies(code, true), frequency);
    for (size_t p = 0; p < tags.size(); ++p)
    {
        const double* power = powers.data() + p * Bands;
        double sum = 0.0;
        if (code == 3)
        {
            if (i < Bands)
                sum = power[i];
        }
        else
        {
            const uint64_t centre = 3 * i;
            if (centre > 0 && centre - 1 < Bands)
                sum += power[centre - 1];
            if (centre < Bands)
                sum += power[centre];
            if (centre + 1 < Bands)
                sum += power[centre + 1];
        }
        out[p] = {tags[p], sum};
    }
}

void DataSetImpl::getSplRange(double& min, double& max) const
{
    EngineGuard guard(lock);
    min = splMin;
    max = splMax;
}

void DataSetImpl::computeRange(const ArrivalsList& arrivals, uint64_t begin, uint64_t end,
                               const std::atomic<bool>& cancel, uint64_t largestArrivalCount)
{
    computeRange(arrivals, begin, end, cancel, largestArrivalCount, powerSummer);
}

void DataSetImpl::computeRange(const ArrivalsList& arrivals, uint64_t begin, uint64_t end,
                               const std::atomic<bool>& cancel, uint64_t largestArrivalCount,
                               ArrivalsSum& summer)
{
    const uint64_t n = arrivals.size();
    if (n == 0)
        return;
    {
        EngineGuard guard(lock);
        if (tags.size() != n)
        {
            tags.assign(n, 0);
            powers.assign(n * Bands, 0.0);
        }
    }
    const uint64_t interval = CheckInterval(largestArrivalCount);
    const uint64_t last = std::min(end, n);
    for (uint64_t i = begin; i < last; ++i)
    {
        if (i % interval == 0)
        {
            if (cancel.load())
                return;
            std::this_thread::yield();
        }
        FrequencyMask spectrum;
        summer.sum(spectrum, arrivals[i].arrivals);
        storeSpectrum(i, arrivals[i].tag, spectrum);
    }
}

void DataSetImpl::storeSpectrum(uint64_t index, uint64_t tag, const FrequencyMask& spectrum)
{
    // The sums give power; anything else is converted as the level readers would.
    const FrequencyMask converted =
        spectrum.getMagnitudeKind() == LevelPower ? FrequencyMask() : spectrum.convertedCopy(LevelPower);
    const DoubleBuffer& values =
        spectrum.getMagnitudeKind() == LevelPower ? spectrum.magnitudes() : converted.magnitudes();
    double* row = powersAt(index, tag);
    if (!row || !spectrum.isUsable())
        return;
    for (uint64_t b = 0; b < Bands && b < values.count(); ++b)
        row[b] = values[b];
}

void DataSetImpl::resize(uint64_t count)
{
    EngineGuard guard(lock);
    if (tags.size() == count)
        return;
    tags.assign(count, 0);
    powers.assign(count * Bands, 0.0);
}

double* DataSetImpl::powersAt(uint64_t index, uint64_t tag)
{
    if (index >= tags.size())
        return nullptr;
    tags[index] = tag;
    return powers.data() + index * Bands;
}

uint64_t DataSetImpl::size() const
{
    return tags.size();
}

DataSetImpl::PointResult DataSetImpl::resultAt(uint64_t index) const
{
    if (index >= tags.size())
        return PointResult{};
    DoubleBuffer values(Bands);
    std::copy(powers.begin() + index * Bands, powers.begin() + (index + 1) * Bands, values.begin());
    return PointResult{tags[index],
                       FrequencyMask(std::move(values), DoubleBuffer(Bands, 0.0), LevelPower, PhaseDelay)};
}

} // namespace acoustics
} // namespace zorvpro
