// Membership of a cluster: connecting and removing modules and the data
// derived from the members.
#include "acoustics/beam/BeamSteerImpl.h"
#include "acoustics/cluster/LoudspeakerClusterImpl.h"
#include "acoustics/data/Connection.h"
#include "acoustics/data/LoudspeakerImpl.h"

#include <algorithm>
#include <iterator>

namespace zorvpro::acoustics
{

namespace
{

constexpr uint64_t kMaxModules = 3;

bool connectsAtFront(uint32_t side)
{
    return side == ConnectionSide::Above || side == ConnectionSide::Left || side == ConnectionSide::Back;
}

} // namespace

LoudspeakerClusterImpl::ModuleList LoudspeakerClusterImpl::copyModules() const
{
    ModuleList modules;
    for (const Node::Ptr& child : getChildren())
    {
        if (auto module = std::dynamic_pointer_cast<Loudspeaker>(child))
            modules.push_back(std::move(module));
    }
    return modules;
}

uint64_t LoudspeakerClusterImpl::getModuleCount()
{
    ScopedLock lock(clusterLock);
    return getChildren().size();
}

void LoudspeakerClusterImpl::removeModuleAt(uint64_t index)
{
    ScopedLock edit(editLock);
    const std::vector<Node::Ptr> children = getChildren();
    removeModule(index < children.size() ? std::dynamic_pointer_cast<Loudspeaker>(children[index]) : nullptr);
}

void LoudspeakerClusterImpl::removeModule(std::shared_ptr<Loudspeaker> module)
{
    ScopedLock edit(editLock);
    {
        ScopedLock lock(clusterLock);
        if (!module || !removeChild(module))
            return;
    }
    rebuild();
    propChanged(ModuleRemoved);
}

std::shared_ptr<Loudspeaker> LoudspeakerClusterImpl::findAnchor(const ModuleList& modules) const
{
    if (modules.empty())
        return nullptr;
    return connectsAtFront(attachmentSide) ? modules.front() : modules.back();
}

bool LoudspeakerClusterImpl::findConnection(const Loudspeaker& module, const Loudspeaker* anchor,
                                            Connection& record) const
{
    // The cluster asks for any variant, which every record matches; the first
    // record for this model on the cluster's side wins.
    const Loudspeaker& carrier = anchor ? *anchor : module;
    for (const Connection& candidate : carrier.getConnections())
    {
        if (candidate.name == module.getName() && candidate.side == record.side)
        {
            record = candidate;
            return true;
        }
    }
    return false;
}

bool LoudspeakerClusterImpl::canAddModule(std::shared_ptr<Loudspeaker> module)
{
    ScopedLock lock(clusterLock);
    if (!module)
        return false;
    const ModuleList modules = copyModules();
    const std::shared_ptr<Loudspeaker> anchor = findAnchor(modules);
    Connection record(attachmentSide, 1);
    return findConnection(*module, anchor.get(), record) && getModuleCount() < kMaxModules;
}

int LoudspeakerClusterImpl::addModule(std::shared_ptr<Loudspeaker> module)
{
    ScopedLock edit(editLock);
    {
        ScopedLock lock(clusterLock);
        if (!canAddModule(module))
            return 0;
        const ModuleList modules = copyModules();
        const std::shared_ptr<Loudspeaker> anchor = findAnchor(modules);
        Connection record(attachmentSide, 1);
        findConnection(*module, anchor.get(), record);

        const bool inserted = anchor ? insertChild(module, anchor, !connectsAtFront(attachmentSide))
                                     : insertChild(module, nullptr, true);
        if (!inserted)
            return 0;

        // Connection transforms are rigid (a rotation and an offset), so
        // they always have an inverse.
        const math::Vec3 origin = anchor
                                      ? anchor->getPosition()
                                      : math::TransformPoint(math::Inverse(record.transform), math::Vec3());
        module->setPosition(math::TransformPoint(record.transform, origin));
    }
    rebuild();
    propChanged(ModuleAdded);
    return 1;
}

void LoudspeakerClusterImpl::rebuild()
{
    ScopedLock edit(editLock);
    std::unique_lock<RecursiveTimedMutex> lock(clusterLock);
    const ModuleList modules = copyModules();

    BOM members;
    double total = 0.0;
    math::BBox box;
    for (const std::shared_ptr<Loudspeaker>& module : modules)
    {
        box = math::BBox::Union(box, module->getBoundingBox());
        members.append(module->getBOM());
        total += module->getComponentValue();
    }
    bom = members;
    {
        std::lock_guard<std::mutex> derived(derivedLock);
        boundingBox = box;
        componentTotal = total;
    }

    for (size_t i = 0; i < modules.size(); ++i)
    {
        if (auto impl = std::dynamic_pointer_cast<LoudspeakerImpl>(modules[i]))
            impl->setIndex(static_cast<uint32_t>(i));
    }

    setMuted(muted);

    const std::vector<std::shared_ptr<BeamSteerImpl>> beams = copyBeams();
    lock.unlock();
    for (const std::shared_ptr<BeamSteerImpl>& beam : beams)
    {
        if (beam)
            refreshBeam(*beam, modules);
    }
}

uint32_t LoudspeakerClusterImpl::getMaxBeamCount()
{
    ScopedLock lock(clusterLock);
    const ModuleList modules = copyModules();
    if (modules.empty())
        return 0;
    uint32_t count = modules.front()->getMaxBeams();
    for (const std::shared_ptr<Loudspeaker>& module : modules)
        count = std::min(count, module->getMaxBeams());
    return count;
}

std::vector<int32_t> LoudspeakerClusterImpl::getBeamAlgorithms()
{
    ScopedLock lock(clusterLock);
    const ModuleList modules = copyModules();
    if (modules.empty())
        return {};
    std::vector<int32_t> common = modules.front()->getAlgorithms();
    for (size_t i = 1; i < modules.size() && !common.empty(); ++i)
    {
        const std::vector<int32_t>& next = modules[i]->getAlgorithms();
        std::vector<int32_t> both;
        std::set_intersection(common.begin(), common.end(), next.begin(), next.end(),
                              std::back_inserter(both));
        common.swap(both);
    }
    return common;
}

const BOM& LoudspeakerClusterImpl::getBOM()
{
    return bom;
}

double LoudspeakerClusterImpl::getComponentTotal()
{
    std::lock_guard<std::mutex> derived(derivedLock);
    return componentTotal;
}

math::BBox LoudspeakerClusterImpl::getBoundingBox()
{
    std::lock_guard<std::mutex> derived(derivedLock);
    return boundingBox;
}

} // namespace zorvpro::acoustics
