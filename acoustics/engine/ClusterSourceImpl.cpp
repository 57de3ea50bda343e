#include "acoustics/engine/ClusterSourceImpl.h"

#include "acoustics/cluster/LoudspeakerClusterImpl.h"
#include "acoustics/engine/ZorvAcousticsImpl.h"
#include "acoustics/fast/ClusterCapture.h"

namespace zorvpro
{
namespace acoustics
{

ClusterSourceImpl::ClusterSourceImpl(std::shared_ptr<LoudspeakerClusterImpl> cluster)
    : cluster(std::move(cluster))
{
}

const void* ClusterSourceImpl::identity() const
{
    return cluster.get();
}

PropChange* ClusterSourceImpl::changes() const
{
    return cluster.get();
}

bool ClusterSourceImpl::isMuted() const
{
    return cluster->isMuted();
}

uint64_t ClusterSourceImpl::nodeId() const
{
    return cluster->getId();
}

math::Vec3 ClusterSourceImpl::centre() const
{
    const math::Vec3 position = cluster->getPosition();
    const math::BBox box = cluster->getBoundingBox();
    return position + (box.min + box.max) * 0.5;
}

std::vector<Arrival> ClusterSourceImpl::computeArrivalsAtPoint(const math::Vec3& point)
{
    return cluster->computeArrivalsAtPoint(point);
}

bool ClusterSourceImpl::captureFlatModel(FlatClusterModel& model)
{
    model = captureFlatClusterModel(*cluster);
    return true;
}

void ZorvAcousticsImpl::addCluster(std::shared_ptr<LoudspeakerCluster> cluster)
{
    if (auto impl = std::dynamic_pointer_cast<LoudspeakerClusterImpl>(cluster))
        addClusterSource(std::make_shared<ClusterSourceImpl>(std::move(impl)));
}

void ZorvAcousticsImpl::removeCluster(std::shared_ptr<LoudspeakerCluster> cluster)
{
    if (auto impl = std::dynamic_pointer_cast<LoudspeakerClusterImpl>(cluster))
        removeClusterSource(ClusterSourceImpl(std::move(impl)));
}

} // namespace acoustics
} // namespace zorvpro
