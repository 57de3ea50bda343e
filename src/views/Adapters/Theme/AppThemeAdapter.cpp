#include "views/Adapters/Theme/AppThemeAdapter.h"

#include "core/Logger/OmbraxLogger.h"
#include "data/Settings/AppSettings.h"

#include <QApplication>
#include <algorithm>
#include <stdexcept>

namespace zorvpro
{
AppThemeAdapter* AppThemeAdapter::instance()
{
    static AppThemeAdapter adapter;
    return &adapter;
}

void AppThemeAdapter::configure(QApplication* application)
{
    if (application == nullptr)
    {
        const std::logic_error error("AppThemeAdapter received a null reference");
        OmbraxLogger::LogException(error, __FILE__, "configure", __LINE__);
        throw error;
    }
    const bool first = application_ == nullptr;
    application_ = application;
    if (first)
        connect(AppSettings::Instance().GetUiSettings(), &UiSettings::themeChanged, this,
                &AppThemeAdapter::handleThemeChanged);
    handleThemeChanged();
}

void AppThemeAdapter::handleThemeChanged()
{
    theme_ = static_cast<int>(AppSettings::Instance().GetUiSettings()->getTheme());
    notifyListeners();
}

void AppThemeAdapter::addThemeListener(IAppThemeListener* listener)
{
    if (listener == nullptr || std::find(listeners_.begin(), listeners_.end(), listener) != listeners_.end())
        return;
    listeners_.push_back(listener);
}

void AppThemeAdapter::removeThemeListener(IAppThemeListener* listener)
{
    const auto it = std::find(listeners_.begin(), listeners_.end(), listener);
    if (listener != nullptr && it != listeners_.end())
        listeners_.erase(it);
}

void AppThemeAdapter::notifyListeners()
{
    // A listener may unregister itself while being told; walk a copy.
    const std::vector<IAppThemeListener*> listeners = listeners_;
    for (IAppThemeListener* listener : listeners)
        listener->themeChanged(theme_);
}
} // namespace zorvpro
