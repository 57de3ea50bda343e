#pragma once
// Moved to the Qt-free base layer.
#include "core/Base/HasUniqueId.h"
