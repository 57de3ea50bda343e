// The beam solvers of a cluster. The cluster lock is never held while a
// solver or its constraints are called: a solver publishes its changes with
// its own locks held and reaches the cluster lock from there.
#include "acoustics/beam/BeamSteerImpl.h"
#include "acoustics/cluster/LoudspeakerClusterImpl.h"
#include "acoustics/data/LoudspeakerImpl.h"

namespace zorvpro::acoustics
{

void LoudspeakerClusterImpl::BeamLink::propChanged(uint32_t code)
{
    cluster.beamChanged(beam, code);
}

bool LoudspeakerClusterImpl::isSteerable()
{
    return getMaxBeamCount() != 0;
}

std::vector<std::shared_ptr<BeamSteerImpl>> LoudspeakerClusterImpl::copyBeams() const
{
    ScopedLock lock(clusterLock);
    std::vector<std::shared_ptr<BeamSteerImpl>> beams;
    for (const BeamEntry& entry : beamSteers)
        beams.push_back(entry.beam);
    return beams;
}

int LoudspeakerClusterImpl::addBeamSteer(std::shared_ptr<BeamSteer> beam)
{
    ScopedLock edit(editLock);
    uint64_t index = 0;
    {
        ScopedLock lock(clusterLock);
        if (beamSteers.size() >= getMaxBeamCount() || !std::dynamic_pointer_cast<BeamSteerImpl>(beam))
            return 0;
        beamSteers.emplace_back();
        index = beamSteers.size() - 1;
    }
    return setBeamSteerAt(std::move(beam), index);
}

int LoudspeakerClusterImpl::setBeamSteerAt(std::shared_ptr<BeamSteer> beam, uint64_t index)
{
    ScopedLock edit(editLock);
    const std::shared_ptr<BeamSteerImpl> impl = std::dynamic_pointer_cast<BeamSteerImpl>(beam);
    BeamEntry previous;
    BeamLink* link = nullptr;
    ModuleList modules;
    {
        ScopedLock lock(clusterLock);
        if (index >= beamSteers.size() || !impl)
            return 0;
        previous = std::move(beamSteers[index]);
        beamSteers[index].beam = impl;
        beamSteers[index].link = std::make_unique<BeamLink>(*this, *impl);
        link = beamSteers[index].link.get();
        modules = copyModules();
    }
    if (previous.beam)
    {
        previous.beam->removeListener(previous.link.get());
        previous.beam->clearModules();
    }
    refreshBeam(*impl, modules);
    impl->addListener(link);
    impl->solve();
    return 1;
}

void LoudspeakerClusterImpl::refreshBeam(BeamSteerImpl& beam, const ModuleList& modules)
{
    // Emptying the module list lowers the spread limit to that of one
    // module; handing the spread back restores it for the new module count.
    const std::shared_ptr<BeamConstraints> constraints = beam.getConstraints();
    Angle spread = constraints ? constraints->getSpreadingAngle() : Angle();
    beam.clearModules();
    for (const std::shared_ptr<Loudspeaker>& module : modules)
        beam.addModule(dynamic_cast<LoudspeakerImpl*>(module.get()));
    if (constraints)
        constraints->setSpreadingAngle(spread);
    beam.solve();
}

void LoudspeakerClusterImpl::removeBeamSteerAt(uint64_t index)
{
    ScopedLock edit(editLock);
    removeBeamSteer(getBeamSteerAt(index));
}

void LoudspeakerClusterImpl::removeBeamSteer(std::shared_ptr<BeamSteer> beam)
{
    ScopedLock edit(editLock);
    const std::shared_ptr<BeamSteerImpl> impl = std::dynamic_pointer_cast<BeamSteerImpl>(beam);
    if (!impl)
        return;
    BeamEntry removed;
    {
        ScopedLock lock(clusterLock);
        for (auto it = beamSteers.begin(); it != beamSteers.end(); ++it)
        {
            if (it->beam == impl)
            {
                removed = std::move(*it);
                beamSteers.erase(it);
                break;
            }
        }
    }
    if (removed.link)
        impl->removeListener(removed.link.get());
    impl->clearModules();
    propChanged(BeamChanged);
}

void LoudspeakerClusterImpl::removeAllBeamSteers()
{
    ScopedLock edit(editLock);
    for (uint64_t i = getBeamSteerCount(); i > 0; --i)
        removeBeamSteerAt(i - 1);
}

std::shared_ptr<BeamSteer> LoudspeakerClusterImpl::getBeamSteerAt(uint64_t index)
{
    ScopedLock lock(clusterLock);
    if (index >= beamSteers.size())
        return nullptr;
    return beamSteers[index].beam;
}

uint64_t LoudspeakerClusterImpl::getBeamSteerCount()
{
    ScopedLock lock(clusterLock);
    return beamSteers.size();
}

void LoudspeakerClusterImpl::beamChanged(BeamSteerImpl& beam, uint32_t code)
{
    if (code != BeamChanged)
    {
        propChanged(code);
        return;
    }
    // Read on this thread, which already holds the beam's locks.
    BeamResponse response = makeBeamResponse(beam);
    ScopedLock lock(clusterLock);
    for (size_t i = 0; i < beamSteers.size(); ++i)
    {
        if (beamSteers[i].beam.get() == &beam)
        {
            responseCache.resize(beamSteers.size());
            responseCache[i] = std::move(response);
            break;
        }
    }
    for (double& value : responseMask.magnitudes())
        value = 1.0;
    limitAfterBeamChange();
    notify(code);
}

} // namespace zorvpro::acoustics
