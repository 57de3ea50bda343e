#pragma once

#include "fuzz/targets/FuzzTarget.h"

namespace zorvpro::fuzz
{

// A whole data-set archive, as the loudspeaker library finds it in its folder.
int FuzzDataSetArchive(const uint8_t* data, size_t size);
// A "Main.xml" descriptor, in an archive that also holds the generated model
// files and EQ tables, so that the fuzzer does not have to forge checksums.
int FuzzDataSetDescriptor(const uint8_t* data, size_t size);
// A binary model file, as the data-set loader reads it out of an archive.
int FuzzModelFile(const uint8_t* data, size_t size);
// An EQ table document, loaded as a spread and as a spiral table, then looked up.
int FuzzEqTable(const uint8_t* data, size_t size);
// Any XML text: a document that the nesting count admits must be read by
// JUCE's parser whole and to the depth counted.
int FuzzXmlNesting(const uint8_t* data, size_t size);

const std::vector<FuzzTarget>& AcousticTargets();

} // namespace zorvpro::fuzz
