#pragma once

#include <array>
#include <cstdint>
#include <memory>

namespace zorvpro
{
namespace acoustics
{

class CalcListener;
class FieldPoints;
class FieldPointsData;
class ISurface;
class LoudspeakerCluster;

// The acoustics engine: takes the venue's surfaces, the loudspeaker clusters and sets of field
// points (each under a 64-bit id) and computes, on worker threads, the level of every unmuted
// cluster at every point, published per set id. Get one with getAcousticsEngine().
class IZorvAcoustics
{
public:
    using Version = std::array<uint32_t, 4>;

    virtual ~IZorvAcoustics() = default;

    virtual Version getVersion() const = 0;
    // Starts the dispatcher thread, or resumes dispatching after requestStop().
    virtual void start() = 0;
    // Stops moving queued jobs into the worker pool.
    virtual void requestStop() = 0;

    // Surfaces block the line of sight; an expired pointer simply stops blocking.
    virtual void addSurface(std::weak_ptr<ISurface> surface) = 0;
    virtual void removeSurface(std::weak_ptr<ISurface> surface) = 0;

    virtual void addCluster(std::shared_ptr<LoudspeakerCluster> cluster) = 0;
    virtual void removeCluster(std::shared_ptr<LoudspeakerCluster> cluster) = 0;

    // Stores a copy of the points under id when they differ from the stored set.
    virtual void setFieldPoints(uint64_t id, std::shared_ptr<FieldPoints> points) = 0;
    virtual void removeFieldPoints(uint64_t id) = 0;

    // While enabled, changes recalculate by themselves once they have settled.
    virtual void setCalculationEnabled(bool enabled) = 0;
    virtual bool isCalculationEnabled() const = 0;
    // Starts a calculation; with wait, returns once every set's results are published.
    virtual void calculate(bool wait) = 0;

    // The points as last calculated for id, carrying their data set; empty when none.
    virtual std::shared_ptr<FieldPointsData> getDataSet(uint64_t id) const = 0;

    // Listeners are not owned and must be removed before they are destroyed.
    virtual void addCalcListener(CalcListener* listener) = 0;
    virtual void removeCalcListener(CalcListener* listener) = 0;

    // True while the worker pool holds a job.
    virtual bool isBusy() const = 0;
};

} // namespace acoustics
} // namespace zorvpro
