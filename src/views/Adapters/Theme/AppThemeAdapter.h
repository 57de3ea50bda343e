#pragma once

#include "views/Common/AdapterBase.h"
#include "views/Common/AppThemeSource.h"
#include "views/Common/IAppThemeListener.h"

#include <vector>

class QApplication;

namespace zorvpro
{
// The one place that turns the theme setting into the look of the whole
// application: the application font and style sheet, and a notice to every
// registered listener, in registration order, so each restyles its widgets.
class AppThemeAdapter : public AdapterBase, public IAppThemeSource
{
    Q_OBJECT

public:
    // The process-wide adapter, created on first use (after the application
    // object, since creating it registers the application fonts).
    static AppThemeAdapter* instance();

    // Starts following the stored theme setting, styles the application and
    // tells the listeners. Throws std::logic_error for a null application,
    // leaving everything as it was.
    void configure(QApplication* application);

    // 1 light, 0 dark; light until configured.
    int getTheme() const override { return theme_; }

    // Null and already registered listeners are ignored.
    void addThemeListener(IAppThemeListener* listener);
    // Removes the first equal entry; unknown or null listeners are ignored.
    void removeThemeListener(IAppThemeListener* listener);
    void notifyListeners();

public slots:
    // Reads the theme again, restyles the application and tells the listeners.
    void handleThemeChanged();

private:
    AppThemeAdapter();
    ~AppThemeAdapter() override;
    void applyStyleSheet();

    QApplication* application_ = nullptr;
    int theme_ = 1;
    std::vector<IAppThemeListener*> listeners_;
};
} // namespace zorvpro
