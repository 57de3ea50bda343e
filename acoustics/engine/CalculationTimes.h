#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>

namespace zorvpro
{
namespace acoustics
{

// Where the latest calculation spent its time: the settling wait before it (wall time), and
// the time its workers spent making arrivals and summing them (added over the workers).
// Written by the calculation's jobs, read at any time.
class CalculationTimes
{
public:
    using Duration = std::chrono::steady_clock::duration;

    struct Snapshot
    {
        double settlingSeconds = 0.0;
        double arrivalSeconds = 0.0;
        double sumSeconds = 0.0;
    };

    void reset()
    {
        settling.store(0);
        arrivals.store(0);
        sums.store(0);
    }
    void addSettling(Duration d) { settling.fetch_add(d.count()); }
    void addArrivals(Duration d) { arrivals.fetch_add(d.count()); }
    void addSums(Duration d) { sums.fetch_add(d.count()); }

    Snapshot snapshot() const
    {
        auto seconds = [](int64_t ticks) { return std::chrono::duration<double>(Duration(ticks)).count(); };
        return {seconds(settling.load()), seconds(arrivals.load()), seconds(sums.load())};
    }

private:
    std::atomic<Duration::rep> settling{0};
    std::atomic<Duration::rep> arrivals{0};
    std::atomic<Duration::rep> sums{0};
};

} // namespace acoustics
} // namespace zorvpro
