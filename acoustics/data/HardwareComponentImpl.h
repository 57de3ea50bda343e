#pragma once

#include "acoustics/data/HardwareComponent.h"
#include "core/math/Matrix4.h"

namespace zorvpro::acoustics
{

class HardwareComponentImpl : public virtual HardwareComponent
{
public:
    HardwareComponentImpl() = default;
    // Copies the component's data; Node and Placement start fresh.
    HardwareComponentImpl(const HardwareComponentImpl& other);
    ~HardwareComponentImpl() override = default;

    const std::string& getName() const override { return name; }
    const std::string& getFamily() const override { return family; }
    const std::string& getDescription() const override { return description; }
    double getComponentValue() const override { return componentValue; }
    math::BBox getBoundingBox() const override;
    double getExtentZ() const override { return box.max.z - box.min.z; }
    double getExtentX() const override { return box.max.x - box.min.x; }
    double getExtentY() const override { return box.max.y - box.min.y; }
    const math::Vec3& getReferencePoint() const override { return referencePoint; }
    const std::vector<DXFFace>& getFaces() const override { return faces; }
    const std::vector<Connection>& getConnections() const override { return connections; }
    const BOM& getBOM() const override { return bom; }

    // Replaces the faces: the model matrix becomes a shift along z by minus
    // half the faces' z extent, the faces are stored mapped through it, the
    // box is taken from them, and transducers already attached below this
    // component are moved by the matrix.
    virtual void setFaces(std::vector<DXFFace> newFaces);

    // Setters used while a data set is read.
    void setName(std::string v) { name = std::move(v); }
    void setFamily(std::string v) { family = std::move(v); }
    void setDescription(std::string v) { description = std::move(v); }
    void setComponentValue(double v) { componentValue = v; }
    void setBOM(BOM v) { bom = std::move(v); }
    void setConnections(std::vector<Connection> list, std::string owner);
    const std::string& getConnectionsOwner() const { return connectionsOwner; }

    const math::Mat4& getModelMatrix() const { return modelMatrix; }
    const math::BBox& getLocalBox() const { return box; }

protected:
    // Moves a transducer by the model matrix (position read under its lock).
    void moveByModelMatrix(class Transducer& transducer) const;

private:
    std::string name;
    std::string family;
    std::string description;
    double componentValue = 0.0;
    math::Mat4 modelMatrix;
    math::BBox box;
    math::Vec3 referencePoint{0, 0, 0};
    std::vector<DXFFace> faces;
    std::vector<Connection> connections;
    std::string connectionsOwner;
    BOM bom;
};

} // namespace zorvpro::acoustics
