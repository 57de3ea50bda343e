#pragma once

#include "data/Settings/WindowSettings.h"

class QWidget;

namespace zorvpro
{
class AppSettings;

// A window's placement is kept under its object name, with "::" written as
// "__" (the section tag in Settings.xml).
//
// Runs ApplyWindowPlacement on the next event-loop pass, unless the widget
// is gone by then. Windows call it from setVisible: showing restores the
// placement, hiding saves it. Follows the window's state from then on.
void DeferWindowPlacement(QWidget* widget, bool restore);
// Remembers from now on whether the window was maximised when it went full
// screen, for a window manager that reports full screen alone, and the place
// the user left it at as a normal window, for one that moves it before it
// reports a zoomed state.
void FollowZoomedState(QWidget* widget);
// restore = true puts the window where it was; false saves where it is.
void ApplyWindowPlacement(QWidget* widget, bool restore);
// The stored placement of a dialog or main window; false when there is none
// usable: another kind of widget, an unknown screen, or a screen whose
// geometry changed since the save.
bool ReadWindowPlacement(QWidget* widget, WindowSettings& settings);
// Stores the placement when the window lies within one screen or is maximised. A maximised or
// full-screen window is stored at its normal place, and as maximised when it is (also under full
// screen): it starts again as the window it was before.
void SaveWindowPlacement(QWidget* widget);

// The same against given settings rather than the process-wide ones.
void ApplyWindowPlacement(QWidget* widget, bool restore, AppSettings& settings);
bool ReadWindowPlacement(QWidget* widget, WindowSettings& out, const AppSettings& settings);
void SaveWindowPlacement(QWidget* widget, AppSettings& settings);
} // namespace zorvpro
