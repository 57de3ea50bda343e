#pragma once

#include <cstdint>

namespace zorvpro::field
{

// Type codes of field messages. Codes not listed travel like the node and
// switch messages and mean nothing to either side.
namespace MessageType
{
constexpr uint32_t Lease = 0;          // local, never queued
constexpr uint32_t NewChunks = 1;      // UI -> engine
constexpr uint32_t RemovedChunks = 2;  // UI -> engine
constexpr uint32_t ChunksUpdated = 3;  // UI -> engine: tessellated again; engine -> UI: result ready
constexpr uint32_t SpeakerAdded = 4;   // UI -> engine, nodes
constexpr uint32_t SpeakerRemoved = 5; // UI -> engine, nodes
constexpr uint32_t SpeakerUpdated = 6; // UI -> engine, nodes
constexpr uint32_t MapsShown = 7;
constexpr uint32_t MapsHidden = 8;
constexpr uint32_t Calculate = 9;      // UI -> engine
constexpr uint32_t StepAbandoned = 10; // engine -> UI: open steps given up (switched off, overtaken)
constexpr uint32_t StepFinished = 11;  // engine -> UI
constexpr uint32_t Dump = 12;          // either way
} // namespace MessageType

// The two sides of the field manager.
namespace Side
{
constexpr int UserInterface = 0;
constexpr int Audio = 1;
} // namespace Side

} // namespace zorvpro::field
