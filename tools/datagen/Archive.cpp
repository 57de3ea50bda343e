#include "tools/datagen/Archive.h"

namespace zorvpro::datagen
{

const ArchiveEntry* DataSet::Find(const std::string& name) const
{
    for (const ArchiveEntry& e : entries)
        if (e.name == name)
            return &e;
    return nullptr;
}

ArchiveEntry* DataSet::Find(const std::string& name)
{
    for (ArchiveEntry& e : entries)
        if (e.name == name)
            return &e;
    return nullptr;
}

bool WriteArchive(const juce::File& file, const std::vector<ArchiveEntry>& entries)
{
    juce::ZipFile::Builder builder;
    // A fixed, recent time: entries dated at or before 1970 count as missing.
    const juce::Time stamp(2024, 0, 15, 12, 0, 0, 0, false);
    for (const ArchiveEntry& e : entries)
    {
        auto* stream = new juce::MemoryInputStream(e.data.data(), e.data.size(), true);
        builder.addEntry(stream, e.compressionLevel, juce::String::fromUTF8(e.name.c_str()), stamp);
    }
    if (!file.getParentDirectory().createDirectory())
        return false;
    file.deleteFile();
    juce::FileOutputStream out(file);
    if (!out.openedOk())
        return false;
    const bool ok = builder.writeToStream(out, nullptr);
    out.flush();
    return ok && !out.getStatus().failed();
}

bool WriteDataSet(const juce::File& folder, const DataSet& set)
{
    return WriteArchive(folder.getChildFile(juce::String::fromUTF8(set.fileName.c_str())), set.entries);
}

} // namespace zorvpro::datagen
