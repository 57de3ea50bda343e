#include "data/Project/ProjectSettings.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <limits>

using namespace zorvpro;

namespace
{
// Records every signal of one settings object, in order.
class SignalLog
{
public:
    explicit SignalLog(ProjectSettings& s)
    {
        QObject::connect(&s, &ProjectSettings::airAbsorptionEnabledChanged, [this] { events << "air"; });
        QObject::connect(&s, &ProjectSettings::temperatureChanged, [this] { events << "temperature"; });
        QObject::connect(&s, &ProjectSettings::humidityChanged, [this] { events << "humidity"; });
        QObject::connect(&s, &ProjectSettings::zoomIsPairedChanged,
                         [this](ProjectSettings::Tab tab) { events << QStringLiteral("paired%1").arg(tab); });
        QObject::connect(&s, &ProjectSettings::settingsChanged, [this] { events << "settings"; });
        QObject::connect(&s, &ProjectSettings::throwLinesChanged, [this] { events << "throw"; });
    }
    QStringList Take()
    {
        QStringList taken = events;
        events.clear();
        return taken;
    }
    QStringList events;
};
} // namespace

TEST(ProjectSettingsTest, NewSettingsHoldTheDefaults)
{
    ProjectSettings s;
    EXPECT_EQ(QString(), s.getVersion());
    EXPECT_EQ(QString(), s.getVenue());
    EXPECT_EQ(QString(), s.getDesigner());
    EXPECT_EQ(QString(), s.getNotes());
    EXPECT_FALSE(s.getAirAbsorptionEnabled());
    EXPECT_EQ(22.0, s.getTemperature());
    EXPECT_EQ(50.0, s.getHumidity());
    for (int view = 0; view < 4; ++view)
    {
        EXPECT_EQ(60.0, s.getViewZoom(view));
        EXPECT_EQ(math::Vec3(0, 0, 0), s.getViewCameraTranslation(view));
    }
    EXPECT_TRUE(s.getZoomPaired(ProjectSettings::VenueTab));
    EXPECT_TRUE(s.getZoomPaired(ProjectSettings::SpeakerTab));
    EXPECT_FALSE(s.getAutoCalculate());
    EXPECT_TRUE(s.getSplVisibility());
    EXPECT_EQ(-2, s.getSplOctaveMode());
    EXPECT_EQ(1000.0, s.getSplFreqCtr());
    EXPECT_EQ(80.0, s.getSplLowValue());
    EXPECT_EQ(112.0, s.getSplHighValue());
    EXPECT_TRUE(s.getSplAutoAdjustRange());
    EXPECT_TRUE(s.getSplRelative());
    EXPECT_EQ(1.0, s.getSplResolution());
    EXPECT_TRUE(s.getThrowLines());
    EXPECT_EQ(1.0, s.getDefaultEarHeight());
}

TEST(ProjectSettingsTest, IndexedGettersOutsideTheirRangeGiveNeutralValues)
{
    ProjectSettings s;
    EXPECT_EQ(0.0, s.getViewZoom(7));
    EXPECT_EQ(0.0, s.getViewZoom(-1));
    EXPECT_EQ(0.0, s.getViewZoom(4));
    s.setViewCameraTranslation(3, 1, 2, 3);
    EXPECT_EQ(math::Vec3(1, 2, 3), s.getViewCameraTranslation(3));
    EXPECT_EQ(math::Vec3(0, 0, 0), s.getViewCameraTranslation(4));
    EXPECT_FALSE(s.getZoomPaired(2));
    EXPECT_FALSE(s.getZoomPaired(-1));
}

TEST(ProjectSettingsTest, AirConditionsChangeOnlyBeyondTheTolerance)
{
    ProjectSettings s;
    SignalLog log(s);
    s.setTemperature(22.0 + 1e-15);
    EXPECT_TRUE(log.Take().isEmpty());
    EXPECT_EQ(22.0, s.getTemperature());
    s.setTemperature(22.000001);
    EXPECT_EQ((QStringList{"temperature", "settings"}), log.Take());
    EXPECT_EQ(22.000001, s.getTemperature());

    s.setHumidity(0.0);
    EXPECT_EQ((QStringList{"humidity", "settings"}), log.Take());
    s.setHumidity(1e-16);
    EXPECT_TRUE(log.Take().isEmpty());
    EXPECT_EQ(0.0, s.getHumidity());

    s.setAirAbsorptionEnabled(false);
    EXPECT_TRUE(log.Take().isEmpty());
    s.setAirAbsorptionEnabled(true);
    EXPECT_EQ((QStringList{"air", "settings"}), log.Take());
    EXPECT_TRUE(s.getAirAbsorptionEnabled());
}

TEST(ProjectSettingsTest, TextsAndFlagsSignalOnlyWhenTheyChange)
{
    ProjectSettings s;
    SignalLog log(s);
    s.setDesigner(QStringLiteral("Ana"));
    s.setDesigner(QStringLiteral("Ana"));
    s.setVenue(QStringLiteral("Hall"));
    s.setVersion(QStringLiteral("2"));
    EXPECT_EQ((QStringList{"settings", "settings", "settings"}), log.Take());
    EXPECT_EQ(QStringLiteral("Ana"), s.getDesigner());
    EXPECT_EQ(QStringLiteral("Hall"), s.getVenue());
    EXPECT_EQ(QStringLiteral("2"), s.getVersion());

    s.setDefaultEarHeight(1.0);
    EXPECT_TRUE(log.Take().isEmpty());
    s.setDefaultEarHeight(1.0 + 1e-15); // exact comparison: even a tiny step counts
    EXPECT_EQ(QStringList{"settings"}, log.Take());

    s.setSplVisibility(true);
    s.setAutoCalculate(false);
    s.setThrowLines(true);
    EXPECT_TRUE(log.Take().isEmpty());
    s.setSplVisibility(false);
    s.setAutoCalculate(true);
    s.setThrowLines(false);
    EXPECT_EQ((QStringList{"settings", "settings", "throw", "settings"}), log.Take());
    EXPECT_FALSE(s.getSplVisibility());
    EXPECT_TRUE(s.getAutoCalculate());
    EXPECT_FALSE(s.getThrowLines());
}

TEST(ProjectSettingsTest, NotesKeepSingleLineFeeds)
{
    ProjectSettings s;
    SignalLog log(s);
    const QString windows = QStringLiteral("line one\r\nline two\r\n");
    s.setNotes(windows);
    EXPECT_EQ(QStringLiteral("line one\nline two\n"), s.getNotes());
    EXPECT_EQ(QStringList{"settings"}, log.Take());
    // Compared before the line breaks are replaced: the same text counts again.
    s.setNotes(windows);
    EXPECT_EQ(QStringList{"settings"}, log.Take());
    s.setNotes(QStringLiteral("line one\nline two\n"));
    EXPECT_TRUE(log.Take().isEmpty());
}

TEST(ProjectSettingsTest, ViewsAndTabsChangeOnlyInRange)
{
    ProjectSettings s;
    SignalLog log(s);
    s.setViewZoom(4, 10.0);
    s.setViewZoom(-1, 10.0);
    s.setViewZoom(2, 60.0 + 1e-14);
    EXPECT_TRUE(log.Take().isEmpty());
    s.setViewZoom(2, 75.0);
    EXPECT_EQ(QStringList{"settings"}, log.Take());
    EXPECT_EQ(75.0, s.getViewZoom(2));
    EXPECT_EQ(60.0, s.getViewZoom(1));

    s.setViewCameraTranslation(1, 0.0, 1e-16, 0.0);
    s.setViewCameraTranslation(9, 1.0, 2.0, 3.0);
    EXPECT_TRUE(log.Take().isEmpty());
    s.setViewCameraTranslation(1, 0.0, 0.0, -4.5);
    EXPECT_EQ(QStringList{"settings"}, log.Take());
    EXPECT_EQ(math::Vec3(0, 0, -4.5), s.getViewCameraTranslation(1));
    // The same through a whole vector, as the views store their cameras.
    s.setViewCameraTranslation(1, math::Vec3(0, 1e-16, -4.5));
    EXPECT_TRUE(log.Take().isEmpty());
    s.setViewCameraTranslation(3, math::Vec3(7, 8, 9));
    EXPECT_EQ(QStringList{"settings"}, log.Take());
    EXPECT_EQ(math::Vec3(7, 8, 9), s.getViewCameraTranslation(3));

    s.setZoomPaired(ProjectSettings::SpeakerTab, true);
    s.setZoomPaired(static_cast<ProjectSettings::Tab>(2), false);
    EXPECT_TRUE(log.Take().isEmpty());
    s.setZoomPaired(ProjectSettings::SpeakerTab, false);
    EXPECT_EQ((QStringList{"paired1", "settings"}), log.Take());
    EXPECT_FALSE(s.getZoomPaired(ProjectSettings::SpeakerTab));
    EXPECT_TRUE(s.getZoomPaired(ProjectSettings::VenueTab));
}

TEST(ProjectSettingsTest, NonFiniteValuesThatTheFileRequiresAreIgnored)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    ProjectSettings s;
    SignalLog log(s);
    s.setTemperature(inf);
    s.setTemperature(nan);
    s.setHumidity(-inf);
    s.setViewZoom(0, nan);
    s.setViewCameraTranslation(2, 1.0, inf, 3.0);
    s.setViewCameraTranslation(3, math::Vec3(nan, 0, 0));
    EXPECT_TRUE(log.Take().isEmpty());
    EXPECT_EQ(22.0, s.getTemperature());
    EXPECT_EQ(50.0, s.getHumidity());
    EXPECT_EQ(60.0, s.getViewZoom(0));
    EXPECT_EQ(math::Vec3(), s.getViewCameraTranslation(2));
    EXPECT_EQ(math::Vec3(), s.getViewCameraTranslation(3));
}

TEST(ProjectSettingsTest, CoverageMapValuesAreStoredSilentlyAndUnchecked)
{
    ProjectSettings s;
    SignalLog log(s);
    s.setSplOctaveMode(2);
    s.setSplFreqCtr(250.0);
    s.setSplLowValue(60.0);
    s.setSplHighValue(100.0);
    s.setSplResolution(0.7);
    s.setSplAutoAdjustRange(false);
    s.setSplRelative(false);
    EXPECT_TRUE(log.Take().isEmpty());
    EXPECT_EQ(2, s.getSplOctaveMode());
    EXPECT_EQ(250.0, s.getSplFreqCtr());
    EXPECT_EQ(60.0, s.getSplLowValue());
    EXPECT_EQ(100.0, s.getSplHighValue());
    EXPECT_EQ(0.7, s.getSplResolution());
    EXPECT_FALSE(s.getSplAutoAdjustRange());
    EXPECT_FALSE(s.getSplRelative());

    EXPECT_EQ(1.0, ProjectSettings::defaultSplResolution());
    EXPECT_TRUE(ProjectSettings::isValidSplResolution(0.5));
    EXPECT_TRUE(ProjectSettings::isValidSplResolution(1.0));
    EXPECT_TRUE(ProjectSettings::isValidSplResolution(2.0));
    EXPECT_FALSE(ProjectSettings::isValidSplResolution(0.7));
    EXPECT_FALSE(ProjectSettings::isValidSplResolution(1.0 + 1e-15));
}

TEST(ProjectSettingsTest, ResetRestoresDefaultsWithItsOwnSignals)
{
    ProjectSettings s;
    s.setDesigner(QStringLiteral("Ana"));
    s.setViewZoom(0, 12.0);
    s.setZoomPaired(ProjectSettings::VenueTab, false);
    s.setSplOctaveMode(3);
    s.setThrowLines(false);
    s.setAutoCalculate(true);
    SignalLog log(s);
    s.Reset();
    EXPECT_EQ((QStringList{"throw", "paired0", "paired1", "settings"}), log.Take());
    EXPECT_EQ(QString(), s.getDesigner());
    EXPECT_EQ(60.0, s.getViewZoom(0));
    EXPECT_TRUE(s.getZoomPaired(ProjectSettings::VenueTab));
    EXPECT_EQ(-2, s.getSplOctaveMode());
    EXPECT_TRUE(s.getThrowLines());
    EXPECT_FALSE(s.getAutoCalculate());
    EXPECT_EQ(22.0, s.getTemperature());
    EXPECT_EQ(50.0, s.getHumidity());
}

TEST(ProjectSettingsTest, ResetTellsFollowersOfTheAirWhenItChangedIt)
{
    ProjectSettings s;
    s.setTemperature(30.0);
    s.setHumidity(20.0);
    s.setAirAbsorptionEnabled(true);
    SignalLog log(s);
    s.Reset();
    EXPECT_EQ((QStringList{"throw", "paired0", "paired1", "air", "temperature", "humidity", "settings"}),
              log.Take());
    EXPECT_EQ(22.0, s.getTemperature());
    EXPECT_EQ(50.0, s.getHumidity());
    EXPECT_FALSE(s.getAirAbsorptionEnabled());
}

TEST(ProjectSettingsTest, ViewAndTabSettersDoNothingDuringReset)
{
    ProjectSettings s;
    s.setViewZoom(1, 20.0);
    // A follower that reacts to the reset by writing views back must not win.
    QObject::connect(&s, &ProjectSettings::zoomIsPairedChanged,
                     [&s](ProjectSettings::Tab tab)
                     {
                         s.setViewZoom(1, 33.0);
                         s.setViewCameraTranslation(1, 5.0, 5.0, 5.0);
                         s.setZoomPaired(tab, false);
                     });
    s.Reset();
    EXPECT_EQ(60.0, s.getViewZoom(1));
    EXPECT_EQ(math::Vec3(0, 0, 0), s.getViewCameraTranslation(1));
    EXPECT_TRUE(s.getZoomPaired(ProjectSettings::VenueTab));
    EXPECT_TRUE(s.getZoomPaired(ProjectSettings::SpeakerTab));
    // After the reset they work again.
    s.setViewZoom(1, 33.0);
    EXPECT_EQ(33.0, s.getViewZoom(1));
}
