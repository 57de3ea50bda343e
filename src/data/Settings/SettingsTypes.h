#pragma once

#include <QString>

namespace zorvpro
{
namespace UiTypes
{
enum class ToolbarPosition : int
{
    Top = 0,
    Right = 1,
};

enum class UiTheme : int
{
    Night = 0,
    Day = 1,
};
} // namespace UiTypes

enum class MeasurementType : int
{
    Metric = 0,
    Imperial = 1,
};

enum class TemperatureType : int
{
    C = 0,
    F = 1,
};

// Texts of the values as Settings.xml stores them. Value to text gives an
// empty text for a value outside the table; text to value ignores case and
// returns false (leaving the value alone) for an unknown text.
QString ToText(UiTypes::ToolbarPosition value);
QString ToText(UiTypes::UiTheme value);
QString ToText(MeasurementType value);
QString ToText(TemperatureType value);
bool FromText(const QString& text, UiTypes::ToolbarPosition& value);
bool FromText(const QString& text, UiTypes::UiTheme& value);
bool FromText(const QString& text, MeasurementType& value);
bool FromText(const QString& text, TemperatureType& value);
} // namespace zorvpro
