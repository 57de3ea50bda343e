#include "core/Nodes/PhysicalNode.h"

#include "core/Nodes/NodeProperties.h"

#include <cmath>

namespace zorvpro
{

PhysicalNode::PhysicalNode() = default;

std::shared_ptr<PhysicalNode> PhysicalNode::Create()
{
    std::shared_ptr<PhysicalNode> node(new PhysicalNode());
    InitSelf(node);
    return node;
}

std::string PhysicalNode::TypeName() const
{
    return "PhysicalNode";
}

void PhysicalNode::WriteProperties(PropertyMap& properties) const
{
    Node::WriteProperties(properties);
    WriteProperty(properties, NodeKeys::Transform, m_transform);
}

bool PhysicalNode::ReadProperties(const PropertyMap& properties)
{
    if (!Node::ReadProperties(properties))
        return false;
    if (!ReadProperty(properties, NodeKeys::Transform, m_transform))
    {
        LogUnreadableProperty(NodeKeys::Transform);
        return false;
    }
    return true;
}

bool PhysicalNode::IsFinite(const math::Mat4& transform)
{
    for (double element : transform.m)
    {
        if (!std::isfinite(element))
            return false;
    }
    return true;
}

void PhysicalNode::SetTransform(const math::Mat4& transform)
{
    if (!IsFinite(transform))
        return;
    m_transform = transform;
    m_transformUntouched = false;
}

HitPointPtr PhysicalNode::HitTest(const math::Ray&, const math::Mat4&, const math::Mat4&)
{
    return {};
}

} // namespace zorvpro
