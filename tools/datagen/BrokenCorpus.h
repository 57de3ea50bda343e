#pragma once

#include "tools/datagen/Archive.h"

#include <juce_core/juce_core.h>

#include <string>
#include <vector>

namespace zorvpro::datagen
{

// One archive that must yield no model. Either a zip of entries or, when
// rawBytes is set, a file that is not a zip at all.
struct BrokenArchive
{
    std::string fileName;
    std::string what; // short reason, for test messages
    std::vector<ArchiveEntry> entries;
    bool raw = false;
    std::string rawBytes;
};

std::vector<BrokenArchive> BrokenCorpus();

// Writes every broken archive into the folder; returns the files written.
std::vector<juce::File> WriteBrokenCorpus(const juce::File& folder);

} // namespace zorvpro::datagen
