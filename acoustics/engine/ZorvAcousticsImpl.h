#pragma once

#include "acoustics/engine/CalculationTimes.h"
#include "acoustics/engine/Clusters.h"
#include "acoustics/engine/EngineThread.h"
#include "acoustics/engine/FieldPointStore.h"
#include "acoustics/engine/IZorvAcoustics.h"
#include "acoustics/engine/PointArrivals.h"
#include "acoustics/engine/ResultStore.h"
#include "acoustics/engine/Surfaces.h"
#include "acoustics/model/PropChangeCollection.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace zorvpro
{
namespace acoustics
{

class FieldPointsData;

class ZorvAcousticsImpl : public IZorvAcoustics, public PropsChangedListener
{
public:
    struct Options
    {
        // Worker threads; -1 sizes the pool from the processor.
        int threadCount = -1;
        // How long the model must stay unchanged before an automatic recalculation starts.
        std::chrono::milliseconds settlingPause{300};
        // Each chunk job computes its own points' arrivals and sums them on flat arrays
        // (acoustics/fast), so no arrivals are held for a whole set. Off: the straightforward
        // path, one arrival job holding every arrival of the set and chunks summing them with
        // ArrivalsSumCrossPower, kept as the reference for tests and benchmarks.
        bool chunkArrivals = true;
    };

    // The engine as the registry makes it: dropping the last owner on one of the engine's own
    // threads hands the teardown to a thread of its own instead of joining itself.
    static std::shared_ptr<ZorvAcousticsImpl> create(Options options);
    static std::shared_ptr<ZorvAcousticsImpl> create() { return create(Options{}); }

    explicit ZorvAcousticsImpl(Options options);
    ~ZorvAcousticsImpl() override;

    Version getVersion() const override;
    void start() override;
    void requestStop() override;
    void addSurface(std::weak_ptr<ISurface> surface) override;
    void removeSurface(std::weak_ptr<ISurface> surface) override;
    void addCluster(std::shared_ptr<LoudspeakerCluster> cluster) override;
    void removeCluster(std::shared_ptr<LoudspeakerCluster> cluster) override;
    void setFieldPoints(uint64_t id, std::shared_ptr<FieldPoints> points) override;
    void removeFieldPoints(uint64_t id) override;
    void setCalculationEnabled(bool enabled) override;
    bool isCalculationEnabled() const override;
    void calculate(bool wait) override;
    std::shared_ptr<FieldPointsData> getDataSet(uint64_t id) const override;
    void addCalcListener(CalcListener* listener) override;
    void removeCalcListener(CalcListener* listener) override;
    bool isBusy() const override;

    void propsChanged(PropChangeCollection& changes) override;

    // addCluster and removeCluster go through these with the engine's view of the cluster.
    void addClusterSource(std::shared_ptr<ClusterSource> cluster);
    void removeClusterSource(const ClusterSource& cluster);

    // Chunks [begin, end) of about points / threads points each.
    static std::vector<std::pair<uint64_t, uint64_t>> PlanChunks(uint64_t points, uint32_t threads);
    // True when the point is hidden from centre by one of the surfaces.
    static bool IsOccluded(const Surfaces::Snapshot& surfaces, const math::Vec3& point,
                           const math::Vec3& centre);

    uint32_t getNumThreads() const { return engineThread.getNumThreads(); }
    bool isCalculating() const { return calculating.load(); }
    // Where the latest calculation (or the one running) spent its time so far.
    CalculationTimes::Snapshot lastCalculationTimes() const { return times.snapshot(); }
    bool isDispatcherRunning() const { return engineThread.isDispatcherRunning(); }

private:
    struct Calculation;
    struct SetCalculation;

    void recordChange(uint32_t code);
    void runCalculation(PropChangeCollection& collection, bool wait, bool fromChange);
    bool claimCalculation(bool wait, bool fromChange);
    void calculationReleased();
    void firstJob(const std::shared_ptr<Calculation>& calculation, const std::atomic<bool>& cancel);
    bool settle(const Calculation& calculation, const std::atomic<bool>& cancel);
    uint64_t queueArrivalJob(uint64_t id, const std::shared_ptr<Calculation>& calculation,
                             const std::atomic<bool>& cancel);
    void arrivalJob(SetCalculation& set, const std::atomic<bool>& cancel);
    void planChunks(const std::shared_ptr<SetCalculation>& set,
                    const std::shared_ptr<Calculation>& calculation);
    void completeChunk(SetCalculation& set, const Calculation& calculation);
    // Runs a job or completion of a calculation unless the calculation has been abandoned. Work that
    // throws abandons its calculation, so that listeners see it end; the failure is logged
    // once per set (set null: a failure outside any set).
    void guarded(SetCalculation* set, Calculation& calculation, const std::function<void()>& work);
    void abandon(SetCalculation* set, Calculation& calculation, const std::string& what);
    uint64_t computeSourceArrivals(const Clusters::Snapshot& sources, ArrivalsList& arrivals,
                                   const std::vector<FieldPoint>& positions, uint64_t filter,
                                   const std::atomic<bool>& cancel);

    EngineThread engineThread;
    Surfaces surfaces;
    Clusters clusters;
    ResultStore results;
    PropChangeCollection changes;
    std::atomic<bool> calculationEnabled{false};
    FieldPointStore fieldPoints;
    std::atomic<bool> calculating{false};
    CalculationTimes times;
    // A change arrived while a calculation was settling or planning and could not start one.
    std::atomic<bool> changeRefused{false};
    std::atomic<bool> destroying{false};
    const std::chrono::milliseconds settlingPause;
    const bool chunkArrivals;
};

} // namespace acoustics
} // namespace zorvpro
