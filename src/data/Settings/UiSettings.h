#pragma once

#include "data/Settings/SettingsTypes.h"

#include <QObject>
#include <memory>

namespace zorvpro
{
class UiSettings : public QObject
{
    Q_OBJECT

public:
    explicit UiSettings(QObject* parent = nullptr);
    ~UiSettings() override;

signals:
    void toolbarPositionChanged(zorvpro::UiTypes::ToolbarPosition pos);
    void themeChanged(zorvpro::UiTypes::UiTheme theme);
    void settingsChanged();

public slots:
    UiTypes::ToolbarPosition getToolbarPosition() const;
    void setToolbarPosition(zorvpro::UiTypes::ToolbarPosition pos);
    UiTypes::UiTheme getTheme() const;
    void setTheme(zorvpro::UiTypes::UiTheme theme);

private:
    struct Data;
    std::unique_ptr<Data> d_;
};
} // namespace zorvpro
