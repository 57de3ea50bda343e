#pragma once

// Everything of the geometry layer in one include.
#include "core/math/BBox.h"
#include "core/math/Compare.h"
#include "core/math/Intersections.h"
#include "core/math/Matrix4.h"
#include "core/math/Quaternion.h"
#include "core/math/Ray.h"
#include "core/math/Vector3.h"
