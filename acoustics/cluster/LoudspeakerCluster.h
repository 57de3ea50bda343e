#pragma once

#include "acoustics/model/Node.h"
#include "acoustics/model/Placement.h"
#include "acoustics/model/RecursiveMutex.h"
#include "core/math/BBox.h"
#include "core/math/Matrix4.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace zorvpro::acoustics
{

class BOM;
class BeamSteer;
class Loudspeaker;

// One placed group of up to three loudspeaker modules joined by their
// mechanical connections, with one placement, gain, delay and mute switch and
// the beam solvers that drive the modules as a steerable array. The members
// are the children of the cluster's node, in order.
class LoudspeakerCluster : public Placement, public Node
{
public:
    ~LoudspeakerCluster() override = default;

    // Stores the matrix and its inverse, then publishes the transform change.
    void setTransform(const math::Mat4& transform) override = 0;

    virtual uint64_t getModuleCount() = 0;
    virtual void removeModuleAt(uint64_t index) = 0;
    virtual void removeModule(std::shared_ptr<Loudspeaker> module) = 0;
    // True when the module could be connected now; changes nothing.
    virtual bool canAddModule(std::shared_ptr<Loudspeaker> module) = 0;
    // 1 when the module was connected, 0 otherwise.
    virtual int addModule(std::shared_ptr<Loudspeaker> module) = 0;

    virtual void setMuted(bool muted) = 0;
    virtual bool isMuted() = 0;
    virtual void toggleMuted() = 0;

    // Decibels, clamped to [-60, maximum gain]; returns the clamped value.
    virtual double setGain(double gainDb) = 0;
    virtual double getGain() = 0;
    virtual double getGainHeadroom() = 0;
    // Milliseconds, at least 0.
    virtual void setDelay(double delayMs) = 0;
    virtual double getDelay() = 0;

    virtual bool isSteerable() = 0;
    virtual int addBeamSteer(std::shared_ptr<BeamSteer> beam) = 0;
    virtual int setBeamSteerAt(std::shared_ptr<BeamSteer> beam, uint64_t index) = 0;
    virtual void removeBeamSteerAt(uint64_t index) = 0;
    virtual void removeBeamSteer(std::shared_ptr<BeamSteer> beam) = 0;
    virtual void removeAllBeamSteers() = 0;
    virtual std::shared_ptr<BeamSteer> getBeamSteerAt(uint64_t index) = 0;
    virtual uint64_t getBeamSteerCount() = 0;
    virtual uint32_t getMaxBeamCount() = 0;
    virtual std::vector<int32_t> getBeamAlgorithms() = 0;

    // Union of the members' bills, rebuilt on every membership change.
    virtual const BOM& getBOM() = 0;
    virtual double getComponentTotal() = 0;
    virtual math::BBox getBoundingBox() = 0;
    virtual double getExtentZ();
    virtual double getExtentX();
    virtual double getExtentY();

    // Maximum cluster gain in decibels, within [-50, 50].
    virtual double getMaxGain() = 0;

protected:
    LoudspeakerCluster() = default;

    // A cluster accepts every placement.
    bool onPlacementChange(const math::Vec3& position, const Orientation& orientation) override;

    mutable RecursiveTimedMutex clusterLock;
};

// A new, empty cluster.
std::shared_ptr<LoudspeakerCluster> createLoudspeakerCluster();

} // namespace zorvpro::acoustics
