#pragma once

#include "acoustics/fast/FastArrivalsSum.h"
#include "acoustics/model/DoubleBuffer.h"
#include "acoustics/model/FrequencyBands.h"
#include "acoustics/model/FrequencyMask.h"
#include "acoustics/model/Polar.h"
#include "core/math/Matrix4.h"
#include "core/math/Vector3.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace zorvpro::acoustics
{

// One driver of a cluster as the arrival arithmetic reads it: captured once
// per calculation, then shared read-only by every worker.
struct FlatDriver
{
    struct Beam
    {
        // The driver's beam filter, already in amplitudes and delays; false
        // when the cache has none or it cannot be brought to those kinds.
        bool hasFilter = false;
        FrequencyMask filter;
        // The cluster's broadband level mask as the beam saw it.
        DoubleBuffer mask;
        // Whether the filter's magnitudes and delays hold an exact zero, once
        // FlatClusterArrivals::prepare has looked (zerosKnown).
        bool zerosKnown = false;
        bool magnitudeZero = false;
        bool delayZero = false;
    };

    math::Mat4 toLocal; // inverse of cluster x module x transducer transform
    std::shared_ptr<const Polar> polar;
    double gain = 1.0;       // cluster gain (linear) x the transducer's level factor
    std::vector<Beam> beams; // one per beam; empty for a cluster without beams
};

// A cluster's drivers, in the order of its modules and their transducers,
// with what it reads from the environment and its own gain and delay.
struct FlatClusterModel
{
    double secondsPerMetre = 0.0;
    DoubleBuffer absorption; // dB per metre per band, may be empty
    double delaySeconds = 0.0;
    bool steered = false; // the cluster has beam solvers
    std::vector<FlatDriver> drivers;
};

// Makes a cluster's arrivals at one point straight into the flat arrays of a
// FastArrivalsSum, with the operations, in the order, that the cluster's own
// arrival computation and the Arrival record use, but without any allocation
// per arrival, and with logarithms and powers taken four bands at a time
// (within a few units in the last place of the library's). One instance per
// thread.
class FlatClusterArrivals
{
public:
    FlatClusterArrivals();

    // Adds the arrivals of the cluster at the point, in the order the cluster
    // lists them; returns how many.
    uint64_t add(const FlatClusterModel& model, const math::Vec3& point, FastArrivalsSum& summer);

    // How many arrivals a point can receive from the model at most.
    static uint64_t capacity(const FlatClusterModel& model);

    // Looks at each beam's filter once, so that points need not.
    static void prepare(FlatClusterModel& model);

private:
    using Bands = std::array<double, CalculationBandCount>;

    // Derives the total delay and excess phase of a response (amplitudes and
    // delays) as an Arrival would, and hands the arrival to the summer.
    void finishArrival(const Bands& magnitudes, const Bands& phases, BandSelection selection,
                       FastArrivalsSum& summer);

    // Cepstral basis, transposed: column i of the table is row i here, so that
    // four rows are accumulated side by side, each in its own order.
    std::vector<double> basisByColumn;
    bool basisUsable = false;
    Bands levels{};
    Bands minimumPhase{};
    Bands totalDelay{};
    Bands excessPhase{};
    Bands response{};
    Bands responsePhases{};
    Bands beamMagnitudes{};
    Bands beamPhases{};
    Bands absorption{};
};

} // namespace zorvpro::acoustics
