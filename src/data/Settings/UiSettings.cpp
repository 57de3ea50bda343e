#include "data/Settings/UiSettings.h"

#include "Utility/ApiChecker.h"

namespace zorvpro
{
struct UiSettings::Data
{
    UiTypes::ToolbarPosition toolbarPosition = UiTypes::ToolbarPosition::Top;
    UiTypes::UiTheme theme = UiTypes::UiTheme::Day;
};

UiSettings::UiSettings(QObject* parent) : QObject(parent), d_(new Data)
{
    CheckAlloc(d_);
}

UiSettings::~UiSettings() = default;

UiTypes::ToolbarPosition UiSettings::getToolbarPosition() const
{
    return d_->toolbarPosition;
}

void UiSettings::setToolbarPosition(UiTypes::ToolbarPosition pos)
{
    if (d_->toolbarPosition == pos)
        return;
    d_->toolbarPosition = pos;
    emit toolbarPositionChanged(pos);
    emit settingsChanged();
}

UiTypes::UiTheme UiSettings::getTheme() const
{
    return d_->theme;
}

void UiSettings::setTheme(UiTypes::UiTheme theme)
{
    if (d_->theme == theme)
        return;
    d_->theme = theme;
    emit themeChanged(theme);
    emit settingsChanged();
}
} // namespace zorvpro
