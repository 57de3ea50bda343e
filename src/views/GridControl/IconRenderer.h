#pragma once

// One themed icon: the compiled-in PNG files of one icon, kept as one QIcon
// per theme with a pixmap for each mode and state. The owner chooses the mode
// and state to show and puts that pixmap on its button; Qt never picks.

#include "views/Common/IAppThemeListener.h"

#include <QIcon>
#include <map>

class QAbstractButton;

namespace zorvpro
{
class IconRenderer : private IAppThemeListener
{
public:
    IconRenderer();
    IconRenderer(const IconRenderer&) = default;
    IconRenderer& operator=(const IconRenderer&) = default;
    ~IconRenderer() override = default;

    // Loads ":/Resources/Icons/<icon>_<theme>_<mode>_<state>" into the theme's
    // icon for that mode and state (modes and states are QIcon's values).
    // Throws std::logic_error, after logging, when the file is missing or
    // cannot be read as an image.
    void addFile(int icon, const int& theme, int mode, int state);

    // Shows the current theme's pixmap for the mode and state on the button
    // and sizes the button to it. Does nothing without a button or without
    // icons for the current theme.
    void applyToButton(QAbstractButton* button, int mode, int state) const;

    // True when icons for both the light and the dark theme were added.
    bool hasBothThemes() const;

    // Stores the theme (1 light, 0 dark); the owner redraws.
    void themeChanged(const int& theme) override;
    int theme() const { return theme_; }

    // The file of one icon, mode and state in one theme.
    static QString fileName(int icon, int theme, int mode, int state);

private:
    std::map<int, QIcon> icons_;
    int theme_ = 1;
};
} // namespace zorvpro
