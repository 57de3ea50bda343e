#pragma once

#include "acoustics/engine/ClusterSource.h"

#include <memory>

namespace zorvpro
{
namespace acoustics
{

class LoudspeakerClusterImpl;

// The engine's view of a loudspeaker cluster of the acoustic model.
class ClusterSourceImpl : public ClusterSource
{
public:
    explicit ClusterSourceImpl(std::shared_ptr<LoudspeakerClusterImpl> cluster);

    const void* identity() const override;
    PropChange* changes() const override;
    bool isMuted() const override;
    uint64_t nodeId() const override;
    math::Vec3 centre() const override;
    std::vector<Arrival> computeArrivalsAtPoint(const math::Vec3& point) override;
    bool captureFlatModel(FlatClusterModel& model) override;

private:
    std::shared_ptr<LoudspeakerClusterImpl> cluster;
};

} // namespace acoustics
} // namespace zorvpro
