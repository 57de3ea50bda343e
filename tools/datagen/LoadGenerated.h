#pragma once

// For tests and benchmarks that need a generated data set as a loaded model.
// Header-only: the generator library itself does not link the acoustics layer.

#include "acoustics/data/LoudspeakerDataSet.h"
#include "tools/datagen/Models.h"

#include <memory>

namespace zorvpro::datagen
{

// Writes the set into a scratch folder of its own (test processes run in
// parallel), reads it back through the product's loader and removes the
// folder again. nullptr when it could not be written or did not load.
inline std::shared_ptr<acoustics::LoudspeakerImpl> LoadGenerated(const DataSet& set)
{
    const juce::File folder = juce::File::getSpecialLocation(juce::File::tempDirectory)
                                  .getChildFile("zorv-generated-" + juce::Uuid().toString());
    folder.createDirectory();
    std::shared_ptr<acoustics::LoudspeakerImpl> model;
    if (WriteDataSet(folder, set))
        model = acoustics::loadLoudspeakerDataSet(
            folder.getChildFile(set.fileName).getFullPathName().toStdString());
    folder.deleteRecursively();
    return model;
}

} // namespace zorvpro::datagen
