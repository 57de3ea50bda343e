#pragma once

#include "views/Render/Beam.h"
#include "views/Render/SpeakerEntity.h"

#include <memory>
#include <string>

namespace zorvpro
{
class BeamSpeakerClusterNode;
class Node;
namespace acoustics
{
class BeamConstraints;
class DXFFace;
} // namespace acoustics
} // namespace zorvpro

namespace zorvpro::view
{

class BeamSpeakerEntity;
using BeamSpeakerEntityPtr = std::shared_ptr<BeamSpeakerEntity>;

// A steerable line array: up to three stacked copies of the module outline,
// hanging down from the first, with the display state of its two beams.
class BeamSpeakerEntity : public SpeakerEntity
{
    Q_OBJECT
    Q_PROPERTY(int numModules READ NumModules)
    Q_PROPERTY(int numBeams READ NumBeams)

public:
    static constexpr uint32_t kMaxDrawnModules = 3;
    static constexpr uint32_t kMaxBeams = 2;

    BeamSpeakerEntity(const std::string& name, const math::Vec3& centre, double rotation, double pitch,
                      uint32_t modules, uint32_t beams, uint32_t faceCount, const CornerFunction& corner);

    bool RebuildGeometry() override;

    // Beam 0 or 1; any other index throws std::out_of_range "Invalid beam index".
    Beam& beam(int index);
    const Beam& beam(int index) const;

    int NumModules() const { return int(m_modules); }
    int NumBeams() const { return int(m_beams); }
    // Both mark the entity dirty, whether or not the number changed.
    void SetNumModules(uint32_t modules);
    void SetNumBeams(uint32_t beams);
    const std::string& UserNote() const { return m_userNote; }
    void SetUserNote(const std::string& note) { m_userNote = note; }
    // The beam the user edits; its outline is drawn in front and with handles.
    int SelectedBeam() const { return m_selectedBeam; }
    void SetSelectedBeam(int index) { m_selectedBeam = index; }

    // The entity of a steerable array's node; empty for any other node or a
    // model without an outline.
    static EntityPtr CreateFromNode(const std::shared_ptr<Node>& node);
    // Copies the node's flags, placement, module and beam counts and beam
    // settings. At most two beams are shown.
    static void SyncFromNode(const std::shared_ptr<BeamSpeakerClusterNode>& node,
                             const BeamSpeakerEntityPtr& entity);
    // Refreshes the bottom bounding area of a spiral beam from its aim.
    static void SyncBeamBoundingArea(const std::shared_ptr<acoustics::BeamConstraints>& constraints,
                                     const BeamSpeakerEntityPtr& entity, int beamIndex);
    // The corners of a model outline: face and corner indices wrap around
    // (-1 is the last face, corner 5 is corner 1); bit k of a face's flag word
    // is corner k's edge flag.
    static CornerFunction OutlineCorners(std::shared_ptr<const std::vector<acoustics::DXFFace>> faces);
    // Loudspeaker colours for the light theme (true) or the dark one.
    static void ApplyTheme(const EntityPtr& entity, bool lightTheme);

private:
    // Up to kMaxDrawnModules, and at least one.
    uint32_t DrawnModules() const;

    uint32_t m_modules = 1;
    uint32_t m_beams = 1;
    std::string m_userNote;
    Beam m_beam0;
    Beam m_beam1;
    int m_selectedBeam = 0;
};

} // namespace zorvpro::view
