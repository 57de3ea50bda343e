#pragma once

// One module of the generated steerable array as an engine cluster, 3 m up: the real load the
// field pipeline's engine tests compute.

#include "acoustics/cluster/LoudspeakerCluster.h"
#include "acoustics/data/LoudspeakerImpl.h"
#include "tools/datagen/LoadGenerated.h"

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
} // namespace zorvpro::field::testing
