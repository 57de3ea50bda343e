#pragma once

#include <QString>

namespace zorvpro
{
// Where a window was last placed; the name is the window's object name and
// the tag of its section in Settings.xml.
class WindowSettings
{
public:
    virtual ~WindowSettings() = default;

    QString name;
    int screenNumber = 0;
    // The screen's geometry as "x;y;width;height" when the window was saved.
    QString screenConfiguration;
    int x = -1;
    int y = -1;
    bool maximized = true;
};
} // namespace zorvpro
