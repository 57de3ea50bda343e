#include "views/GridControl/UnitType.h"

#include "data/Settings/Vocabulary.h"

#include <stdexcept>

namespace zorvpro
{
namespace Units
{
namespace
{
// Conversions by unit kind; the labels live in the shared vocabulary.
struct UnitRow
{
    double (*toModel)(double);
    double (*toDisplay)(double);
};

double Same(double x)
{
    return x;
}

constexpr double kMetresPerFoot = 0.3048;
constexpr double kRadiansPerDegree = 0.017453292519943295;
constexpr double kDegreesPerRadian = 57.29577951308232;
constexpr double kPoundsPerKilogram = 2.20462262185;

// Indexed by unit type; the text type has no row.
const UnitRow kRows[] = {
    {&Same, &Same},
    {&Same, &Same},
    {&Same, &Same},
    {[](double x) { return x * kMetresPerFoot; }, [](double x) { return x / kMetresPerFoot; }},
    {[](double x) { return x * kRadiansPerDegree; }, [](double x) { return x * kDegreesPerRadian; }},
    {[](double x) { return (x - 32.0) / 1.8; }, [](double x) { return x * 1.8 + 32.0; }},
    {[](double x) { return x / kPoundsPerKilogram; }, [](double x) { return x * kPoundsPerKilogram; }},
    {&Same, &Same},
};

const UnitRow& Row(std::uint32_t unitType)
{
    if (unitType < 1 || unitType > sizeof(kRows) / sizeof(kRows[0]))
        throw std::out_of_range("invalid map<K, T> key");
    return kRows[unitType - 1];
}
} // namespace

QString Label(std::uint32_t unitType, int setting)
{
    return Vocabulary::UnitLabel(unitType, setting);
}

double DisplayToModel(std::uint32_t unitType, double value)
{
    return Row(unitType).toModel(value);
}

double ModelToDisplay(std::uint32_t unitType, double value)
{
    return Row(unitType).toDisplay(value);
}
} // namespace Units
} // namespace zorvpro
