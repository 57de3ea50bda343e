#pragma once

#include "acoustics/cluster/LoudspeakerCluster.h"
#include "core/Nodes/PhysicalNode.h"

#include <memory>
#include <string>

namespace zorvpro
{

class LoudspeakerClusterNode;
using LoudspeakerClusterNodePtr = std::shared_ptr<LoudspeakerClusterNode>;

// A placed group of loudspeakers in the project tree. It owns the acoustics
// cluster and keeps it in step with the node: members (its LoudspeakerNode
// children, in order), placement, gain, delay, mute, and its membership of the
// engine while the node is in the tree.
class LoudspeakerClusterNode : public PhysicalNode
{
public:
    static constexpr const char* TypeNameText = "LoudspeakerClusterNode";

    static LoudspeakerClusterNodePtr Create(std::shared_ptr<acoustics::LoudspeakerCluster> cluster);
    // The node factory's creator: a new empty cluster with the stored settings.
    static NodePtr CreateFromProperties(const PropertyMap& properties);

    void OnAttached(const NodePtr& self) override;
    void OnDetached(const NodePtr& self) override;
    // Only loudspeaker nodes whose model the cluster accepts join it.
    void AddChild(const NodePtr& child) override;
    void RemoveChildAt(int32_t index) override;
    std::string TypeName() const override;
    void WriteProperties(PropertyMap& properties) const override;
    bool ReadProperties(const PropertyMap& properties) override;
    // Stores the transform and places the cluster from it.
    void SetTransform(const math::Mat4& transform) override;

    const std::shared_ptr<acoustics::LoudspeakerCluster>& GetCluster() const { return m_cluster; }

    double GetGain() const;
    double GetDelay() const;
    double GetGainHeadroom() const;
    bool IsMuted() const;
    void SetGain(double gainDb);
    void SetDelay(double delay);
    void SetMuted(bool muted);

    const std::string& GetUserNote() const { return m_userNote; }
    void SetUserNote(const std::string& note) { m_userNote = note; }
    bool GetLocked() const { return m_locked; }
    void SetLocked(bool locked) { m_locked = locked; }
    bool GetVisible() const { return m_visible; }
    void SetVisible(bool visible) { m_visible = visible; }
    double GetPitch() const { return m_pitch; }
    double GetYaw() const { return m_zRotation; }
    // Turn the node's transform by the change of angle (radians) and place it.
    void SetPitch(double pitch);
    void SetYaw(double yaw);
    // Transform and angles together as read earlier, without turning anything (for undo).
    void RestoreOrientation(const math::Mat4& transform, double pitch, double yaw);

protected:
    explicit LoudspeakerClusterNode(std::shared_ptr<acoustics::LoudspeakerCluster> cluster);

    // Position from the transform, lowered by ModuleDrop; orientation from the angles (clamped).
    void PlaceCluster();
    // How far below the node's origin the first module's origin sits. A plain cluster has no
    // top to hang from: its modules start at the node's origin.
    virtual double ModuleDrop() const { return 0.0; }

private:
    void Reorient(double pitch, double yaw);

    std::shared_ptr<acoustics::LoudspeakerCluster> m_cluster;
    std::string m_userNote;
    bool m_locked = false;
    bool m_visible = true;
    double m_zRotation = 0.0;
    double m_pitch = 0.0;
};

} // namespace zorvpro
