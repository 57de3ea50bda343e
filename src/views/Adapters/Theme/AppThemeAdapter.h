#pragma once

#include "views/Adapters/Theme/IAppThemeListener.h"

#include <QObject>
#include <vector>

class QApplication;

namespace zorvpro
{
// The process-wide source of the current theme. It follows the theme
// setting once configured and tells every registered listener, in
// registration order, whenever the theme changes.
class AppThemeAdapter : public QObject
{
    Q_OBJECT

public:
    static AppThemeAdapter* instance();

    // Starts following the stored theme setting and tells the listeners the
    // current theme. Throws std::logic_error for a null application.
    void configure(QApplication* application);

    // 1 light, 0 dark; light until configured.
    int getTheme() const { return theme_; }

    // Null and already registered listeners are ignored.
    void addThemeListener(IAppThemeListener* listener);
    // Removes the first equal entry; unknown or null listeners are ignored.
    void removeThemeListener(IAppThemeListener* listener);
    void notifyListeners();

public slots:
    void handleThemeChanged();

private:
    AppThemeAdapter() = default;

    QApplication* application_ = nullptr;
    int theme_ = 1;
    std::vector<IAppThemeListener*> listeners_;
};
} // namespace zorvpro
