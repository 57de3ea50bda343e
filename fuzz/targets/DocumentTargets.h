#pragma once

#include "fuzz/targets/FuzzTarget.h"

namespace zorvpro::fuzz
{

// A project file, loaded by the project document; a loaded file is saved,
// loaded and saved again, and both saves must be the same bytes.
int FuzzProjectFile(const uint8_t* data, size_t size);
// A Settings.xml, loaded by the application settings; then the same
// save-load-save check.
int FuzzSettingsFile(const uint8_t* data, size_t size);
// Any XML text: a document that the nesting check admits at a low limit
// must not reach deeper in Qt's DOM.
int FuzzDomNesting(const uint8_t* data, size_t size);

const std::vector<FuzzTarget>& DocumentTargets();

} // namespace zorvpro::fuzz
