#pragma once

#include "acoustics/cluster/LoudspeakerCluster.h"
#include "acoustics/model/Arrival.h"
#include "acoustics/model/BOM.h"
#include "acoustics/model/FrequencyMask.h"
#include "acoustics/model/PropChange.h"
#include "core/math/Vector3.h"

#include <memory>
#include <mutex>
#include <unordered_map>
#include <utility>
#include <vector>

namespace zorvpro::acoustics
{

class BeamSteerImpl;
class Connection;
class LoudspeakerImpl;

class LoudspeakerClusterImpl : public LoudspeakerCluster, public PropChange, public PropChangeListener
{
public:
    // Beam filter of each driver, by module key and then transducer index.
    using TransducerFilters = std::unordered_map<uint32_t, FrequencyMask>;
    using ModuleFilters = std::unordered_map<uint32_t, TransducerFilters>;
    // (module key, transducer index) of each driver-table row, in row order.
    using DriverKeys = std::vector<std::pair<uint32_t, uint32_t>>;
    // The response cache entry of one beam: its filters and the driver
    // table rows they were made from.
    struct BeamResponse
    {
        ModuleFilters filters;
        DriverKeys drivers;
    };
    using ArrivalLists = std::vector<std::vector<Arrival>>;

    LoudspeakerClusterImpl();
    // Leaves no beam solver able to call back into, or walk the modules of,
    // the destroyed cluster.
    ~LoudspeakerClusterImpl() override;

    void setTransform(const math::Mat4& transform) override;

    uint64_t getModuleCount() override;
    void removeModuleAt(uint64_t index) override;
    void removeModule(std::shared_ptr<Loudspeaker> module) override;
    bool canAddModule(std::shared_ptr<Loudspeaker> module) override;
    int addModule(std::shared_ptr<Loudspeaker> module) override;

    void setMuted(bool muted) override;
    bool isMuted() override;
    void toggleMuted() override;

    double setGain(double gainDb) override;
    double getGain() override;
    double getGainHeadroom() override;
    void setDelay(double delayMs) override;
    double getDelay() override;

    bool isSteerable() override;
    int addBeamSteer(std::shared_ptr<BeamSteer> beam) override;
    int setBeamSteerAt(std::shared_ptr<BeamSteer> beam, uint64_t index) override;
    void removeBeamSteerAt(uint64_t index) override;
    void removeBeamSteer(std::shared_ptr<BeamSteer> beam) override;
    void removeAllBeamSteers() override;
    std::shared_ptr<BeamSteer> getBeamSteerAt(uint64_t index) override;
    uint64_t getBeamSteerCount() override;
    uint32_t getMaxBeamCount() override;
    std::vector<int32_t> getBeamAlgorithms() override;

    const BOM& getBOM() override;
    double getComponentTotal() override;
    math::BBox getBoundingBox() override;

    double getMaxGain() override;

    // One list of arrivals per point, in point order. Runs on engine threads
    // while the cluster is being edited.
    ArrivalLists computeArrivals(const std::vector<math::Vec3>& points);
    std::vector<Arrival> computeArrivalsAtPoint(const math::Vec3& point);

    // Maximum gain in decibels before clamping; the largest double without modules.
    double computeMaxGain(double reference);
    // Linear factor (at most 1) that keeps the sum of several beams on one
    // driver within the maximum gain.
    double computeBeamLevelFactor();
    // Rebuilds every beam's entry. Must not be called with the cluster lock
    // held (it reads the beam solvers).
    void rebuildResponseCache();

    // Reacts to the cluster's own codes and to those of its beam solvers,
    // then republishes the code.
    void propChanged(uint32_t code) override;

    // A copy of the broadband level factor mask applied to the arrivals.
    FrequencyMask getResponseMask();

    // What computeArrivals reads, also read by the engine's flat arrival path
    // (acoustics/fast), which repeats its arithmetic without arrival records.
    using ModuleList = std::vector<std::shared_ptr<Loudspeaker>>;
    ModuleList copyModules() const;
    double getGainAs(int32_t levelCode);
    double getDelayAs(int32_t timeCode);
    // Looks the driver's filter up in cache entry beam and copies the response
    // mask, both under the cluster lock so that neither is seen half-written.
    bool lookupFilter(uint64_t beam, uint32_t moduleKey, uint32_t transducerIndex, FrequencyMask& filter,
                      DoubleBuffer& maskMagnitudes);

private:
    // Hears one beam solver for the cluster, so that a solve rebuilds only
    // that beam's entry and the cluster reads no other solver meanwhile.
    class BeamLink final : public PropChangeListener
    {
    public:
        BeamLink(LoudspeakerClusterImpl& cluster, BeamSteerImpl& beam) : cluster(cluster), beam(beam) {}
        void propChanged(uint32_t code) override;

    private:
        LoudspeakerClusterImpl& cluster;
        BeamSteerImpl& beam;
    };

    struct BeamEntry
    {
        std::shared_ptr<BeamSteerImpl> beam;
        std::unique_ptr<BeamLink> link;
    };

    std::shared_ptr<Loudspeaker> findAnchor(const ModuleList& modules) const;
    bool findConnection(const Loudspeaker& module, const Loudspeaker* anchor, Connection& record) const;
    // Derived data of the members, then every beam refreshed from them.
    void rebuild();
    void refreshBeam(BeamSteerImpl& beam, const ModuleList& modules);
    std::vector<std::shared_ptr<BeamSteerImpl>> copyBeams() const;
    static BeamResponse makeBeamResponse(BeamSteerImpl& beam);
    void beamChanged(BeamSteerImpl& beam, uint32_t code);
    // After a new cache: the gain re-clamp, or the level factor.
    void limitAfterBeamChange();
    void applyBeamLevelFactor();

    uint32_t attachmentSide;
    BOM bom;
    double componentTotal = 0.0;
    math::BBox boundingBox;
    bool muted = false;
    std::vector<BeamEntry> beamSteers;
    double gain = 1.0;
    int32_t gainUnit;
    double delay = 0.0;
    int32_t delayUnit;
    std::vector<BeamResponse> responseCache;
    FrequencyMask responseMask;

    // Serialises the edits that call into beam solvers. Lock order: edit
    // lock, a beam's constraints, the beam, the cluster lock, then members,
    // nodes and placements. The cluster lock is therefore never held while a
    // beam solver or its constraints are called.
    RecursiveTimedMutex editLock;

    // Guards the derived box and total, which are read without the cluster
    // lock (the engine reads the box for every calculation).
    mutable std::mutex derivedLock;
};

} // namespace zorvpro::acoustics
