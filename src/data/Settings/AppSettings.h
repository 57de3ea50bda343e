#pragma once

#include "data/Settings/LoggingSettings.h"
#include "data/Settings/UiSettings.h"
#include "data/Settings/UnitSettings.h"
#include "data/Settings/WindowSettings.h"

#include <QObject>
#include <QString>

namespace zorvpro
{
// The user's preferences that outlive a project, kept in Settings.xml in the
// per-user application-data folder: read on creation, written on change.
class AppSettings : public QObject
{
    Q_OBJECT

public:
    class Impl;

    // The process-wide settings, created (and loaded) on first use.
    static AppSettings& Instance();
    // <application data>/Settings.xml
    static QString DefaultFilePath();

    // Settings kept in the given file; the process-wide instance uses DefaultFilePath().
    explicit AppSettings(const QString& filePath);
    ~AppSettings() override;

public slots:
    // Stores the record under its name and saves the file at once.
    void SetWindowSettings(const zorvpro::WindowSettings& settings);
    // The stored record, or a default one with an empty name.
    zorvpro::WindowSettings GetWindowSettings(const QString& objName) const;
    // Forgets the record; the file keeps it until the next save.
    void RemoveWindowSettings(const QString& objName);
    UnitSettings* GetUnitSettings() const;
    LoggingSettings* GetLoggingSettings() const;
    UiSettings* GetUiSettings() const;
    // Reads the file again.
    void Load();

private:
    Impl* impl_;
};
} // namespace zorvpro
