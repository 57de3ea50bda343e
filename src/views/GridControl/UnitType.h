#pragma once

#include <QString>
#include <cstdint>

namespace zorvpro
{
// What a numeric line edit holds. The model keeps metres, radians, degrees
// Celsius and kilograms; the display follows the user's unit settings.
enum class UnitType : std::uint32_t
{
    Text = 0,
    Number = 1,
    Decibels = 2,
    Percent = 3,
    Length = 4,
    Angle = 5,
    Temperature = 6,
    Mass = 7,
    Milliseconds = 8,
};

namespace Units
{
// The label of a numeric unit type for a setting value (0 metric or
// Celsius, 1 imperial or Fahrenheit). Throws std::out_of_range for the text
// type and for numbers outside the table.
QString Label(std::uint32_t unitType, int setting);
// Conversions between display units (the other system of the setting) and
// model units; types without a conversion pass values unchanged. Throw
// std::out_of_range like Label.
double DisplayToModel(std::uint32_t unitType, double value);
double ModelToDisplay(std::uint32_t unitType, double value);
} // namespace Units
} // namespace zorvpro
