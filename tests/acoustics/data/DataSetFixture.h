#pragma once

#include "tools/datagen/Archive.h"

#include <juce_core/juce_core.h>

#include <string>

// A temporary folder for generated data sets, removed with the fixture.
struct TempDataFolder
{
    juce::File dir = juce::File::createTempFile("zorv-datasets");

    TempDataFolder() { dir.createDirectory(); }
    ~TempDataFolder() { dir.deleteRecursively(); }

    std::string path() const { return dir.getFullPathName().toStdString(); }

    std::string write(const zorvpro::datagen::DataSet& set, const std::string& subfolder = "") const
    {
        const juce::File folder = subfolder.empty() ? dir : dir.getChildFile(subfolder);
        zorvpro::datagen::WriteDataSet(folder, set);
        return folder.getChildFile(set.fileName).getFullPathName().toStdString();
    }
};
