#pragma once

namespace zorvpro
{

// Registers "LoudspeakerNode", "LoudspeakerClusterNode" and
// "BeamSpeakerClusterNode" with the node factory. Call it before the first
// project is loaded; later calls do nothing. True when all three are known.
bool RegisterBridgeNodeTypes();

} // namespace zorvpro
