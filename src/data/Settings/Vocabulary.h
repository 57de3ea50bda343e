#pragma once

// The words and labels shared by the settings file and the user interface.
// Every table is constant-initialised, so it is complete before main runs and
// before any other static initialiser can read it, and it never changes.

#include <QString>
#include <array>
#include <cstdint>

namespace zorvpro::Vocabulary
{
// A stored word and the value it stands for.
struct Word
{
    const char* text;
    int value;
};

// How Settings.xml spells UiTypes::UiTheme.
inline constexpr std::array<Word, 2> kThemeWords{{{"Night", 0}, {"Day", 1}}};
// How Settings.xml spells UiTypes::ToolbarPosition.
inline constexpr std::array<Word, 2> kToolbarPositionWords{{{"Top", 0}, {"Right", 1}}};

// The two labels of one unit kind: metric (or Celsius) and imperial (or Fahrenheit).
struct UnitLabels
{
    std::uint32_t kind;
    const char16_t* metric;
    const char16_t* imperial;
};

// The unit kind whose labels follow the temperature-units setting; every
// other kind follows the measurement-units setting.
inline constexpr std::uint32_t kTemperatureUnitKind = 6;

// Indexed by unit kind minus one; kind 0 (plain text) has no labels.
inline constexpr std::array<UnitLabels, 8> kUnitLabels{{
    {1, u"", u""},
    {2, u"dB", u"dB"},
    {3, u"%", u"%"},
    {4, u"m", u"ft"},
    {5, u"\u00B0", u"\u00B0"},
    {kTemperatureUnitKind, u"C", u"F"},
    {7, u"kg", u"lbs"},
    {8, u"ms", u"ms"},
}};

// The word of a value; empty for a value the table lacks.
template <std::size_t N> QString WordOf(const std::array<Word, N>& table, int value)
{
    for (const Word& word : table)
        if (word.value == value)
            return QString::fromLatin1(word.text);
    return QString();
}

// The value of a word, compared without regard to case; false (value left
// alone) for a word the table lacks.
template <std::size_t N> bool ValueOf(const std::array<Word, N>& table, const QString& text, int& value)
{
    for (const Word& word : table)
    {
        if (text.compare(QLatin1String(word.text), Qt::CaseInsensitive) == 0)
        {
            value = word.value;
            return true;
        }
    }
    return false;
}

// The label of a unit kind for a setting value (0 metric or Celsius, 1
// imperial or Fahrenheit). Throws std::out_of_range for kind 0, for kinds
// beyond the table and for any other setting value.
QString UnitLabel(std::uint32_t kind, int setting);
} // namespace zorvpro::Vocabulary
