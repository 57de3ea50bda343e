#include "data/Settings/AppSettings.h"

#include "Utility/ApiChecker.h"
#include "data/Settings/AppSettingsImpl.h"

#include <QDir>
#include <QStandardPaths>

namespace zorvpro
{
AppSettings& AppSettings::Instance()
{
    static AppSettings instance(DefaultFilePath());
    return instance;
}

QString AppSettings::DefaultFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QDir::separator() +
           QStringLiteral("Settings.xml");
}

AppSettings::AppSettings(const QString& filePath) : impl_(new Impl(filePath))
{
    CheckAlloc(impl_);
}

AppSettings::~AppSettings()
{
    delete impl_;
}

void AppSettings::SetWindowSettings(const WindowSettings& settings)
{
    impl_->windows[settings.name] = settings;
    impl_->Save();
}

WindowSettings AppSettings::GetWindowSettings(const QString& objName) const
{
    const auto it = impl_->windows.find(objName);
    return it != impl_->windows.end() ? it->second : WindowSettings();
}

void AppSettings::RemoveWindowSettings(const QString& objName)
{
    impl_->windows.erase(objName);
}

UnitSettings* AppSettings::GetUnitSettings() const
{
    return &impl_->units;
}

LoggingSettings* AppSettings::GetLoggingSettings() const
{
    return &impl_->logging;
}

UiSettings* AppSettings::GetUiSettings() const
{
    return &impl_->ui;
}

void AppSettings::Load()
{
    impl_->Load();
}
} // namespace zorvpro
