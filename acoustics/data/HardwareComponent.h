#pragma once

#include "acoustics/data/Connection.h"
#include "acoustics/data/DXFFace.h"
#include "acoustics/model/BOM.h"
#include "acoustics/model/Node.h"
#include "acoustics/model/Placement.h"
#include "core/math/BBox.h"

#include <string>
#include <vector>

namespace zorvpro::acoustics
{

// A piece of hardware of the acoustic model: names, box geometry, mechanical
// connections and bill of materials. Node and Placement are virtual bases so
// that a loudspeaker holds exactly one of each.
class HardwareComponent : public virtual Node, public virtual Placement
{
public:
    ~HardwareComponent() override = default;

    virtual const std::string& getName() const = 0;
    virtual const std::string& getFamily() const = 0;
    virtual const std::string& getDescription() const = 0;
    virtual double getComponentValue() const = 0;
    // The local box in world coordinates: its two corners mapped through the
    // placement transform (under the placement lock) and ordered per axis.
    virtual math::BBox getBoundingBox() const = 0;
    virtual double getExtentZ() const = 0;
    virtual double getExtentX() const = 0;
    virtual double getExtentY() const = 0;
    virtual const math::Vec3& getReferencePoint() const = 0;
    virtual const std::vector<DXFFace>& getFaces() const = 0;
    virtual const std::vector<Connection>& getConnections() const = 0;
    virtual const BOM& getBOM() const = 0;
};

} // namespace zorvpro::acoustics
