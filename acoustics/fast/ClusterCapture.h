#pragma once

#include "acoustics/fast/FlatClusterArrivals.h"

namespace zorvpro::acoustics
{

class LoudspeakerClusterImpl;

// Reads what the cluster's arrival computation reads, once: the environment,
// the cluster's gain, delay and transform, every unmuted module's drivers
// with their inverse world transforms and polar data, and each driver's beam
// filters with the cluster's level mask. A muted cluster has no drivers.
FlatClusterModel captureFlatClusterModel(LoudspeakerClusterImpl& cluster);

} // namespace zorvpro::acoustics
