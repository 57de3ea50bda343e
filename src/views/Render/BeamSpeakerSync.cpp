// Ties a steerable array's node in the project tree to its view entity.
#include "acoustics/beam/BeamConstraintsSpiral.h"
#include "core/Logger/OmbraxLogger.h"
#include "data/Nodes/BeamSpeakerClusterNode.h"
#include "data/Nodes/LoudspeakerNode.h"
#include "views/Render/BeamSpeakerEntity.h"

#include <algorithm>

namespace zorvpro::view
{

namespace
{
int Wrap(int value, int count)
{
    return (count + value % count) % count;
}
} // namespace

EntityPtr BeamSpeakerEntity::CreateFromNode(const std::shared_ptr<Node>& node)
{
    auto array = std::dynamic_pointer_cast<BeamSpeakerClusterNode>(node);
    if (!array)
        return {};
    auto module = std::dynamic_pointer_cast<LoudspeakerNode>(array->GetChild(0));
    if (!module)
        return {};
    std::vector<acoustics::DXFFace> faces = module->GetDxfFaces();
    if (faces.empty())
        return {};
    // The outline hangs from the node's origin, as the engine places the modules.
    const double top = array->GetModuleTop();
    for (acoustics::DXFFace& face : faces)
        for (math::Vec3& point : face.points)
            point.z -= top;
    const auto count = uint32_t(faces.size());
    auto corner = OutlineCorners(std::make_shared<const std::vector<acoustics::DXFFace>>(faces));
    auto entity = std::make_shared<BeamSpeakerEntity>(array->GetName(), math::Vec3(), array->GetYaw(),
                                                      array->GetPitch(), 1, 1, count, corner);
    SyncFromNode(array, entity);
    return entity;
}

SpeakerEntity::CornerFunction
BeamSpeakerEntity::OutlineCorners(std::shared_ptr<const std::vector<acoustics::DXFFace>> faces)
{
    return [faces](int f, int k, bool& edge)
    {
        edge = false;
        if (!faces || faces->empty())
            return math::Vec3();
        const acoustics::DXFFace& face = (*faces)[size_t(Wrap(f, int(faces->size())))];
        const int c = Wrap(k, 4);
        edge = (face.type >> c) & 1u;
        // A face with fewer corners repeats its last one.
        if (face.points.empty())
            return math::Vec3();
        return face.points[std::min(size_t(c), face.points.size() - 1)];
    };
}

void BeamSpeakerEntity::SyncFromNode(const std::shared_ptr<BeamSpeakerClusterNode>& node,
                                     const BeamSpeakerEntityPtr& entity)
{
    if (!node || !entity)
        return;
    entity->setLocked(node->GetLocked());
    entity->setVisible(node->GetVisible());
    entity->setMuted(node->IsMuted());
    entity->setTransform(node->GetTransform());
    entity->SetNumModules(uint32_t(node->GetChildren().size()));
    entity->SetUserNote(node->GetUserNote());
    // The node keeps at most two beams; should it ever hold more, the view shows two.
    const uint32_t beams = std::min(node->GetBeamCount(), kMaxBeams);
    entity->SetNumBeams(beams);
    // The transform above already carries the node's angles: record them
    // without turning it a second time.
    entity->AdoptAngles(node->GetYaw(), node->GetPitch());
    entity->SetGainAndDelay(node->GetGain(), node->GetDelay());
    for (uint32_t i = 0; i < beams; ++i)
    {
        Beam& beam = entity->beam(int(i));
        const auto data = node->GetBeamData(i);
        beam.setAutomatic(data ? data->automatic : false);
        beam.setEvenness(data ? data->evenness : false);
        const uint32_t algorithm = node->GetBeamAlgorithm(i);
        beam.setAlgorithm(BeamAlgorithmFromModel(algorithm));
        beam.setGain(node->GetBeamGain(i));
        beam.setTopRearDistance(node->GetBeamTopRearDistance(i));
        beam.setTopRearAngle(node->GetBeamTopRearAngle(i));
        beam.setBottomFrontDistance(node->GetBeamBottomFrontDistance(i));
        beam.setBottomFrontAngle(node->GetBeamBottomFrontAngle(i));
        beam.setSteering(node->GetBeamSteering(i));
        beam.setSpreading(node->GetBeamSpreading(i));
        beam.setSmoothing(node->GetBeamSmoothing(i));
        if (algorithm == 3)
        {
            if (auto constraints = node->GetBeamSpiralConstraints(i))
                SyncBeamBoundingArea(constraints, entity, int(i));
        }
    }
}

void BeamSpeakerEntity::SyncBeamBoundingArea(const std::shared_ptr<acoustics::BeamConstraints>& constraints,
                                             const BeamSpeakerEntityPtr& entity, int beamIndex)
{
    auto spiral = std::dynamic_pointer_cast<acoustics::BeamConstraintsSpiral>(constraints);
    if (!spiral || !entity)
        return;
    Beam& beam = entity->beam(beamIndex);
    std::array<math::Vec3, 5> p;
    spiral->computeGuidePoints(acoustics::Angle(beam.topRearAngle()), beam.topRearDistance(), p[0], p[1],
                               p[2], p[3], p[4]);
    beam.setBottomBoundingArea(p[0], p[1], p[2], p[3], p[4]);
}

void BeamSpeakerEntity::ApplyTheme(const EntityPtr& entity, bool lightTheme)
{
    auto speaker = std::dynamic_pointer_cast<SpeakerEntity>(entity);
    if (!speaker)
        return;
    speaker->setSelectedColor(QColor(lightTheme ? "#242424" : "#F8F8F8"));
    speaker->setUnselectedColor(QColor("#777777"));
}

} // namespace zorvpro::view
