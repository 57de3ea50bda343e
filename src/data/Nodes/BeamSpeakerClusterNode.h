#pragma once

#include "acoustics/beam/BeamConstraintsSpiral.h"
#include "acoustics/beam/BeamSteer.h"
#include "data/Nodes/LoudspeakerClusterNode.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zorvpro
{

// The key of a per-beam setting: the key and the index for beams 0 and 1,
// the bare key from index 2 on.
std::string BeamPropertyKey(const std::string& key, uint32_t beam);

class BeamSpeakerClusterNode;
using BeamSpeakerClusterNodePtr = std::shared_ptr<BeamSpeakerClusterNode>;

// A steerable line array: a cluster node whose cluster carries up to two
// beams. Beams read from a project file wait until the stored number of
// modules has joined; values pass through to the beam objects, which clamp.
class BeamSpeakerClusterNode : public LoudspeakerClusterNode
{
public:
    static constexpr const char* TypeNameText = "BeamSpeakerClusterNode";
    static constexpr uint32_t MaxBeams = 2;

    struct BeamData
    {
        bool automatic = false;
        bool evenness = true;
        uint32_t algorithm = 1; // 1 symmetric spread, 2 asymmetric, 3 asymmetric spiral
        double gain = 0.0;
        double topRearDistance = 1.0;
        double topRearAngle = 0.0;
        double bottomFrontDistance = 1.0;
        double bottomFrontAngle = 0.0;
        double steering = 0.0;
        double spreading = 0.0;
        bool smoothing = false;
    };
    using BeamDataPtr = std::shared_ptr<BeamData>;

    static BeamSpeakerClusterNodePtr Create(std::shared_ptr<acoustics::LoudspeakerCluster> cluster);
    // The node factory's creator; its beams are built when its modules are in.
    static NodePtr CreateFromProperties(const PropertyMap& properties);

    std::string TypeName() const override;
    void AddChild(const NodePtr& child) override;
    void WriteProperties(PropertyMap& properties) const override;

    // Builds beams still waiting for modules with the modules there are (a
    // file may name more modules than it holds). The beam operations below
    // call it first.
    void FinishLoading();
    bool HasPendingBeams() const { return m_pendingModules != 0; }

    uint32_t GetBeamCount();
    uint32_t GetBeamAlgorithm(uint32_t beam);
    double GetBeamGain(uint32_t beam);
    double GetBeamTopRearDistance(uint32_t beam);
    double GetBeamTopRearAngle(uint32_t beam);
    double GetBeamBottomFrontDistance(uint32_t beam);
    double GetBeamBottomFrontAngle(uint32_t beam);
    double GetBeamSteering(uint32_t beam);
    double GetBeamSpreading(uint32_t beam);
    double GetBeamEqGain(uint32_t beam);
    double GetBeamEqFrequency(uint32_t beam);
    double GetBeamEqTilt(uint32_t beam);
    bool GetBeamSmoothing(uint32_t beam);
    std::vector<acoustics::DriverRow> GetBeamDriverTable(uint32_t beam);
    std::shared_ptr<acoustics::BeamConstraintsSpiral> GetBeamSpiralConstraints(uint32_t beam);
    // The beam's constraints (its limits and the shape solve); empty without the beam.
    std::shared_ptr<acoustics::BeamConstraints> GetBeamConstraints(uint32_t beam)
    {
        return Constraints(beam);
    }

    void SetBeamSteering(uint32_t beam, double angle);
    void SetBeamSpreading(uint32_t beam, double angle);
    void SetBeamTopRear(uint32_t beam, double distance, double angle);
    void SetBeamBottomFront(uint32_t beam, double distance, double angle);
    void SetBeamSmoothing(uint32_t beam, bool on);
    void SetBeamGain(uint32_t beam, double gainDb);

    // The beam's settings as its objects hold them; empty without the beam.
    BeamDataPtr GetBeamData(uint32_t beam);

    // Every setting the project file holds of the beams, with the module count they were solved
    // for, the array's gain, which the beams limit, and its placement and angles: all that one
    // edit of the array's beams, modules, gain or angles may change.
    struct BeamState
    {
        uint32_t modules = 0;
        double gain = 0.0;
        math::Mat4 transform;
        double pitch = 0.0;
        double yaw = 0.0;
        std::vector<BeamData> beams;
    };
    using BeamStatePtr = std::shared_ptr<const BeamState>;
    BeamStatePtr GetBeamState();
    // Brings beams, gain and placement back to the state exactly, solving nothing again, so that
    // values the solver derived return as they were. The modules are the caller's to bring back
    // first.
    void RestoreBeamState(const BeamState& state);
    // Replaces the beam by one of the algorithm, keeping its gain and aim.
    void SetBeamAlgorithm(uint32_t beam, uint32_t algorithm);
    // One beam more (algorithm 1) or one less (the last) towards count.
    void SetBeamCount(uint32_t count);

    // Height of the first module's outline top above that module's origin; 0 without modules.
    // An array hangs from its top: the node's origin is that point, so the engine and the
    // drawing both put the first module's origin this far below it.
    double GetModuleTop() const;

protected:
    explicit BeamSpeakerClusterNode(std::shared_ptr<acoustics::LoudspeakerCluster> cluster);

    double ModuleDrop() const override { return GetModuleTop(); }

private:
    std::shared_ptr<acoustics::BeamSteer> Beam(uint32_t beam);
    std::shared_ptr<acoustics::BeamConstraints> Constraints(uint32_t beam);
    void BuildPendingBeams();
    static void WriteBeam(PropertyMap& properties, uint32_t index, const BeamData& data);

    // Each beam read from the file beside the state it was built into: while a
    // beam keeps that state, the file's own values are written back, so an
    // unchanged project saves the same text again (the redundant angles of a
    // beam need not round-trip through the solver exactly).
    struct LoadedBeam
    {
        BeamData read;
        BeamData built;
    };
    std::vector<LoadedBeam> m_loadedBeams;
    std::vector<BeamData> m_pendingBeams;
    uint32_t m_pendingModules = 0;
    double m_pendingGain = 0.0;
};

} // namespace zorvpro
