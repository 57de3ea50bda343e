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
        out.assign(pointResults.size(), {0, 0.0});
        for (size_t i = 0; i < pointResults.size(); ++i)
        {
            // sumSelectedBands converts a copy when the spectrum is not held as power.
            out[i] = {pointResults[i].tag, pointResults[i].spectrum.sumSelectedBands(LevelPower, selection)};
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
    out.assign(pointResults.size(), {0, 0.0});
    const uint64_t i = BandIndexAtOrAbove(coverageMapFrequencies(code, true), frequency);
    for (size_t p = 0; p < pointResults.size(); ++p)
    {
        const FrequencyMask& spectrum = pointResults[p].spectrum;
        if (spectrum.getMagnitudeKind() != LevelPower)
            continue;
        const DoubleBuffer& power = spectrum.magnitudes();
        const uint64_t bands = power.count();
        double sum = 0.0;
        if (code == 3)
        {
            if (i < bands)
                sum = power[i];
        }
        else
        {
            const uint64_t centre = 3 * i;
            if (centre > 0 && centre - 1 < bands)
                sum += power[centre - 1];
            if (centre < bands)
                sum += power[centre];
            if (centre + 1 < bands)
                sum += power[centre + 1];
        }
        out[p] = {pointResults[p].tag, sum};
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
        if (pointResults.size() != n)
            pointResults.resize(n);
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
        PointResult result;
        result.tag = arrivals[i].tag;
        summer.sum(result.spectrum, arrivals[i].arrivals);
        pointResults[i] = std::move(result);
    }
}

void DataSetImpl::storeResult(uint64_t count, uint64_t index, uint64_t tag, FrequencyMask&& spectrum)
{
    {
        EngineGuard guard(lock);
        if (pointResults.size() != count)
            pointResults.resize(count);
    }
    if (index >= count)
        return;
    pointResults[index].tag = tag;
    pointResults[index].spectrum = std::move(spectrum);
}

uint64_t DataSetImpl::size() const
{
    return pointResults.size();
}

DataSetImpl::PointResult DataSetImpl::resultAt(uint64_t index) const
{
    return index < pointResults.size() ? pointResults[index] : PointResult{};
}

} // namespace acoustics
} // namespace zorvpro
