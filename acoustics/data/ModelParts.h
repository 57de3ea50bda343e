#pragma once

#include "acoustics/data/LoudspeakerImpl.h"
#include "acoustics/data/ModelFileReader.h"

namespace zorvpro::acoustics
{

// Turns the records of a model file into the model's parts: header values,
// transformers, directivity records, transducers (set with setParts) and
// faces (set with setFaces).
void ApplyModelFile(ModelFileData&& file, LoudspeakerImpl& model);

// A directivity record as a Polar, filled in the order the format defines.
std::shared_ptr<Polar> MakePolar(ModelFileData::PolarRecord&& record);

} // namespace zorvpro::acoustics
