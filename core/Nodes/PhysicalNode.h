#pragma once

#include "core/Nodes/HitPoint.h"
#include "core/Nodes/Node.h"
#include "core/math/Matrix4.h"
#include "core/math/Ray.h"

#include <memory>

namespace zorvpro
{

// A node placed by a transform from its local coordinates into its parent's.
class PhysicalNode : public Node
{
public:
    static std::shared_ptr<PhysicalNode> Create();

    std::string TypeName() const override;
    void WriteProperties(PropertyMap& properties) const override;
    bool ReadProperties(const PropertyMap& properties) override;

    // A transform with a non-finite element is ignored: the project file
    // could not be read back with it.
    virtual void SetTransform(const math::Mat4& transform);
    // Empty here; surfaces answer picks.
    virtual HitPointPtr HitTest(const math::Ray& ray, const math::Mat4& pointMatrix,
                                const math::Mat4& localMatrix);

    const math::Mat4& GetTransform() const { return m_transform; }

    // A second matrix and a flag kept for the placed loudspeaker nodes; the
    // flag is set at construction and cleared by SetTransform.
    const math::Mat4& GetSecondaryTransform() const { return m_secondaryTransform; }
    void SetSecondaryTransform(const math::Mat4& transform) { m_secondaryTransform = transform; }
    bool IsTransformUntouched() const { return m_transformUntouched; }

protected:
    PhysicalNode();
    static bool IsFinite(const math::Mat4& transform);
    void ClearTransformUntouched() { m_transformUntouched = false; }

private:
    math::Mat4 m_transform;
    math::Mat4 m_secondaryTransform;
    bool m_transformUntouched = true;
};

using PhysicalNodePtr = std::shared_ptr<PhysicalNode>;

} // namespace zorvpro
