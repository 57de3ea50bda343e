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
// worker threads and read-only once published. Held flat: a point's tag and its band powers
// (Pa^2, every band selected, no phases: what the power sums give), 232 bytes a point.
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

    // Sizes the results to count points (zero powers, tag 0), for callers that sum without an
    // arrivals list; call it before any worker writes.
    void resize(uint64_t count);
    // Point index's tag and band powers, written by the one worker that sums that point; null
    // out of range.
    double* powersAt(uint64_t index, uint64_t tag);
    // Stores a point's spectrum there (converted to power when held otherwise).
    void storeSpectrum(uint64_t index, uint64_t tag, const FrequencyMask& spectrum);

    // Points between two cancel tests for a largest arrival count.
    static uint64_t CheckInterval(uint64_t largestArrivalCount);
    // Power (Pa^2) to dB SPL; 0 dB for a power of 0 or less.
    static double PowerToSpl(double power);

    static constexpr uint64_t Bands = 28;

    uint64_t size() const;
    // A point's spectrum as a mask: power, delay phases (zero), all bands selected.
    PointResult resultAt(uint64_t index) const;

private:
    void fillBandPowers(SplValues& out, double frequency, int32_t code);

    std::vector<uint64_t> tags;
    std::vector<double> powers; // Bands per point, point-major
    double splMin = 0.0;
    double splMax = 0.0;
    ArrivalsSumCrossPower powerSummer;
    mutable EngineLock lock;
};

} // namespace acoustics
} // namespace zorvpro
