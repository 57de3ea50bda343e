#include "data/Settings/SettingsTypes.h"

#include "data/Settings/Vocabulary.h"

#include <array>

namespace zorvpro
{
namespace
{
template <typename E, std::size_t N> QString Text(E value, const std::array<Vocabulary::Word, N>& words)
{
    return Vocabulary::WordOf(words, static_cast<int>(value));
}

template <typename E, std::size_t N>
bool Parse(const QString& text, E& value, const std::array<Vocabulary::Word, N>& words)
{
    int number = 0;
    if (!Vocabulary::ValueOf(words, text, number))
        return false;
    value = static_cast<E>(number);
    return true;
}

const std::array<Vocabulary::Word, 2> kMeasurementWords{{{"Metric", 0}, {"Imperial", 1}}};

// The file spells the temperature units as the line edits label them.
QString TemperatureWord(int value)
{
    return value == 0 || value == 1 ? Vocabulary::UnitLabel(Vocabulary::kTemperatureUnitKind, value)
                                    : QString();
}
} // namespace

QString ToText(UiTypes::ToolbarPosition value)
{
    return Text(value, Vocabulary::kToolbarPositionWords);
}

QString ToText(UiTypes::UiTheme value)
{
    return Text(value, Vocabulary::kThemeWords);
}

QString ToText(MeasurementType value)
{
    return Text(value, kMeasurementWords);
}

QString ToText(TemperatureType value)
{
    return TemperatureWord(static_cast<int>(value));
}

bool FromText(const QString& text, UiTypes::ToolbarPosition& value)
{
    return Parse(text, value, Vocabulary::kToolbarPositionWords);
}

bool FromText(const QString& text, UiTypes::UiTheme& value)
{
    return Parse(text, value, Vocabulary::kThemeWords);
}

bool FromText(const QString& text, MeasurementType& value)
{
    return Parse(text, value, kMeasurementWords);
}

bool FromText(const QString& text, TemperatureType& value)
{
    for (const int candidate : {0, 1})
    {
        if (text.compare(TemperatureWord(candidate), Qt::CaseInsensitive) == 0)
        {
            value = static_cast<TemperatureType>(candidate);
            return true;
        }
    }
    return false;
}
} // namespace zorvpro
