#pragma once

// One base class for every adapter, whichever folder names it.
#include "views/Adapters/Theme/AdapterBase.h"
