#include "data/Nodes/LoudspeakerClusterNode.h"

#include "acoustics/engine/IZorvAcoustics.h"
#include "core/Base/ApplicationSeam.h"
#include "core/Nodes/NodeProperties.h"
#include "data/Nodes/LoudspeakerNode.h"
#include "data/Nodes/ReorientTransform.h"

#include <cmath>

namespace zorvpro
{

namespace
{
const char* const UserNoteKey = "UserNote";
const char* const ZRotationKey = "ZRotation";
const char* const PitchKey = "Pitch";
const char* const GainKey = "ClusterGain";
const char* const MutedKey = "Muted";
const char* const DelayKey = "ClusterDelay";

template <typename T> bool ReadRequired(const PropertyMap& properties, const char* key, T& value)
{
    if (ReadProperty(properties, key, value))
        return true;
    LogUnreadableProperty(key);
    return false;
}
} // namespace

LoudspeakerClusterNode::LoudspeakerClusterNode(std::shared_ptr<acoustics::LoudspeakerCluster> cluster)
    : m_cluster(std::move(cluster))
{
}

LoudspeakerClusterNodePtr
LoudspeakerClusterNode::Create(std::shared_ptr<acoustics::LoudspeakerCluster> cluster)
{
    LoudspeakerClusterNodePtr node(new LoudspeakerClusterNode(std::move(cluster)));
    InitSelf(node);
    return node;
}

NodePtr LoudspeakerClusterNode::CreateFromProperties(const PropertyMap& properties)
{
    LoudspeakerClusterNodePtr node = Create(acoustics::createLoudspeakerCluster());
    if (!node->ReadProperties(properties))
        return {};
    return node;
}

void LoudspeakerClusterNode::OnAttached(const NodePtr&)
{
    if (auto engine = CurrentAcousticsEngine(); engine && m_cluster)
        engine->addCluster(m_cluster);
    for (const NodePtr& child : GetChildren())
        child->OnAttached(child);
}

void LoudspeakerClusterNode::OnDetached(const NodePtr&)
{
    if (auto engine = CurrentAcousticsEngine(); engine && m_cluster)
        engine->removeCluster(m_cluster);
    for (const NodePtr& child : GetChildren())
        child->OnDetached(child);
}

void LoudspeakerClusterNode::AddChild(const NodePtr& child)
{
    auto speaker = std::dynamic_pointer_cast<LoudspeakerNode>(child);
    if (!speaker || !m_cluster || !m_cluster->canAddModule(speaker->GetModel()))
        return;
    if (m_cluster->addModule(speaker->GetModel()) != 1)
        return;
    Node::AddChild(child);
    // The first module fixes where the modules hang from the node's origin.
    PlaceCluster();
}

void LoudspeakerClusterNode::RemoveChildAt(int32_t index)
{
    if (index < 0 || static_cast<uint64_t>(index) >= GetChildCount())
        return;
    Node::RemoveChildAt(index);
    if (m_cluster)
        m_cluster->removeModuleAt(static_cast<uint64_t>(index));
    PlaceCluster();
}

std::string LoudspeakerClusterNode::TypeName() const
{
    return TypeNameText;
}

void LoudspeakerClusterNode::WriteProperties(PropertyMap& properties) const
{
    PhysicalNode::WriteProperties(properties);
    WriteProperty(properties, UserNoteKey, m_userNote);
    WriteProperty(properties, NodeKeys::Locked, m_locked);
    WriteProperty(properties, NodeKeys::Visible, m_visible);
    WriteProperty(properties, ZRotationKey, m_zRotation);
    WriteProperty(properties, PitchKey, m_pitch);
    WriteProperty(properties, GainKey, GetGain());
    WriteProperty(properties, MutedKey, IsMuted());
    WriteProperty(properties, DelayKey, GetDelay());
}

bool LoudspeakerClusterNode::ReadProperties(const PropertyMap& properties)
{
    if (!PhysicalNode::ReadProperties(properties))
        return false;
    if (!ReadRequired(properties, UserNoteKey, m_userNote) ||
        !ReadRequired(properties, NodeKeys::Locked, m_locked) ||
        !ReadRequired(properties, NodeKeys::Visible, m_visible) ||
        !ReadRequired(properties, ZRotationKey, m_zRotation))
        return false;
    if (!ReadProperty(properties, PitchKey, m_pitch))
        m_pitch = 0.0;

    double delay = 0.0, gain = 0.0;
    bool muted = false;
    if (!ReadRequired(properties, DelayKey, delay))
        return false;
    SetDelay(delay);
    if (!ReadRequired(properties, GainKey, gain))
        return false;
    SetGain(gain);
    if (!ReadRequired(properties, MutedKey, muted))
        return false;
    SetMuted(muted);
    PlaceCluster();
    return true;
}

void LoudspeakerClusterNode::SetTransform(const math::Mat4& transform)
{
    PhysicalNode::SetTransform(transform);
    PlaceCluster();
}

void LoudspeakerClusterNode::PlaceCluster()
{
    if (!m_cluster)
        return;
    // Position and orientation both: the engine's occlusion rays start from the position.
    const math::Vec3 position = math::TransformPoint(GetTransform(), math::Vec3(0, 0, -ModuleDrop()));
    if (std::isfinite(position.x) && std::isfinite(position.y) && std::isfinite(position.z))
        m_cluster->setPosition(position);
    acoustics::Orientation orientation{0.0, m_pitch, m_zRotation};
    orientation.Clamp(true);
    m_cluster->setOrientation(orientation);
}

double LoudspeakerClusterNode::GetGain() const
{
    return m_cluster ? m_cluster->getGain() : 0.0;
}

double LoudspeakerClusterNode::GetDelay() const
{
    return m_cluster ? m_cluster->getDelay() : 0.0;
}

double LoudspeakerClusterNode::GetGainHeadroom() const
{
    return m_cluster ? m_cluster->getMaxGain() - m_cluster->getGain() : 0.0;
}

bool LoudspeakerClusterNode::IsMuted() const
{
    return m_cluster ? m_cluster->isMuted() : false;
}

void LoudspeakerClusterNode::SetGain(double gainDb)
{
    if (m_cluster)
        m_cluster->setGain(gainDb);
}

void LoudspeakerClusterNode::SetDelay(double delay)
{
    if (m_cluster)
        m_cluster->setDelay(delay);
}

void LoudspeakerClusterNode::SetMuted(bool muted)
{
    if (m_cluster)
        m_cluster->setMuted(muted);
}

void LoudspeakerClusterNode::Reorient(double pitch, double yaw)
{
    if (!std::isfinite(pitch) || !std::isfinite(yaw))
        return;
    double angles[3] = {0.0, m_pitch, m_zRotation};
    const double wanted[3] = {0.0, pitch, yaw};
    math::Mat4 transform = GetTransform();
    math::ReorientTransform(angles, wanted, transform);
    m_pitch = angles[1];
    m_zRotation = angles[2];
    SetTransform(transform);
}

void LoudspeakerClusterNode::SetPitch(double pitch)
{
    Reorient(pitch, m_zRotation);
}

void LoudspeakerClusterNode::SetYaw(double yaw)
{
    Reorient(m_pitch, yaw);
}

void LoudspeakerClusterNode::RestoreOrientation(const math::Mat4& transform, double pitch, double yaw)
{
    m_pitch = pitch;
    m_zRotation = yaw;
    SetTransform(transform);
}

} // namespace zorvpro
