#include "views/Adapters/Theme/AppThemeAdapter.h"

#include "Resources/Fonts/StandInFonts.h"
#include "Resources/Icons/IconResources.h"
#include "core/Logger/OmbraxLogger.h"
#include "data/Settings/AppSettings.h"
#include "views/Adapters/Theme/AppStyleSheet.h"

#include <QApplication>
#include <QFont>
#include <algorithm>
#include <stdexcept>

namespace zorvpro
{
AppThemeAdapter* AppThemeAdapter::instance()
{
    static AppThemeAdapter adapter;
    return &adapter;
}

AppThemeAdapter::AppThemeAdapter()
{
    // The application's one registration of its compiled-in fonts; a font
    // that cannot be loaded leaves the system's choice in place.
    RegisterStandInFonts();
    // The images the style sheet names.
    InitIconResources();
    SetAppThemeSource(this);
}

AppThemeAdapter::~AppThemeAdapter()
{
    SetAppThemeSource(nullptr);
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
    applyStyleSheet();
    notifyListeners();
}

void AppThemeAdapter::applyStyleSheet()
{
    if (application_ == nullptr)
        return;
    QApplication::setFont(QFont(QStringLiteral("\"Gotham\"")));
    application_->setStyleSheet(ApplicationStyleSheet(theme_));
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
