#include "data/Settings/AppSettingsImpl.h"

#include "core/Logger/OmbraxLogger.h"
#include "core/Xml/HierarchicalFile.h"
#include "data/Project/ProjectKeys.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <new>

namespace zorvpro
{
namespace
{
using ElementPtr = std::shared_ptr<HierarchicalFileElement>;

const QString kRootTag = QStringLiteral("Settings");
// Only these window sections are read; others vanish at the next save.
const QString kWindowNames[] = {QStringLiteral("zorvpro__MainWindow"),
                                QStringLiteral("zorvpro__SettingsPage"),
                                QStringLiteral("zorvpro__AboutDialog")};

void LogError(const QString& text)
{
    OmbraxLogger::Log(LogLevel::Error, text);
}

// Sections are created by Save; a failure is reported as Save's.
ElementPtr AddSection(const QString& tag, const ElementPtr& parent)
{
    ElementPtr section = parent->AddChild(tag);
    if (!section)
    {
        const std::bad_alloc error;
        OmbraxLogger::LogException(error, __FILE__, "Save", __LINE__);
        throw error;
    }
    return section;
}

// A window name becomes a tag; one that is no XML name would make the whole
// file unreadable at the next start, so such a record is not written.
bool IsTagName(const QString& name)
{
    static const QRegularExpression pattern(QStringLiteral("^[A-Za-z_][A-Za-z0-9_.-]*$"));
    return pattern.match(name).hasMatch();
}

// Reads an enumeration through its text table; what names the kind in the message.
template <typename E> bool ReadEnum(const ElementPtr& section, const QString& key, const char* what, E& value)
{
    QString text;
    if (!ReadKeyText(key, section, text))
        return false;
    if (!FromText(text, value))
    {
        LogError(
            QStringLiteral("Unable to parse settings %1 value %2 as %3").arg(key, text, QLatin1String(what)));
        return false;
    }
    return true;
}
} // namespace

AppSettings::Impl::Impl(const QString& filePath) : filePath_(filePath)
{
    Load();
    connect(&units, &UnitSettings::settingsChanged, this, &Impl::Save);
    connect(&ui, &UiSettings::settingsChanged, this, &Impl::Save);
}

AppSettings::Impl::~Impl() = default;

void AppSettings::Impl::Save()
{
    if (loading)
        return;
    const QString folder = QFileInfo(filePath_).absolutePath();
    if (!QDir(folder).exists() && !QDir().mkpath(folder))
    {
        LogError(QStringLiteral("Unable to create folder %1 for settings file").arg(folder));
        return;
    }

    HierarchicalFile file;
    const ElementPtr root = file.CreateRoot(kRootTag);
    if (!root)
    {
        const std::bad_alloc error;
        OmbraxLogger::LogException(error, __FILE__, "Save", __LINE__);
        throw error;
    }
    root->SetAttribute(QStringLiteral("Version"), QStringLiteral("1"));

    for (const auto& [name, window] : windows)
    {
        if (!IsTagName(name))
            continue;
        const ElementPtr section = AddSection(name, root);
        AddKeyValue(QStringLiteral("ScreenNumber"), window.screenNumber, section);
        AddKeyValue(QStringLiteral("ScreenConfig"), window.screenConfiguration, section);
        AddKeyValue(QStringLiteral("ScreenXPosition"), window.x, section);
        AddKeyValue(QStringLiteral("ScreenYPosition"), window.y, section);
        AddKeyValue(QStringLiteral("ScreenIsMaximized"), window.maximized, section);
    }

    const ElementPtr loggingSection = AddSection(QStringLiteral("Logging"), root);
    AddKeyValue(QStringLiteral("LoggingPath"), logging.getLogFilePath(), loggingSection);
    AddKeyValue(QStringLiteral("LogFilesToKeep"), logging.getLogFilesToKeep(), loggingSection);
    AddKeyValue(QStringLiteral("LogLevel"), QString::fromLatin1(LogLevel::ToName(logging.getLoggingLevel())),
                loggingSection);
    AddKeyValue(QStringLiteral("LogWindowEnabled"), logging.getLoggingWindowEnabled(), loggingSection);

    const ElementPtr uiSection = AddSection(QStringLiteral("UI"), root);
    AddKeyValue(QStringLiteral("ToolbarPosition"), ToText(ui.getToolbarPosition()), uiSection);
    AddKeyValue(QStringLiteral("Theme"), ToText(ui.getTheme()), uiSection);

    const ElementPtr unitsSection = AddSection(QStringLiteral("Units"), root);
    AddKeyValue(QStringLiteral("Measurement"), ToText(units.getMeasurementUnits()), unitsSection);
    AddKeyValue(QStringLiteral("Temperature"), ToText(units.getTemperatureUnits()), unitsSection);

    if (!file.Save(filePath_))
        LogError(QStringLiteral("Unable to write settings file"));
}

void AppSettings::Impl::Load()
{
    loading = true;
    const auto file = HierarchicalFile::Open(filePath_);
    if (!file)
    {
        LogError(QStringLiteral("Unable to read settings file"));
    }
    else if (file->GetRoot()->GetName() != kRootTag)
    {
        LogError(QStringLiteral("Unable to find %1 element in settings").arg(kRootTag));
    }
    else
    {
        const ElementPtr root = file->GetRoot();
        for (const QString& name : kWindowNames)
            LoadWindow(root, name);
        if (const ElementPtr section = root->GetChild(QStringLiteral("Logging")))
            LoadLogging(section);
        if (const ElementPtr section = root->GetChild(QStringLiteral("UI")))
            LoadUi(section);
        if (const ElementPtr section = root->GetChild(QStringLiteral("Units")))
            LoadUnits(section);
    }
    loading = false;
}

void AppSettings::Impl::LoadWindow(const ElementPtr& root, const QString& name)
{
    WindowSettings window;
    window.name = name;
    if (const ElementPtr section = root->GetChild(name))
    {
        ReadIntKey(QStringLiteral("ScreenNumber"), section, window.screenNumber);
        ReadKeyText(QStringLiteral("ScreenConfig"), section, window.screenConfiguration);
        ReadIntKey(QStringLiteral("ScreenXPosition"), section, window.x);
        ReadIntKey(QStringLiteral("ScreenYPosition"), section, window.y);
        ReadBoolKey(QStringLiteral("ScreenIsMaximized"), section, window.maximized);
    }
    windows[name] = window;
}

void AppSettings::Impl::LoadLogging(const ElementPtr& section)
{
    QString text;
    if (ReadKeyText(QStringLiteral("LoggingPath"), section, text))
        logging.setLogFilePath(text);
    int count = 0;
    if (ReadIntKey(QStringLiteral("LogFilesToKeep"), section, count))
        logging.setLogFilesToKeep(count);
    bool enabled = false;
    if (ReadBoolKey(QStringLiteral("LogWindowEnabled"), section, enabled))
        logging.setLoggingWindowEnabled(enabled);
    if (ReadKeyText(QStringLiteral("LogLevel"), section, text))
        logging.setLoggingLevel(LogLevel::FromName(text.toUtf8().constData()));
}

void AppSettings::Impl::LoadUi(const ElementPtr& section)
{
    UiTypes::UiTheme theme = ui.getTheme();
    if (ReadEnum(section, QStringLiteral("Theme"), "theme", theme))
        ui.setTheme(theme);
    UiTypes::ToolbarPosition position = ui.getToolbarPosition();
    if (ReadEnum(section, QStringLiteral("ToolbarPosition"), "toolbar position", position))
        ui.setToolbarPosition(position);
}

void AppSettings::Impl::LoadUnits(const ElementPtr& section)
{
    MeasurementType measurement = units.getMeasurementUnits();
    if (ReadEnum(section, QStringLiteral("Measurement"), "measurement units", measurement))
        units.setMeasurementUnits(measurement);
    TemperatureType temperature = units.getTemperatureUnits();
    if (ReadEnum(section, QStringLiteral("Temperature"), "temperature units", temperature))
        units.setTemperatureUnits(temperature);
}
} // namespace zorvpro
