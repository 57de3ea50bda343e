#pragma once

#include "acoustics/model/Arrival.h"
#include "core/math/Vector3.h"

#include <cstdint>
#include <vector>

namespace zorvpro
{
namespace acoustics
{

class PropChange;
struct FlatClusterModel;

// What the engine asks of a loudspeaker cluster while it calculates.
class ClusterSource
{
public:
    virtual ~ClusterSource() = default;

    // The cluster object itself: two sources for the same cluster compare equal by it.
    virtual const void* identity() const = 0;
    // The publisher of the cluster's change codes, watched while the engine holds it.
    virtual PropChange* changes() const = 0;
    virtual bool isMuted() const = 0;
    // The cluster's acoustic node id, matched against a field-point set's source filter.
    virtual uint64_t nodeId() const = 0;
    // Position plus the middle of the bounding box: where occlusion rays are aimed.
    virtual math::Vec3 centre() const = 0;
    virtual std::vector<Arrival> computeArrivalsAtPoint(const math::Vec3& point) = 0;
    // The cluster's drivers for the flat arrival path, read once per calculation; false when
    // the source has none to give, and its arrivals come from computeArrivalsAtPoint.
    virtual bool captureFlatModel(FlatClusterModel& model)
    {
        (void)model;
        return false;
    }
};

} // namespace acoustics
} // namespace zorvpro
