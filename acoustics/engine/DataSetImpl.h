#pragma once

#include "acoustics/engine/DataSet.h"
#include "acoustics/engine/EngineLock.h"
#include "acoustics/engine/PointArrivals.h"
#include "acoustics/model/ArrivalsSum.h"
#include "acoustics/model/BandSelection.h"
#include "acoustics/model/FrequencyMask.h"

#include <atomic>
#include <cstdint>
#include <vector>

namespace zorvpro
{
namespace acoustics
{

// The power spectrum of every point of one field-point set, filled chunk by chunk on the
// worker threads and read-only once published.
class DataSetImpl : public DataSet
{
public:
    struct PointResult
    {
        uint64_t tag = 0;
        FrequencyMask spectrum;
    };

    static constexpr BandSelection AllBands{BandSelection::AllBits};
    // 800 Hz to 5 kHz.
    static constexpr BandSelection VocalBands{0x007FC000u};

    // Levels in dB; an unknown bandwidth code gives an empty output. Never changes the stored
    // spectra, so any number of readers may call it at once.
    void getSpl(SplValues& out, int32_t bandwidth, double frequency) override;
    void getSplRange(double& min, double& max) const override;

    // Fills the point results begin to end - 1 from their arrivals; stops early once cancel is
    // set, testing it more often the more arrivals a point holds.
    void computeRange(const ArrivalsList& arrivals, uint64_t begin, uint64_t end,
                      const std::atomic<bool>& cancel, uint64_t largestArrivalCount);
    // The same with another power summer, for callers that bring their own (one per thread).
    void computeRange(const ArrivalsList& arrivals, uint64_t begin, uint64_t end,
                      const std::atomic<bool>& cancel, uint64_t largestArrivalCount, ArrivalsSum& summer);

    // Stores one point's spectrum, for callers that sum without an arrivals list; the results
    // are first sized to count, as computeRange sizes them to its list.
    void storeResult(uint64_t count, uint64_t index, uint64_t tag, FrequencyMask&& spectrum);

    // Points between two cancel tests for a largest arrival count.
    static uint64_t CheckInterval(uint64_t largestArrivalCount);
    // Power (Pa^2) to dB SPL; 0 dB for a power of 0 or less.
    static double PowerToSpl(double power);

    uint64_t size() const;
    PointResult resultAt(uint64_t index) const;

private:
    void fillBandPowers(SplValues& out, double frequency, int32_t code);

    std::vector<PointResult> pointResults;
    double splMin = 0.0;
    double splMax = 0.0;
    ArrivalsSumCrossPower powerSummer;
    mutable EngineLock lock;
};

} // namespace acoustics
} // namespace zorvpro
