#pragma once

namespace zorvpro::acoustics
{

// An angle of the acoustic model, always held in radians. A distinct type so
// that degrees and plain lengths cannot be passed where an angle is meant.
class Angle
{
public:
    constexpr Angle() = default;
    constexpr explicit Angle(double radiansValue) : value(radiansValue) {}

    static constexpr double kDegreesPerRadian = 57.29577951308232;
    static constexpr double kRadiansPerDegree = 0.017453292519943295;

    static constexpr Angle FromDegrees(double degrees) { return Angle(degrees * kRadiansPerDegree); }

    constexpr double radians() const { return value; }
    constexpr double degrees() const { return value * kDegreesPerRadian; }

    constexpr bool operator<(const Angle& o) const { return value < o.value; }
    constexpr bool operator>(const Angle& o) const { return value > o.value; }
    constexpr bool operator<=(const Angle& o) const { return value <= o.value; }
    constexpr bool operator>=(const Angle& o) const { return value >= o.value; }
    constexpr bool operator==(const Angle& o) const { return value == o.value; }
    constexpr bool operator!=(const Angle& o) const { return value != o.value; }

private:
    double value = 0.0;
};

} // namespace zorvpro::acoustics
