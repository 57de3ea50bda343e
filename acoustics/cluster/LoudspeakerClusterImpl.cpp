#include "acoustics/cluster/LoudspeakerClusterImpl.h"

#include "acoustics/beam/BeamSteerImpl.h"
#include "acoustics/data/Loudspeaker.h"
#include "acoustics/model/LevelConversion.h"
#include "core/math/Compare.h"

#include <algorithm>
#include <cmath>

namespace zorvpro::acoustics
{

namespace
{

constexpr uint32_t kSideBelow = 2;
constexpr double kMinGainDb = -60.0;

} // namespace

bool LoudspeakerCluster::onPlacementChange(const math::Vec3&, const Orientation&)
{
    return true;
}

double LoudspeakerCluster::getExtentZ()
{
    const math::BBox box = getBoundingBox();
    return box.max.z - box.min.z;
}

double LoudspeakerCluster::getExtentX()
{
    const math::BBox box = getBoundingBox();
    return box.max.x - box.min.x;
}

double LoudspeakerCluster::getExtentY()
{
    const math::BBox box = getBoundingBox();
    return box.max.y - box.min.y;
}

std::shared_ptr<LoudspeakerCluster> createLoudspeakerCluster()
{
    return std::make_shared<LoudspeakerClusterImpl>();
}

LoudspeakerClusterImpl::LoudspeakerClusterImpl()
    : attachmentSide(kSideBelow), gainUnit(LevelAmplitude), delayUnit(ScaleSeconds),
      responseMask(LevelAmplitude, 1.0)
{
}

LoudspeakerClusterImpl::~LoudspeakerClusterImpl()
{
    // A beam solver may outlive the cluster (the editing side holds it too):
    // it must neither notify the cluster nor keep pointers to its modules.
    ScopedLock edit(editLock);
    std::vector<BeamEntry> beams;
    {
        ScopedLock lock(clusterLock);
        beams.swap(beamSteers);
    }
    for (const BeamEntry& entry : beams)
    {
        if (!entry.beam)
            continue;
        entry.beam->removeListener(entry.link.get());
        entry.beam->clearModules();
    }
}

void LoudspeakerClusterImpl::setTransform(const math::Mat4& transform)
{
    Placement::setTransform(transform);
    propChanged(ClusterTransformChanged);
}

void LoudspeakerClusterImpl::setMuted(bool mute)
{
    ScopedLock lock(clusterLock);
    const bool changed = mute != muted;
    muted = mute;
    for (const std::shared_ptr<Loudspeaker>& module : copyModules())
    {
        if (module)
            module->setMuted(mute);
    }
    if (changed)
        propChanged(MuteChanged);
}

bool LoudspeakerClusterImpl::isMuted()
{
    ScopedLock lock(clusterLock);
    return muted;
}

void LoudspeakerClusterImpl::toggleMuted()
{
    ScopedLock lock(clusterLock);
    setMuted(!isMuted());
}

double LoudspeakerClusterImpl::getGainAs(int32_t levelCode)
{
    ScopedLock lock(clusterLock);
    if (levelCode == gainUnit)
        return gain;
    return convertLevel(gainUnit, gain, levelCode, 1.0);
}

double LoudspeakerClusterImpl::getDelayAs(int32_t timeCode)
{
    ScopedLock lock(clusterLock);
    if (timeCode == delayUnit)
        return delay;
    return convertUnitScale(delayUnit, delay, timeCode);
}

double LoudspeakerClusterImpl::setGain(double gainDb)
{
    ScopedLock lock(clusterLock);
    if (std::isnan(gainDb))
        return getGain(); // no level to clamp: the gain stays
    double clamped = std::min(gainDb, getMaxGain());
    clamped = std::max(clamped, kMinGainDb);
    const double stored = convertLevel(LevelDecibels, clamped, gainUnit, 1.0);
    const bool changed = !math::AlmostEqual(stored, gain);
    gain = stored;
    if (changed)
        propChanged(ClusterGainChanged);
    return clamped;
}

double LoudspeakerClusterImpl::getGain()
{
    return getGainAs(LevelDecibels);
}

double LoudspeakerClusterImpl::getGainHeadroom()
{
    ScopedLock lock(clusterLock);
    const double headroom = getMaxGain() - getGain();
    return std::fabs(headroom) < 1e-14 ? 0.0 : headroom;
}

void LoudspeakerClusterImpl::setDelay(double delayMs)
{
    ScopedLock lock(clusterLock);
    if (!std::isfinite(delayMs))
        return;
    const double stored = convertUnitScale(ScaleMilliseconds, std::max(delayMs, 0.0), delayUnit);
    const bool changed = !math::AlmostEqual(stored, delay);
    delay = stored;
    if (changed)
        propChanged(ClusterDelayChanged);
}

double LoudspeakerClusterImpl::getDelay()
{
    return getDelayAs(ScaleMilliseconds);
}

void LoudspeakerClusterImpl::propChanged(uint32_t code)
{
    // The cache is rebuilt from the solvers before the cluster lock is taken.
    if (code == BeamChanged)
        rebuildResponseCache();
    ScopedLock lock(clusterLock);
    if (code == ClusterGainChanged)
        applyBeamLevelFactor();
    else if (code == BeamChanged)
        limitAfterBeamChange();
    notify(code);
}

void LoudspeakerClusterImpl::limitAfterBeamChange()
{
    ScopedLock lock(clusterLock);
    const double maxGain = getMaxGain();
    const double maxLinear = convertLevel(LevelDecibels, maxGain, LevelAmplitude, 1.0);
    const double linear = getGainAs(LevelAmplitude);
    if (linear > maxLinear && !math::AlmostEqual(linear, maxLinear))
        setGain(maxGain); // its own code 8 recomputes the level factor
    else
        applyBeamLevelFactor();
}

void LoudspeakerClusterImpl::applyBeamLevelFactor()
{
    ScopedLock lock(clusterLock);
    const double factor = computeBeamLevelFactor();
    for (double& value : responseMask.magnitudes())
        value = factor;
}

FrequencyMask LoudspeakerClusterImpl::getResponseMask()
{
    ScopedLock lock(clusterLock);
    return responseMask;
}

} // namespace zorvpro::acoustics
