#include "data/Settings/Vocabulary.h"
#include "data/Settings/SettingsTypes.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace zorvpro
{
namespace
{
TEST(Vocabulary, SettingsFileWordsComeFromTheSharedTables)
{
    for (const Vocabulary::Word& word : Vocabulary::kThemeWords)
    {
        const auto theme = static_cast<UiTypes::UiTheme>(word.value);
        EXPECT_EQ(ToText(theme), word.text);
        UiTypes::UiTheme read = static_cast<UiTypes::UiTheme>(1 - word.value);
        EXPECT_TRUE(FromText(QString(word.text).toUpper(), read));
        EXPECT_EQ(read, theme);
    }
    for (const Vocabulary::Word& word : Vocabulary::kToolbarPositionWords)
    {
        const auto position = static_cast<UiTypes::ToolbarPosition>(word.value);
        EXPECT_EQ(ToText(position), word.text);
        UiTypes::ToolbarPosition read = static_cast<UiTypes::ToolbarPosition>(1 - word.value);
        EXPECT_TRUE(FromText(word.text, read));
        EXPECT_EQ(read, position);
    }
    // "Night" is the dark theme, as the settings store it.
    EXPECT_EQ(ToText(UiTypes::UiTheme::Night), "Night");
    EXPECT_EQ(ToText(UiTypes::ToolbarPosition::Right), "Right");
    for (const int units : {0, 1})
    {
        TemperatureType read = static_cast<TemperatureType>(1 - units);
        const QString label = Vocabulary::UnitLabel(Vocabulary::kTemperatureUnitKind, units);
        EXPECT_EQ(ToText(static_cast<TemperatureType>(units)), label);
        EXPECT_TRUE(FromText(label.toLower(), read));
        EXPECT_EQ(static_cast<int>(read), units);
    }
    TemperatureType untouched = TemperatureType::F;
    EXPECT_FALSE(FromText("K", untouched));
    EXPECT_FALSE(FromText("", untouched));
    EXPECT_EQ(untouched, TemperatureType::F);
}

TEST(Vocabulary, UnitLabelsByKindAndSetting)
{
    const char16_t* const expected[][2] = {{u"", u""},      {u"dB", u"dB"},         {u"%", u"%"},
                                           {u"m", u"ft"},   {u"\u00B0", u"\u00B0"}, {u"C", u"F"},
                                           {u"kg", u"lbs"}, {u"ms", u"ms"}};
    for (std::uint32_t kind = 1; kind <= 8; ++kind)
        for (const int setting : {0, 1})
            EXPECT_EQ(Vocabulary::UnitLabel(kind, setting), QString::fromUtf16(expected[kind - 1][setting]))
                << kind << " " << setting;
    EXPECT_THROW(Vocabulary::UnitLabel(0, 0), std::out_of_range);
    EXPECT_THROW(Vocabulary::UnitLabel(9, 0), std::out_of_range);
    EXPECT_THROW(Vocabulary::UnitLabel(4, 2), std::out_of_range);
    EXPECT_THROW(Vocabulary::UnitLabel(4, -1), std::out_of_range);
}
} // namespace
} // namespace zorvpro
