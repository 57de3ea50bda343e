#include "data/Settings/AppSettings.h"

#include "../support/FileBytes.h"
#include "../support/LogCapture.h"
#include "../support/TempDir.h"
#include "core/Xml/HierarchicalFile.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <gtest/gtest.h>

using namespace zorvpro;

namespace
{
using test::ReadFile;
using test::WriteFile;

QByteArray SettingsDocument(const QByteArray& body)
{
    return "<Settings Version=\"1\">" + body + "</Settings>";
}

QString Value(const QString& path, const QString& section, const QString& key)
{
    const auto file = HierarchicalFile::Open(path);
    if (!file)
        return QStringLiteral("<unreadable>");
    const auto s = file->GetRoot()->GetChild(section);
    const auto k = s ? s->GetChild(key) : nullptr;
    return k ? k->GetText() : QStringLiteral("<missing>");
}

bool Contains(const std::vector<std::string>& texts, const std::string& text)
{
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

class AppSettingsTest : public ::testing::Test
{
protected:
    test::TempDir dir;
    QString path = dir.File(QStringLiteral("Settings.xml"));
};
} // namespace

TEST_F(AppSettingsTest, MissingFileKeepsTheDefaults)
{
    test::LogCapture capture;
    AppSettings settings(path);
    EXPECT_TRUE(Contains(capture.Texts(), "Unable to read settings file"));
    EXPECT_EQ(UiTypes::ToolbarPosition::Top, settings.GetUiSettings()->getToolbarPosition());
    EXPECT_EQ(UiTypes::UiTheme::Day, settings.GetUiSettings()->getTheme());
    EXPECT_EQ(MeasurementType::Metric, settings.GetUnitSettings()->getMeasurementUnits());
    EXPECT_EQ(TemperatureType::C, settings.GetUnitSettings()->getTemperatureUnits());
    const LoggingSettings* logging = settings.GetLoggingSettings();
    EXPECT_EQ(LogLevel::Error, logging->getLoggingLevel());
    EXPECT_FALSE(logging->getLoggingWindowEnabled());
    EXPECT_EQ(10, logging->getLogFilesToKeep());
    EXPECT_EQ(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QDir::separator() +
                  QStringLiteral("Logs"),
              logging->getLogFilePath());
    EXPECT_EQ(QString(), settings.GetWindowSettings(QStringLiteral("zorvpro__MainWindow")).name);
    EXPECT_FALSE(QFile::exists(path)) << "reading must not write";

    // The first change writes every section held: no windows were read.
    settings.GetUnitSettings()->setTemperatureUnits(TemperatureType::F);
    EXPECT_EQ(QByteArray("<Settings Version=\"1\">\n"
                         "    <Logging>\n"
                         "        <LoggingPath>") +
                  logging->getLogFilePath().toUtf8() +
                  QByteArray("</LoggingPath>\n"
                             "        <LogFilesToKeep>10</LogFilesToKeep>\n"
                             "        <LogLevel>error</LogLevel>\n"
                             "        <LogWindowEnabled>false</LogWindowEnabled>\n"
                             "    </Logging>\n"
                             "    <UI>\n"
                             "        <ToolbarPosition>Top</ToolbarPosition>\n"
                             "        <Theme>Day</Theme>\n"
                             "    </UI>\n"
                             "    <Units>\n"
                             "        <Measurement>Metric</Measurement>\n"
                             "        <Temperature>F</Temperature>\n"
                             "    </Units>\n"
                             "</Settings>\n"),
              ReadFile(path));
}

TEST_F(AppSettingsTest, LoadedFileWithoutWindowsGetsTheThreeDefaultWindowSections)
{
    WriteFile(path, SettingsDocument("<UI><Theme>Night</Theme></UI>"));
    AppSettings settings(path);
    const WindowSettings main = settings.GetWindowSettings(QStringLiteral("zorvpro__MainWindow"));
    EXPECT_EQ(QStringLiteral("zorvpro__MainWindow"), main.name);
    EXPECT_EQ(-1, main.x);
    EXPECT_TRUE(main.maximized);

    settings.GetUiSettings()->setToolbarPosition(UiTypes::ToolbarPosition::Right);
    const auto file = HierarchicalFile::Open(path);
    ASSERT_NE(nullptr, file);
    std::vector<QString> names;
    for (const auto& child : file->GetRoot()->GetChildren())
        names.push_back(child->GetName());
    EXPECT_EQ((std::vector<QString>{"zorvpro__AboutDialog", "zorvpro__MainWindow", "zorvpro__SettingsPage",
                                    "Logging", "UI", "Units"}),
              names);
    for (const char* window : {"zorvpro__AboutDialog", "zorvpro__MainWindow", "zorvpro__SettingsPage"})
    {
        EXPECT_EQ(QStringLiteral("0"), Value(path, window, QStringLiteral("ScreenNumber")));
        EXPECT_EQ(QString(), Value(path, window, QStringLiteral("ScreenConfig")));
        EXPECT_EQ(QStringLiteral("-1"), Value(path, window, QStringLiteral("ScreenXPosition")));
        EXPECT_EQ(QStringLiteral("-1"), Value(path, window, QStringLiteral("ScreenYPosition")));
        EXPECT_EQ(QStringLiteral("true"), Value(path, window, QStringLiteral("ScreenIsMaximized")));
    }
    EXPECT_EQ(QStringLiteral("Night"), Value(path, QStringLiteral("UI"), QStringLiteral("Theme")));
    EXPECT_EQ(QStringLiteral("Right"), Value(path, QStringLiteral("UI"), QStringLiteral("ToolbarPosition")));
}

TEST_F(AppSettingsTest, ValuesAreReadInAnyCaseWithoutRewritingTheFile)
{
    const QByteArray document = SettingsDocument(
        "<zorvpro__SettingsPage><ScreenNumber>1</ScreenNumber><ScreenConfig>0;0;1920;1080</ScreenConfig>"
        "<ScreenXPosition>15</ScreenXPosition><ScreenYPosition>-20</ScreenYPosition>"
        "<ScreenIsMaximized>FaLsE</ScreenIsMaximized></zorvpro__SettingsPage>"
        "<Logging><LoggingPath>/var/log/zorv</LoggingPath><LogFilesToKeep>3</LogFilesToKeep>"
        "<LogLevel>WARNING</LogLevel><LogWindowEnabled>TRUE</LogWindowEnabled></Logging>"
        "<UI><ToolbarPosition>rIGHT</ToolbarPosition><Theme>night</Theme></UI>"
        "<Units><Measurement>IMPERIAL</Measurement><Temperature>f</Temperature></Units>");
    WriteFile(path, document);
    test::LogCapture capture;
    AppSettings settings(path);
    EXPECT_TRUE(capture.Texts().empty());
    EXPECT_EQ(UiTypes::ToolbarPosition::Right, settings.GetUiSettings()->getToolbarPosition());
    EXPECT_EQ(UiTypes::UiTheme::Night, settings.GetUiSettings()->getTheme());
    EXPECT_EQ(MeasurementType::Imperial, settings.GetUnitSettings()->getMeasurementUnits());
    EXPECT_EQ(TemperatureType::F, settings.GetUnitSettings()->getTemperatureUnits());
    EXPECT_EQ(LogLevel::Warning, settings.GetLoggingSettings()->getLoggingLevel());
    EXPECT_TRUE(settings.GetLoggingSettings()->getLoggingWindowEnabled());
    EXPECT_EQ(3, settings.GetLoggingSettings()->getLogFilesToKeep());
    EXPECT_EQ(QStringLiteral("/var/log/zorv"), settings.GetLoggingSettings()->getLogFilePath());
    const WindowSettings page = settings.GetWindowSettings(QStringLiteral("zorvpro__SettingsPage"));
    EXPECT_EQ(1, page.screenNumber);
    EXPECT_EQ(QStringLiteral("0;0;1920;1080"), page.screenConfiguration);
    EXPECT_EQ(15, page.x);
    EXPECT_EQ(-20, page.y);
    EXPECT_FALSE(page.maximized);
    EXPECT_EQ(document, ReadFile(path)) << "the setters run while reading must not save";
}

TEST_F(AppSettingsTest, BadValuesAreLoggedAndLeaveTheirSettingAlone)
{
    WriteFile(path,
              SettingsDocument("<zorvpro__MainWindow><ScreenNumber>two</ScreenNumber><ScreenXPosition>12"
                               "</ScreenXPosition></zorvpro__MainWindow>"
                               "<Logging><LogFilesToKeep>1e3</LogFilesToKeep><LogLevel>verbose</LogLevel>"
                               "<LogWindowEnabled>yes</LogWindowEnabled></Logging>"
                               "<UI><ToolbarPosition>Left</ToolbarPosition><Theme>Dusk</Theme></UI>"
                               "<Units><Measurement>Metrics</Measurement><Temperature>K</Temperature></Units>"
                               "<zorvpro__Unknown><ScreenNumber>1</ScreenNumber></zorvpro__Unknown>"));
    test::LogCapture capture;
    AppSettings settings(path);
    const auto texts = capture.Texts();
    for (const char* expected :
         {"Unable to parse settings ScreenNumber value two as integer",
          "Unable to find ScreenConfig key in settings", "Unable to find ScreenYPosition key in settings",
          "Unable to find ScreenIsMaximized key in settings", "Unable to find LoggingPath key in settings",
          "Unable to parse settings LogFilesToKeep value 1e3 as integer",
          "Unable to parse settings LogWindowEnabled value yes as bool",
          "Unable to parse settings Theme value Dusk as theme",
          "Unable to parse settings ToolbarPosition value Left as toolbar position",
          "Unable to parse settings Measurement value Metrics as measurement units",
          "Unable to parse settings Temperature value K as temperature units"})
        EXPECT_TRUE(Contains(texts, expected)) << expected;
    EXPECT_EQ(11u, texts.size());

    const WindowSettings main = settings.GetWindowSettings(QStringLiteral("zorvpro__MainWindow"));
    EXPECT_EQ(0, main.screenNumber);
    EXPECT_EQ(12, main.x);
    EXPECT_EQ(QString(), settings.GetWindowSettings(QStringLiteral("zorvpro__Unknown")).name);
    EXPECT_EQ(10, settings.GetLoggingSettings()->getLogFilesToKeep());
    EXPECT_FALSE(settings.GetLoggingSettings()->getLoggingWindowEnabled());
    // An unknown level name switches logging off.
    EXPECT_EQ(LogLevel::Off, settings.GetLoggingSettings()->getLoggingLevel());
    EXPECT_EQ(UiTypes::UiTheme::Day, settings.GetUiSettings()->getTheme());
    EXPECT_EQ(UiTypes::ToolbarPosition::Top, settings.GetUiSettings()->getToolbarPosition());
    EXPECT_EQ(MeasurementType::Metric, settings.GetUnitSettings()->getMeasurementUnits());
    EXPECT_EQ(TemperatureType::C, settings.GetUnitSettings()->getTemperatureUnits());
}

TEST_F(AppSettingsTest, GarbledFileOrWrongRootKeepsTheDefaults)
{
    WriteFile(path, "<Settings><UI><Theme>Night</Theme></UI>");
    {
        test::LogCapture capture;
        AppSettings settings(path);
        EXPECT_TRUE(Contains(capture.Texts(), "Unable to read settings file"));
        EXPECT_EQ(UiTypes::UiTheme::Day, settings.GetUiSettings()->getTheme());
    }
    WriteFile(path, "<Preferences><UI><Theme>Night</Theme></UI></Preferences>");
    {
        test::LogCapture capture;
        AppSettings settings(path);
        EXPECT_EQ(std::vector<std::string>{"Unable to find Settings element in settings"}, capture.Texts());
        EXPECT_EQ(UiTypes::UiTheme::Day, settings.GetUiSettings()->getTheme());
        EXPECT_EQ(QString(), settings.GetWindowSettings(QStringLiteral("zorvpro__MainWindow")).name);
    }
}

TEST_F(AppSettingsTest, OnlyEffectiveChangesSignalAndSave)
{
    AppSettings settings(path);
    UiSettings* ui = settings.GetUiSettings();
    QStringList events;
    QObject::connect(ui, &UiSettings::themeChanged,
                     [&](UiTypes::UiTheme t) { events << QStringLiteral("theme %1").arg(ToText(t)); });
    QObject::connect(ui, &UiSettings::toolbarPositionChanged, [&] { events << QStringLiteral("toolbar"); });
    QObject::connect(ui, &UiSettings::settingsChanged, [&] { events << QStringLiteral("settings"); });

    ui->setTheme(UiTypes::UiTheme::Day);
    EXPECT_TRUE(events.isEmpty());
    EXPECT_FALSE(QFile::exists(path));

    // A logging change alone is not written.
    settings.GetLoggingSettings()->setLogFilesToKeep(4);
    EXPECT_FALSE(QFile::exists(path));

    ui->setTheme(UiTypes::UiTheme::Night);
    EXPECT_EQ((QStringList{"theme Night", "settings"}), events);
    EXPECT_EQ(QStringLiteral("Night"), Value(path, QStringLiteral("UI"), QStringLiteral("Theme")));
    EXPECT_EQ(QStringLiteral("4"), Value(path, QStringLiteral("Logging"), QStringLiteral("LogFilesToKeep")));

    QStringList unitEvents;
    UnitSettings* units = settings.GetUnitSettings();
    QObject::connect(units, &UnitSettings::measurementUnitsChanged,
                     [&] { unitEvents << QStringLiteral("m"); });
    QObject::connect(units, &UnitSettings::settingsChanged, [&] { unitEvents << QStringLiteral("s"); });
    units->setMeasurementUnits(MeasurementType::Metric);
    units->setMeasurementUnits(MeasurementType::Imperial);
    EXPECT_EQ((QStringList{"m", "s"}), unitEvents);
    EXPECT_EQ(QStringLiteral("Imperial"),
              Value(path, QStringLiteral("Units"), QStringLiteral("Measurement")));

    AppSettings reread(path);
    EXPECT_EQ(UiTypes::UiTheme::Night, reread.GetUiSettings()->getTheme());
    EXPECT_EQ(MeasurementType::Imperial, reread.GetUnitSettings()->getMeasurementUnits());
    EXPECT_EQ(4, reread.GetLoggingSettings()->getLogFilesToKeep());
}

TEST_F(AppSettingsTest, WindowRecordsSaveAtOnceAndRemovalWaitsForTheNextSave)
{
    AppSettings settings(path);
    WindowSettings about;
    about.name = QStringLiteral("zorvpro__AboutDialog");
    about.screenNumber = 0;
    about.screenConfiguration = QStringLiteral("0;0;800;600");
    about.x = 40;
    about.y = 50;
    about.maximized = false;
    settings.SetWindowSettings(about);
    EXPECT_EQ(QStringLiteral("40"), Value(path, about.name, QStringLiteral("ScreenXPosition")));
    EXPECT_EQ(QStringLiteral("false"), Value(path, about.name, QStringLiteral("ScreenIsMaximized")));

    settings.RemoveWindowSettings(about.name);
    EXPECT_EQ(QString(), settings.GetWindowSettings(about.name).name);
    EXPECT_EQ(QStringLiteral("40"), Value(path, about.name, QStringLiteral("ScreenXPosition")));
    settings.GetUiSettings()->setTheme(UiTypes::UiTheme::Night);
    EXPECT_EQ(QStringLiteral("<missing>"), Value(path, about.name, QStringLiteral("ScreenXPosition")));

    // Reading back restores the record.
    settings.SetWindowSettings(about);
    AppSettings reread(path);
    const WindowSettings back = reread.GetWindowSettings(about.name);
    EXPECT_EQ(about.screenConfiguration, back.screenConfiguration);
    EXPECT_EQ(50, back.y);
    EXPECT_FALSE(back.maximized);
}

TEST_F(AppSettingsTest, WindowWithoutAUsableNameNeverBreaksTheFile)
{
    AppSettings settings(path);
    WindowSettings unnamed;
    unnamed.x = 5;
    settings.SetWindowSettings(unnamed);
    WindowSettings spaced;
    spaced.name = QStringLiteral("my window");
    settings.SetWindowSettings(spaced);
    settings.GetUiSettings()->setTheme(UiTypes::UiTheme::Night);

    test::LogCapture capture;
    AppSettings reread(path);
    EXPECT_TRUE(capture.Texts().empty());
    EXPECT_EQ(UiTypes::UiTheme::Night, reread.GetUiSettings()->getTheme());
}

TEST_F(AppSettingsTest, SaveCreatesTheMissingFolder)
{
    const QString nested = dir.File(QStringLiteral("a/b/Settings.xml"));
    AppSettings settings(nested);
    settings.GetUiSettings()->setTheme(UiTypes::UiTheme::Night);
    EXPECT_EQ(QStringLiteral("Night"), Value(nested, QStringLiteral("UI"), QStringLiteral("Theme")));
}

TEST_F(AppSettingsTest, UnwritableFolderIsLoggedAndSettingsStayInMemory)
{
    WriteFile(dir.File(QStringLiteral("blocker")), "a file where a folder should be");
    const QString blocked = dir.File(QStringLiteral("blocker/Settings.xml"));
    AppSettings settings(blocked);
    test::LogCapture capture;
    settings.GetUiSettings()->setTheme(UiTypes::UiTheme::Night);
    EXPECT_TRUE(Contains(capture.Texts(), "Unable to create folder " +
                                              dir.File(QStringLiteral("blocker")).toStdString() +
                                              " for settings file"));
    EXPECT_EQ(UiTypes::UiTheme::Night, settings.GetUiSettings()->getTheme());
}

TEST_F(AppSettingsTest, EnumerationTextsOutsideTheTablesAreEmptyOrRefused)
{
    EXPECT_EQ(QString(), ToText(static_cast<UiTypes::UiTheme>(2)));
    EXPECT_EQ(QString(), ToText(static_cast<TemperatureType>(-1)));
    TemperatureType t = TemperatureType::F;
    EXPECT_FALSE(FromText(QStringLiteral("Celsius"), t));
    EXPECT_FALSE(FromText(QString(), t));
    EXPECT_EQ(TemperatureType::F, t);
}
