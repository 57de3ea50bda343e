#include "data/Settings/SettingsTypes.h"

#include <array>

namespace zorvpro
{
namespace
{
template <typename E, std::size_t N> QString Text(E value, const std::array<const char*, N>& texts)
{
    const int index = static_cast<int>(value);
    if (index < 0 || index >= static_cast<int>(N))
        return QString();
    return QString::fromLatin1(texts[static_cast<std::size_t>(index)]);
}

template <typename E, std::size_t N>
bool Parse(const QString& text, E& value, const std::array<const char*, N>& texts)
{
    for (std::size_t i = 0; i < N; ++i)
    {
        if (text.compare(QLatin1String(texts[i]), Qt::CaseInsensitive) == 0)
        {
            value = static_cast<E>(i);
            return true;
        }
    }
    return false;
}

const std::array<const char*, 2> kToolbarTexts = {"Top", "Right"};
const std::array<const char*, 2> kThemeTexts = {"Night", "Day"};
const std::array<const char*, 2> kMeasurementTexts = {"Metric", "Imperial"};
const std::array<const char*, 2> kTemperatureTexts = {"C", "F"};
} // namespace

QString ToText(UiTypes::ToolbarPosition value)
{
    return Text(value, kToolbarTexts);
}

QString ToText(UiTypes::UiTheme value)
{
    return Text(value, kThemeTexts);
}

QString ToText(MeasurementType value)
{
    return Text(value, kMeasurementTexts);
}

QString ToText(TemperatureType value)
{
    return Text(value, kTemperatureTexts);
}

bool FromText(const QString& text, UiTypes::ToolbarPosition& value)
{
    return Parse(text, value, kToolbarTexts);
}

bool FromText(const QString& text, UiTypes::UiTheme& value)
{
    return Parse(text, value, kThemeTexts);
}

bool FromText(const QString& text, MeasurementType& value)
{
    return Parse(text, value, kMeasurementTexts);
}

bool FromText(const QString& text, TemperatureType& value)
{
    return Parse(text, value, kTemperatureTexts);
}
} // namespace zorvpro
