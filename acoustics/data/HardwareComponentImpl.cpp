#include "acoustics/data/HardwareComponentImpl.h"

#include "acoustics/data/Transducer.h"

#include <functional>

namespace zorvpro::acoustics
{
namespace
{

math::BBox BoxOfFaces(const std::vector<DXFFace>& faces)
{
    math::BBox box;
    for (const DXFFace& face : faces)
        for (const math::Vec3& p : face.points)
            box = math::BBox::Extend(box, p);
    return box;
}

} // namespace

HardwareComponentImpl::HardwareComponentImpl(const HardwareComponentImpl& other)
    : Node(), Placement(), HardwareComponent(), name(other.name), family(other.family),
      description(other.description), componentValue(other.componentValue), modelMatrix(other.modelMatrix),
      box(other.box), referencePoint(other.referencePoint), faces(other.faces),
      connections(other.connections), connectionsOwner(other.connectionsOwner), bom(other.bom)
{
}

math::BBox HardwareComponentImpl::getBoundingBox() const
{
    const math::Mat4 transform = getTransform(); // read under the placement lock
    return math::TransformBox(transform, box);
}

void HardwareComponentImpl::setConnections(std::vector<Connection> list, std::string owner)
{
    connections = std::move(list);
    connectionsOwner = std::move(owner);
}

void HardwareComponentImpl::moveByModelMatrix(Transducer& transducer) const
{
    transducer.setPosition(math::TransformPoint(modelMatrix, transducer.getPosition()));
}

void HardwareComponentImpl::setFaces(std::vector<DXFFace> newFaces)
{
    faces.clear();
    const math::BBox given = BoxOfFaces(newFaces);
    modelMatrix = math::Mat4::Translation(math::Vec3(0, 0, -(given.max.z - given.min.z) / 2));
    for (const DXFFace& face : newFaces)
    {
        std::vector<math::Vec3> mapped;
        mapped.reserve(face.points.size());
        for (const math::Vec3& p : face.points)
            mapped.push_back(math::TransformPoint(modelMatrix, p));
        faces.emplace_back(face.type, std::move(mapped));
    }
    box = BoxOfFaces(faces);

    // Transducers already linked below this component follow the new frame.
    std::vector<std::shared_ptr<Transducer>> found;
    std::function<void(const Node&)> collect = [&](const Node& node)
    {
        for (const Node::Ptr& child : node.getChildren())
        {
            if (auto t = std::dynamic_pointer_cast<Transducer>(child))
                found.push_back(t);
            collect(*child);
        }
    };
    collect(*this);
    for (const auto& t : found)
        moveByModelMatrix(*t);
}

} // namespace zorvpro::acoustics
