#pragma once

#include "acoustics/engine/ClusterSource.h"
#include "acoustics/model/PropChange.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace zorvpro::acoustics::testing
{

// A point source: one arrival per point with amplitude 1 / max(r, 0.01) in every band and
// zero delays, so a point at r metres reads 10 log10(28 / r^2 / 4e-10) dB over all bands.
class FakeCluster : public ClusterSource
{
public:
    FakeCluster(math::Vec3 position, uint64_t id) : position(position), id(id) {}

    const void* identity() const override { return this; }
    PropChange* changes() const override { return &publisher; }
    bool isMuted() const override { return muted.load(); }
    uint64_t nodeId() const override { return id; }
    math::Vec3 centre() const override { return position; }

    std::vector<Arrival> computeArrivalsAtPoint(const math::Vec3& point) override
    {
        {
            std::lock_guard<std::mutex> guard(mutex);
            ++calls;
        }
        called.notify_all();
        if (throwing.load())
            throw std::runtime_error("fake cluster failure");
        if (const auto pause = delay.load(); pause.count() > 0)
            std::this_thread::sleep_for(pause);
        const double r = std::max(0.01, (point - position).Length());
        std::vector<Arrival> result;
        result.emplace_back(point - position, point, FrequencyMask(LevelAmplitude, 1.0 / r));
        return result;
    }

    uint64_t callCount() const
    {
        std::lock_guard<std::mutex> guard(mutex);
        return calls;
    }

    // Blocks until at least count calls have been made in total; false after a generous limit.
    bool waitForCalls(uint64_t count)
    {
        std::unique_lock<std::mutex> guard(mutex);
        return called.wait_for(guard, std::chrono::seconds(20), [&] { return calls >= count; });
    }

    // Publishes a change code as the real cluster would.
    void change(uint32_t code) { publisher.notify(code); }

    std::atomic<bool> muted{false};
    std::atomic<bool> throwing{false};
    std::atomic<std::chrono::microseconds> delay{std::chrono::microseconds(0)};

private:
    math::Vec3 position;
    uint64_t id;
    mutable PropChange publisher;
    mutable std::mutex mutex;
    std::condition_variable called;
    uint64_t calls = 0;
};

} // namespace zorvpro::acoustics::testing
