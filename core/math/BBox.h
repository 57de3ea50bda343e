#pragma once

#include "core/math/Compare.h"
#include "core/math/Matrix4.h"
#include "core/math/Vector3.h"

#include <algorithm>
#include <utility>

namespace zorvpro::math
{

// Axis-aligned box. Both corners zero (within tolerance) is the empty box,
// which is also the default.
template <typename T> class BBoxT
{
public:
    using Vec = Vector3T<T>;

    BBoxT() = default;
    // Built from any two corners; each axis is put in order.
    BBoxT(const Vec& a, const Vec& b) : min(a), max(b) { Normalize(); }
    virtual ~BBoxT() = default;

    BBoxT(const BBoxT&) = default;
    BBoxT(BBoxT&&) = default;
    BBoxT& operator=(const BBoxT&) = default;
    BBoxT& operator=(BBoxT&&) = default;

    Vec min;
    Vec max;

    bool IsEmpty() const
    {
        for (int i = 0; i < 3; ++i)
        {
            if (!IsZero(min[i]) || !IsZero(max[i]))
                return false;
        }
        return true;
    }

    // Swaps minimum and maximum on every axis where the minimum is larger.
    void Normalize()
    {
        for (int i = 0; i < 3; ++i)
        {
            if (min[i] > max[i])
                std::swap(min[i], max[i]);
        }
    }

    // An empty first box yields the second unchanged; otherwise the box
    // spanning both. Note that an empty second box is not skipped: its zero
    // corners take part like any other.
    static BBoxT Union(const BBoxT& a, const BBoxT& b)
    {
        if (a.IsEmpty())
            return b;
        BBoxT result;
        for (int i = 0; i < 3; ++i)
        {
            result.min[i] = std::min(a.min[i], b.min[i]);
            result.max[i] = std::max(a.max[i], b.max[i]);
        }
        result.Normalize();
        return result;
    }

    // This box grown to hold the point (see Extend).
    BBoxT Extended(const Vec& point) const { return Extend(*this, point); }

    // The box grown to hold the point; an empty box becomes the point itself.
    static BBoxT Extend(const BBoxT& box, const Vec& point)
    {
        BBoxT result;
        if (box.IsEmpty())
        {
            result.min = point;
            result.max = point;
            return result;
        }
        for (int i = 0; i < 3; ++i)
        {
            result.min[i] = std::min(box.min[i], point[i]);
            result.max[i] = std::max(box.max[i], point[i]);
        }
        return result;
    }
};

using BBox = BBoxT<double>;

// Maps only the two corners through the matrix (with the division by w) and
// orders the result per axis; cheaper than mapping all eight, exact for
// translations and axis-aligned scalings.
inline BBox TransformBox(const Mat4& matrix, const BBox& box)
{
    return BBox(TransformPoint(matrix, box.min), TransformPoint(matrix, box.max));
}

} // namespace zorvpro::math
