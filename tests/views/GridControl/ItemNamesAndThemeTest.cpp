#include "tests/core/support/LogCapture.h"
#include "views/Common/BeamSpeakerItem.h"
#include "views/Common/PropertyName.h"
#include "views/Common/StyleSheetRule.h"

#include <gtest/gtest.h>
#include <set>

namespace zorvpro
{
namespace
{
TEST(ItemNames, EveryNumberAndNameRoundTripUniquely)
{
    std::set<QString> seen;
    for (std::uint32_t value = 0; value < kBeamSpeakerItemCount; ++value)
    {
        const QString name = toPropertyName(static_cast<BeamSpeakerItem>(value));
        ASSERT_FALSE(name.isEmpty()) << value;
        EXPECT_TRUE(seen.insert(name).second) << name.toStdString();
        EXPECT_EQ(static_cast<std::uint32_t>(beamSpeakerItemFromName(name)), value) << name.toStdString();
    }
    // Beam 2 mirrors beam 1 eleven items later, the beam number last.
    for (std::uint32_t value = 42; value <= 52; ++value)
    {
        QString second = beamSpeakerItemName(static_cast<BeamSpeakerItem>(value));
        second.chop(1);
        EXPECT_EQ(beamSpeakerItemName(static_cast<BeamSpeakerItem>(value + 11)), second + "2");
    }
}

TEST(ItemNames, KnownRowsAndUnknownInputs)
{
    struct Row
    {
        std::uint32_t value;
        const char* name;
    };
    const Row rows[] = {{0, "None"},
                        {15, "Quad_ListenerHeightEnabled"},
                        {43, "Beam_EvenessMaxSpl1"},
                        {50, "Beam_SteeringAngle1"},
                        {54, "Beam_EvenessMaxSpl2"},
                        {61, "Beam_SteeringAngle2"},
                        {74, "Spl_RecalculateButton"},
                        {84, "Toolbar_ZoomToFit"}};
    for (const Row& row : rows)
    {
        EXPECT_EQ(beamSpeakerItemName(static_cast<BeamSpeakerItem>(row.value)), row.name);
        EXPECT_EQ(beamSpeakerItemFromName(row.name), static_cast<BeamSpeakerItem>(row.value));
    }
    EXPECT_EQ(BeamSpeakerItem::Beam_SteeringAngle2, static_cast<BeamSpeakerItem>(61));

    test::LogCapture log;
    EXPECT_EQ(beamSpeakerItemFromName("beam_steeringangle1"), kUnknownBeamSpeakerItem);
    EXPECT_EQ(static_cast<std::uint32_t>(kUnknownBeamSpeakerItem), 4294967295u);
    EXPECT_TRUE(toPropertyName(static_cast<BeamSpeakerItem>(85)).isEmpty());
    EXPECT_EQ(beamSpeakerItemFromName(""), kUnknownBeamSpeakerItem);
    const std::vector<std::string> texts = log.Texts();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0], "Error: unknown beam speaker item name beam_steeringangle1");
    EXPECT_EQ(texts[1], "Error: unknown beam speaker item 85");
    EXPECT_EQ(texts[2], "Error: unknown beam speaker item name ");
}

TEST(StyleSheetRule, ComposesDeclarationsInKeyOrder)
{
    struct Case
    {
        QString selector;
        QMap<QString, QString> declarations;
        QString expected;
    };
    const Case cases[] = {
        {"", {}, ""},
        {"QLabel", {}, "QLabel { }"},
        {"", {{"color", "#000000"}}, "color: #000000;"},
        {"QComboBox",
         {{"color", "#FFFFFF"}, {"border", "none"}, {"background-color", "#3b3b3b"}},
         "QComboBox { background-color: #3b3b3b; border: none; color: #FFFFFF; }"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(makeStyleSheetRule(c.selector, c.declarations), c.expected) << c.expected.toStdString();
}

} // namespace
} // namespace zorvpro
