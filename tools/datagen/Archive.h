#pragma once

#include <juce_core/juce_core.h>

#include <string>
#include <vector>

namespace zorvpro::datagen
{

struct ArchiveEntry
{
    std::string name;
    std::string data;
    int compressionLevel = 9; // 0 stores the entry
};

// The entries of one data-set archive, in the order they are written.
struct DataSet
{
    std::string fileName; // e.g. "TQR40V.vxq"
    std::vector<ArchiveEntry> entries;

    const ArchiveEntry* Find(const std::string& name) const;
    ArchiveEntry* Find(const std::string& name);
};

// Writes a zip archive with the given entries; replaces an existing file.
bool WriteArchive(const juce::File& file, const std::vector<ArchiveEntry>& entries);
bool WriteDataSet(const juce::File& folder, const DataSet& set);

} // namespace zorvpro::datagen
