#include "data/Nodes/BeamSpeakerClusterNode.h"

#include "acoustics/beam/BeamSteerFactory.h"
#include "core/Logger/OmbraxLogger.h"
#include "core/Nodes/NodeProperties.h"
#include "data/Nodes/LoudspeakerNode.h"

#include <cmath>

namespace zorvpro
{

namespace
{
using acoustics::Angle;

const char* const NumBeamsKey = "NumBeams";
const char* const NumModulesKey = "NumModules";
const char* const ClusterGainKey = "ClusterGain";

std::shared_ptr<acoustics::BeamSteer> BeamAt(const std::shared_ptr<acoustics::LoudspeakerCluster>& cluster,
                                             uint32_t beam)
{
    if (!cluster || beam >= cluster->getBeamSteerCount())
        return {};
    return cluster->getBeamSteerAt(beam);
}

// Beam settings as the beam objects hold them.
BeamSpeakerClusterNode::BeamData Snapshot(acoustics::BeamSteer& beam, acoustics::BeamConstraints& constraints)
{
    BeamSpeakerClusterNode::BeamData data;
    data.algorithm = beam.getAlgorithm();
    data.gain = beam.getBeamGain();
    data.topRearDistance = constraints.getTopDistance();
    data.topRearAngle = constraints.getTopAngle().radians();
    data.bottomFrontDistance = constraints.getBottomDistance();
    data.bottomFrontAngle = constraints.getBottomAngle().radians();
    data.steering = constraints.getSteeringAngle().radians();
    data.spreading = constraints.getSpreadingAngle().radians();
    data.smoothing = constraints.isShadingOn();
    return data;
}

bool SameBeam(const BeamSpeakerClusterNode::BeamData& a, const BeamSpeakerClusterNode::BeamData& b)
{
    return a.algorithm == b.algorithm && a.gain == b.gain && a.topRearDistance == b.topRearDistance &&
           a.topRearAngle == b.topRearAngle && a.bottomFrontDistance == b.bottomFrontDistance &&
           a.bottomFrontAngle == b.bottomFrontAngle && a.steering == b.steering &&
           a.spreading == b.spreading && a.smoothing == b.smoothing;
}

// True when the file's text of the two values would differ (six digits).
bool DiffersInFile(double a, double b)
{
    return std::fabs(a - b) > 5e-6 * std::max(1.0, std::max(std::fabs(a), std::fabs(b)));
}

template <typename T> bool ReadRequired(const PropertyMap& properties, const std::string& key, T& value)
{
    if (ReadProperty(properties, key, value))
        return true;
    LogUnreadableProperty(key);
    return false;
}

bool ReadBeam(const PropertyMap& properties, uint32_t b, BeamSpeakerClusterNode::BeamData& data)
{
    int algorithm = 0;
    const std::string algorithmKey = BeamPropertyKey("Algorithm", b);
    if (!ReadRequired(properties, BeamPropertyKey("Automatic", b), data.automatic) ||
        !ReadRequired(properties, BeamPropertyKey("Evenness", b), data.evenness) ||
        !ReadRequired(properties, algorithmKey, algorithm))
        return false;
    if (algorithm < 0 || algorithm > 3)
    {
        LogUnreadableProperty(algorithmKey);
        return false;
    }
    data.algorithm = static_cast<uint32_t>(algorithm);
    return ReadRequired(properties, BeamPropertyKey("Gain", b), data.gain) &&
           ReadRequired(properties, BeamPropertyKey("TopRearDistance", b), data.topRearDistance) &&
           ReadRequired(properties, BeamPropertyKey("TopRearAngle", b), data.topRearAngle) &&
           ReadRequired(properties, BeamPropertyKey("BottomFrontDistance", b), data.bottomFrontDistance) &&
           ReadRequired(properties, BeamPropertyKey("BottomFrontAngle", b), data.bottomFrontAngle) &&
           ReadRequired(properties, BeamPropertyKey("Steering", b), data.steering) &&
           ReadRequired(properties, BeamPropertyKey("Spreading", b), data.spreading) &&
           ReadRequired(properties, BeamPropertyKey("Smoothing", b), data.smoothing);
}
} // namespace

std::string BeamPropertyKey(const std::string& key, uint32_t beam)
{
    return beam < 2 ? key + std::to_string(beam) : key;
}

BeamSpeakerClusterNode::BeamSpeakerClusterNode(std::shared_ptr<acoustics::LoudspeakerCluster> cluster)
    : LoudspeakerClusterNode(std::move(cluster))
{
}

BeamSpeakerClusterNodePtr
BeamSpeakerClusterNode::Create(std::shared_ptr<acoustics::LoudspeakerCluster> cluster)
{
    BeamSpeakerClusterNodePtr node(new BeamSpeakerClusterNode(std::move(cluster)));
    InitSelf(node);
    return node;
}

NodePtr BeamSpeakerClusterNode::CreateFromProperties(const PropertyMap& properties)
{
    int beamCount = 0, moduleCount = 1;
    double clusterGain = 0.0;
    if (!ReadRequired(properties, NumBeamsKey, beamCount))
        return {};
    if (beamCount < 0 || beamCount > int(MaxBeams))
    {
        OmbraxLogger::Log(
            LogLevel::Error,
            QString("NumBeams %1 is outside 0 to %2: the array is not loaded").arg(beamCount).arg(MaxBeams));
        return {};
    }
    if (!ReadProperty(properties, NumModulesKey, moduleCount) || moduleCount < 1)
        moduleCount = 1;
    if (!ReadRequired(properties, ClusterGainKey, clusterGain))
        return {};
    std::vector<BeamData> beams(static_cast<size_t>(beamCount));
    for (uint32_t b = 0; b < beams.size(); ++b)
    {
        if (!ReadBeam(properties, b, beams[b]))
            return {};
    }

    BeamSpeakerClusterNodePtr node = Create(acoustics::createLoudspeakerCluster());
    if (!node->ReadProperties(properties))
        return {};
    // The modules come afterwards, one by one; the last of them builds the beams.
    // The node joins the engine when it is attached, not here.
    node->m_pendingModules = static_cast<uint32_t>(moduleCount);
    node->m_pendingGain = clusterGain;
    node->m_pendingBeams = std::move(beams);
    return node;
}

std::string BeamSpeakerClusterNode::TypeName() const
{
    return TypeNameText;
}

void BeamSpeakerClusterNode::AddChild(const NodePtr& child)
{
    const uint64_t before = GetChildCount();
    LoudspeakerClusterNode::AddChild(child);
    if (GetChildCount() == before || !GetCluster())
        return;
    if (m_pendingModules == 0)
    {
        if (GetCluster()->getBeamSteerCount() == 0)
            GetCluster()->addBeamSteer(acoustics::BeamSteerFactory::instance().createBeamSteer(1));
        return;
    }
    if (GetChildCount() == m_pendingModules)
        BuildPendingBeams();
}

double BeamSpeakerClusterNode::GetModuleTop() const
{
    if (GetChildCount() == 0)
        return 0.0;
    const auto first = std::dynamic_pointer_cast<LoudspeakerNode>(GetChild(0));
    return first ? first->GetOutlineTop() : 0.0;
}

void BeamSpeakerClusterNode::FinishLoading()
{
    if (m_pendingModules != 0 && GetChildCount() > 0)
        BuildPendingBeams();
}

void BeamSpeakerClusterNode::BuildPendingBeams()
{
    const auto& cluster = GetCluster();
    for (const BeamData& data : m_pendingBeams)
    {
        if (data.algorithm == 0)
            continue;
        std::shared_ptr<acoustics::BeamSteer> beam =
            acoustics::BeamSteerFactory::instance().createBeamSteer(data.algorithm);
        if (!beam || cluster->addBeamSteer(beam) != 1)
            continue;
        beam->setBeamGain(data.gain);
        auto constraints = beam->getConstraints();
        if (!constraints)
            continue;
        constraints->setShadingOn(data.smoothing);
        constraints->setPoints(Angle(data.topRearAngle), data.topRearDistance, Angle(data.bottomFrontAngle),
                               data.bottomFrontDistance);
        // The stored angles count too, where the aim alone does not give them back.
        if (constraints->supportsSteering() &&
            DiffersInFile(constraints->getSteeringAngle().radians(), data.steering))
        {
            Angle steering(data.steering);
            constraints->setSteeringAngle(steering);
        }
        if (constraints->supportsSpreading() &&
            DiffersInFile(constraints->getSpreadingAngle().radians(), data.spreading))
        {
            Angle spreading(data.spreading);
            constraints->setSpreadingAngle(spreading);
        }
        m_loadedBeams.resize(cluster->getBeamSteerCount());
        m_loadedBeams.back() = LoadedBeam{data, Snapshot(*beam, *constraints)};
    }
    m_pendingBeams.clear();
    m_pendingModules = 0;
    SetGain(m_pendingGain);
}

void BeamSpeakerClusterNode::WriteBeam(PropertyMap& properties, uint32_t b, const BeamData& data)
{
    WriteProperty(properties, BeamPropertyKey("Automatic", b), false);
    WriteProperty(properties, BeamPropertyKey("Evenness", b), false);
    WriteProperty(properties, BeamPropertyKey("Algorithm", b), static_cast<int>(data.algorithm));
    WriteProperty(properties, BeamPropertyKey("Gain", b), data.gain);
    WriteProperty(properties, BeamPropertyKey("TopRearDistance", b), data.topRearDistance);
    WriteProperty(properties, BeamPropertyKey("TopRearAngle", b), data.topRearAngle);
    WriteProperty(properties, BeamPropertyKey("BottomFrontDistance", b), data.bottomFrontDistance);
    WriteProperty(properties, BeamPropertyKey("BottomFrontAngle", b), data.bottomFrontAngle);
    WriteProperty(properties, BeamPropertyKey("Steering", b), data.steering);
    WriteProperty(properties, BeamPropertyKey("Spreading", b), data.spreading);
    WriteProperty(properties, BeamPropertyKey("Smoothing", b), data.smoothing);
}

void BeamSpeakerClusterNode::WriteProperties(PropertyMap& properties) const
{
    LoudspeakerClusterNode::WriteProperties(properties);
    std::vector<BeamData> beams;
    if (m_pendingModules != 0)
    {
        // Still waiting for modules: what was read is written back, nothing is lost.
        beams = m_pendingBeams;
        WriteProperty(properties, "ClusterGain", m_pendingGain);
    }
    else if (const auto& cluster = GetCluster())
    {
        for (uint32_t b = 0; b < cluster->getBeamSteerCount(); ++b)
        {
            auto beam = BeamAt(cluster, b);
            auto constraints = beam ? beam->getConstraints() : nullptr;
            BeamData data;
            if (beam && constraints)
            {
                data = Snapshot(*beam, *constraints);
                if (b < m_loadedBeams.size() && SameBeam(data, m_loadedBeams[b].built))
                    data = m_loadedBeams[b].read;
            }
            else if (beam)
                data.algorithm = beam->getAlgorithm();
            beams.push_back(data);
        }
    }
    WriteProperty(properties, NumBeamsKey, static_cast<int>(beams.size()));
    WriteProperty(properties, NumModulesKey,
                  static_cast<int>(m_pendingModules != 0 ? m_pendingModules : GetChildCount()));
    for (uint32_t b = 0; b < beams.size(); ++b)
        WriteBeam(properties, b, beams[b]);
}

std::shared_ptr<acoustics::BeamSteer> BeamSpeakerClusterNode::Beam(uint32_t beam)
{
    FinishLoading();
    return BeamAt(GetCluster(), beam);
}

std::shared_ptr<acoustics::BeamConstraints> BeamSpeakerClusterNode::Constraints(uint32_t beam)
{
    auto steer = Beam(beam);
    return steer ? steer->getConstraints() : nullptr;
}

uint32_t BeamSpeakerClusterNode::GetBeamCount()
{
    FinishLoading();
    return GetCluster() ? static_cast<uint32_t>(GetCluster()->getBeamSteerCount()) : 0;
}

uint32_t BeamSpeakerClusterNode::GetBeamAlgorithm(uint32_t beam)
{
    auto steer = Beam(beam);
    return steer ? steer->getAlgorithm() : 1;
}

double BeamSpeakerClusterNode::GetBeamGain(uint32_t beam)
{
    auto steer = Beam(beam);
    return steer ? steer->getBeamGain() : 0.0;
}

double BeamSpeakerClusterNode::GetBeamTopRearDistance(uint32_t beam)
{
    auto c = Constraints(beam);
    return c ? c->getTopDistance() : 0.0;
}

double BeamSpeakerClusterNode::GetBeamTopRearAngle(uint32_t beam)
{
    auto c = Constraints(beam);
    return c ? c->getTopAngle().radians() : 0.0;
}

double BeamSpeakerClusterNode::GetBeamBottomFrontDistance(uint32_t beam)
{
    auto c = Constraints(beam);
    return c ? c->getBottomDistance() : 0.0;
}

double BeamSpeakerClusterNode::GetBeamBottomFrontAngle(uint32_t beam)
{
    auto c = Constraints(beam);
    return c ? c->getBottomAngle().radians() : 0.0;
}

double BeamSpeakerClusterNode::GetBeamSteering(uint32_t beam)
{
    auto c = Constraints(beam);
    return c ? c->getSteeringAngle().radians() : 0.0;
}

double BeamSpeakerClusterNode::GetBeamSpreading(uint32_t beam)
{
    auto c = Constraints(beam);
    return c ? c->getSpreadingAngle().radians() : 0.0;
}

double BeamSpeakerClusterNode::GetBeamEqGain(uint32_t beam)
{
    auto steer = Beam(beam);
    return steer ? steer->getArrayEQGain() : 0.0;
}

double BeamSpeakerClusterNode::GetBeamEqFrequency(uint32_t beam)
{
    auto steer = Beam(beam);
    return steer ? steer->getArrayEQFrequency() : 0.0;
}

double BeamSpeakerClusterNode::GetBeamEqTilt(uint32_t beam)
{
    auto steer = Beam(beam);
    return steer ? steer->getArrayEQTilt() : 0.0;
}

bool BeamSpeakerClusterNode::GetBeamSmoothing(uint32_t beam)
{
    auto c = Constraints(beam);
    return c ? c->isShadingOn() : false;
}

std::vector<acoustics::DriverRow> BeamSpeakerClusterNode::GetBeamDriverTable(uint32_t beam)
{
    auto steer = Beam(beam);
    return steer ? steer->getDriverTable() : std::vector<acoustics::DriverRow>();
}

std::shared_ptr<acoustics::BeamConstraintsSpiral>
BeamSpeakerClusterNode::GetBeamSpiralConstraints(uint32_t beam)
{
    return std::dynamic_pointer_cast<acoustics::BeamConstraintsSpiral>(Constraints(beam));
}

void BeamSpeakerClusterNode::SetBeamSteering(uint32_t beam, double angle)
{
    if (auto c = Constraints(beam))
    {
        Angle value(angle);
        c->setSteeringAngle(value);
    }
}

void BeamSpeakerClusterNode::SetBeamSpreading(uint32_t beam, double angle)
{
    if (auto c = Constraints(beam))
    {
        Angle value(angle);
        c->setSpreadingAngle(value);
    }
}

void BeamSpeakerClusterNode::SetBeamTopRear(uint32_t beam, double distance, double angle)
{
    if (auto c = Constraints(beam))
    {
        Angle value(angle);
        c->setTopPoint(value, distance);
    }
}

void BeamSpeakerClusterNode::SetBeamBottomFront(uint32_t beam, double distance, double angle)
{
    if (auto c = Constraints(beam))
    {
        Angle value(angle);
        c->setBottomPoint(value, distance);
    }
}

void BeamSpeakerClusterNode::SetBeamSmoothing(uint32_t beam, bool on)
{
    if (auto c = Constraints(beam))
        c->setShadingOn(on);
}

void BeamSpeakerClusterNode::SetBeamGain(uint32_t beam, double gainDb)
{
    if (auto steer = Beam(beam))
        steer->setBeamGain(gainDb);
}

BeamSpeakerClusterNode::BeamDataPtr BeamSpeakerClusterNode::GetBeamData(uint32_t beam)
{
    auto steer = Beam(beam);
    auto c = steer ? steer->getConstraints() : nullptr;
    if (!c)
        return {};
    auto data = std::make_shared<BeamData>(Snapshot(*steer, *c));
    data->evenness = true;
    return data;
}

BeamSpeakerClusterNode::BeamStatePtr BeamSpeakerClusterNode::GetBeamState()
{
    auto state = std::make_shared<BeamState>();
    const uint32_t count = GetBeamCount();
    state->modules = static_cast<uint32_t>(GetChildCount());
    state->gain = GetGain();
    state->transform = GetTransform();
    state->pitch = GetPitch();
    state->yaw = GetYaw();
    for (uint32_t b = 0; b < count; ++b)
    {
        BeamData data;
        if (const BeamDataPtr held = GetBeamData(b))
            data = *held;
        else
            data.algorithm = GetBeamAlgorithm(b);
        state->beams.push_back(data);
    }
    return state;
}

void BeamSpeakerClusterNode::RestoreBeamState(const BeamState& state)
{
    const auto& cluster = GetCluster();
    if (!cluster)
        return;
    if (!(GetTransform() == state.transform) || GetPitch() != state.pitch || GetYaw() != state.yaw)
        RestoreOrientation(state.transform, state.pitch, state.yaw);
    while (GetBeamCount() > state.beams.size())
        SetBeamCount(GetBeamCount() - 1);
    while (GetBeamCount() < state.beams.size())
    {
        const uint32_t before = GetBeamCount();
        SetBeamCount(before + 1);
        if (GetBeamCount() == before)
            break;
    }
    for (uint32_t b = 0; b < GetBeamCount() && b < state.beams.size(); ++b)
    {
        const BeamData& data = state.beams[b];
        std::shared_ptr<acoustics::BeamSteer> steer = Beam(b);
        if (steer && steer->getAlgorithm() != data.algorithm)
        {
            auto replacement = acoustics::BeamSteerFactory::instance().createBeamSteer(data.algorithm);
            if (replacement && cluster->setBeamSteerAt(replacement, b) == 1)
                steer = replacement;
        }
        if (!steer)
            continue;
        steer->setBeamGain(data.gain);
        if (const auto c = steer->getConstraints())
            c->restoreValues(Angle(data.steering), Angle(data.spreading), Angle(data.topRearAngle),
                             data.topRearDistance, Angle(data.bottomFrontAngle), data.bottomFrontDistance,
                             data.smoothing);
    }
    // Last: the beams set how high the gain may go, and a beam put back earlier may have lowered it.
    if (GetGain() != state.gain)
        SetGain(state.gain);
}

void BeamSpeakerClusterNode::SetBeamAlgorithm(uint32_t beam, uint32_t algorithm)
{
    auto old = Beam(beam);
    if (!old || old->getAlgorithm() == algorithm)
        return;
    BeamDataPtr snapshot = GetBeamData(beam);
    std::shared_ptr<acoustics::BeamSteer> replacement =
        acoustics::BeamSteerFactory::instance().createBeamSteer(algorithm);
    if (!replacement || GetCluster()->setBeamSteerAt(replacement, beam) != 1 || !snapshot)
        return;
    replacement->setBeamGain(snapshot->gain);
    if (auto c = replacement->getConstraints())
    {
        Angle top(snapshot->topRearAngle), bottom(snapshot->bottomFrontAngle);
        double topDistance = snapshot->topRearDistance, bottomDistance = snapshot->bottomFrontDistance;
        c->setTopPoint(top, topDistance);
        c->setBottomPoint(bottom, bottomDistance);
    }
}

void BeamSpeakerClusterNode::SetBeamCount(uint32_t count)
{
    const uint32_t current = GetBeamCount();
    if (!GetCluster() || count == current)
        return;
    if (count > current)
        GetCluster()->addBeamSteer(acoustics::BeamSteerFactory::instance().createBeamSteer(1));
    else
        GetCluster()->removeBeamSteerAt(current - 1);
}

} // namespace zorvpro
