#include "views/Render/CameraMath.h"

#include "core/Logger/OmbraxLogger.h"
#include "core/math/Compare.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace zorvpro::view
{

math::Mat4 LookAtMatrix(const math::Vec3& eye, const math::Vec3& target, const math::Vec3& up)
{
    math::Vec3 z = math::Normalize(eye - target);
    if (z.IsZero())
        z = {0, 0, 1};
    math::Vec3 x = math::Normalize(up.Cross(z));
    if (x.IsZero())
    {
        // Up along the viewing direction: use the world axis least aligned with it.
        const math::Vec3 axes[] = {{0, 1, 0}, {0, 0, 1}, {1, 0, 0}};
        const math::Vec3* best = &axes[0];
        for (const math::Vec3& axis : axes)
        {
            if (std::abs(axis.Dot(z)) < std::abs(best->Dot(z)))
                best = &axis;
        }
        x = math::Normalize(best->Cross(z));
    }
    const math::Vec3 y = math::Normalize(z.Cross(x));
    math::Mat4 m;
    for (int row = 0; row < 3; ++row)
    {
        m(row, 0) = x[row];
        m(row, 1) = y[row];
        m(row, 2) = z[row];
        m(row, 3) = eye[row];
    }
    return m;
}

math::Quaternion QuaternionFromMatrix(const math::Mat4& m)
{
    double t = 0.0;
    math::Quaternion q;
    if (m(2, 2) < 0.0)
    {
        if (m(0, 0) > m(1, 1))
        {
            t = 1.0 + m(0, 0) - m(1, 1) - m(2, 2);
            q = {m(2, 1) - m(1, 2), t, m(0, 1) + m(1, 0), m(2, 0) + m(0, 2)};
        }
        else
        {
            t = 1.0 - m(0, 0) + m(1, 1) - m(2, 2);
            q = {m(0, 2) - m(2, 0), m(0, 1) + m(1, 0), t, m(1, 2) + m(2, 1)};
        }
    }
    else if (m(0, 0) < -m(1, 1))
    {
        t = 1.0 - m(0, 0) - m(1, 1) + m(2, 2);
        q = {m(1, 0) - m(0, 1), m(2, 0) + m(0, 2), m(1, 2) + m(2, 1), t};
    }
    else
    {
        t = 1.0 + m(0, 0) + m(1, 1) + m(2, 2);
        q = {t, m(2, 1) - m(1, 2), m(0, 2) - m(2, 0), m(1, 0) - m(0, 1)};
    }
    // The scale 0.5 / sqrt(t) does not change the direction; normalising does the rest.
    const double length = std::sqrt(q.w * q.w + q.x * q.x + q.y * q.y + q.z * q.z);
    if (!(length > 0.0) || !std::isfinite(length))
        return {};
    return {q.w / length, q.x / length, q.y / length, q.z / length};
}

math::Quaternion Conjugate(const math::Quaternion& q)
{
    return {q.w, -q.x, -q.y, -q.z};
}

namespace
{
math::Quaternion Product(const math::Quaternion& a, const math::Quaternion& b)
{
    return {a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z, a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y,
            a.w * b.y - a.x * b.z + a.y * b.w + a.z * b.x, a.w * b.z + a.x * b.y - a.y * b.x + a.z * b.w};
}
} // namespace

math::Vec3 Rotate(const math::Quaternion& q, const math::Vec3& v)
{
    const double norm = q.w * q.w + q.x * q.x + q.y * q.y + q.z * q.z;
    if (norm == 0.0)
        return {};
    const math::Quaternion c = Conjugate(q);
    const math::Quaternion inverse{c.w / norm, c.x / norm, c.y / norm, c.z / norm};
    const math::Quaternion r = Product(Product(q, {0.0, v.x, v.y, v.z}), inverse);
    return {r.x, r.y, r.z};
}

namespace
{
bool Degenerate(double a, double b)
{
    const double largest = std::max(std::abs(a), std::abs(b));
    return largest < math::kZeroTolerance || std::abs(b - a) <= math::kZeroTolerance * largest;
}
} // namespace

math::Mat4 Ortho(double l, double r, double b, double t, double n, double f)
{
    math::Mat4 m;
    if (Degenerate(l, r) || Degenerate(b, t) || Degenerate(n, f))
        return m;
    m(0, 0) = 2.0 / (r - l);
    m(1, 1) = 2.0 / (t - b);
    m(2, 2) = -2.0 / (f - n);
    m(0, 3) = -(r + l) / (r - l);
    m(1, 3) = -(t + b) / (t - b);
    m(2, 3) = -(f + n) / (f - n);
    return m;
}

std::array<math::Vec3, 4> Compute2DUnalignedBoundingBox(const math::Mat4& transform, const math::BBox& box,
                                                        double margin)
{
    const math::Vec3& lo = box.min;
    const math::Vec3& hi = box.max;
    const double cx[4] = {lo.x, lo.x, hi.x, hi.x};
    const double cy[4] = {lo.y, hi.y, hi.y, lo.y};
    math::Mat4 flatten;
    flatten(2, 2) = 0.0;
    const math::Mat4 project = flatten * transform;
    const auto map = [&](int corner, double z) {
        return math::TransformPoint(project, {cx[corner], cy[corner], z});
    };

    std::array<std::pair<math::Vec3, math::Vec3>, 12> edges;
    for (int i = 0; i < 4; ++i)
    {
        const int j = (i + 1) % 4;
        edges[i] = {map(i, lo.z), map(j, lo.z)};
        edges[4 + i] = {map(i, hi.z), map(j, hi.z)};
        edges[8 + i] = {map(i, lo.z), map(i, hi.z)};
    }
    int longest = 0;
    double longestSquared = -1.0;
    for (int i = 0; i < 12; ++i)
    {
        const double squared = (edges[i].second - edges[i].first).LengthSquared();
        if (squared > longestSquared)
        {
            longestSquared = squared;
            longest = i;
        }
    }
    if (longestSquared < math::kZeroTolerance || std::sqrt(longestSquared) < 1e-8)
    {
        OmbraxLogger::Log(LogLevel::Error, "All segments zero length in Compute2DUnalignedBoundingBox");
        return {};
    }
    const math::Vec3 d = edges[longest].second - edges[longest].first;
    const double theta = std::atan2(d.y, d.x);
    const math::Mat4 unrotate = math::Mat4::RotationZ(-theta);

    math::Vec3 minimum{DBL_MAX, DBL_MAX, DBL_MAX};
    math::Vec3 maximum{-DBL_MAX, -DBL_MAX, -DBL_MAX};
    for (const auto& edge : edges)
    {
        for (const math::Vec3& p : {edge.first, edge.second})
        {
            const math::Vec3 r = math::TransformPoint(unrotate, p);
            for (int k = 0; k < 3; ++k)
            {
                minimum[k] = std::min(minimum[k], r[k]);
                maximum[k] = std::max(maximum[k], r[k]);
            }
        }
    }
    const math::Mat4 back = flatten * math::Mat4::RotationZ(theta);
    return {math::TransformPoint(back, {minimum.x - margin, minimum.y - margin, minimum.z}),
            math::TransformPoint(back, {maximum.x + margin, minimum.y - margin, minimum.z}),
            math::TransformPoint(back, {maximum.x + margin, maximum.y + margin, minimum.z}),
            math::TransformPoint(back, {minimum.x - margin, maximum.y + margin, minimum.z})};
}

} // namespace zorvpro::view
