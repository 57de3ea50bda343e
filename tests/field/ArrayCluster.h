#pragma once

// One module of the generated steerable array as an engine cluster, 3 m up, and an engine computing
// it: the real load the field pipeline's engine tests compute.

#include "acoustics/cluster/LoudspeakerCluster.h"
#include "acoustics/data/LoudspeakerImpl.h"
#include "acoustics/engine/ZorvAcousticsImpl.h"
#include "tools/datagen/LoadGenerated.h"

#include <chrono>
#include <memory>

namespace zorvpro::field::testing
{
inline std::shared_ptr<acoustics::LoudspeakerCluster> ArrayCluster()
{
    static const auto model = datagen::LoadGenerated(datagen::MakeArrayDataSet());
    if (!model)
        return nullptr;
    auto cluster = acoustics::createLoudspeakerCluster();
    cluster->addModule(std::make_shared<acoustics::LoudspeakerImpl>(*model));
    cluster->setPosition({0, 0, 3});
    return cluster;
}

// An engine on its own worker threads, computing the cluster.
inline std::shared_ptr<acoustics::IZorvAcoustics>
ComputingEngine(const std::shared_ptr<acoustics::LoudspeakerCluster>& cluster, int threadCount,
                std::chrono::milliseconds settlingPause)
{
    acoustics::ZorvAcousticsImpl::Options options;
    options.threadCount = threadCount;
    options.settlingPause = settlingPause;
    std::shared_ptr<acoustics::IZorvAcoustics> engine = acoustics::ZorvAcousticsImpl::create(options);
    engine->addCluster(cluster);
    engine->setCalculationEnabled(true);
    return engine;
}
} // namespace zorvpro::field::testing
