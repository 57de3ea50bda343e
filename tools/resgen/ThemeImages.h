#pragma once

// The images the application style sheet names: splitter grips for both
// themes and the combo-box arrow. Each is drawn by one function.

#include <QImage>
#include <vector>

namespace zorvpro::resgen
{
// The grip of a splitter whose panes are stacked (a horizontal bar).
QImage DrawSplitterVertical(bool lightTheme);
// The grip of a splitter whose panes sit side by side (an upright bar).
QImage DrawSplitterHorizontal(bool lightTheme);
// The drop-down arrow of every combo box, readable on both themes' fields.
QImage DrawComboArrow();

struct ThemeImage
{
    const char* path; // ":/"-relative, e.g. "Resources/Icons/splitter_vert_light.png"
    QImage image;
};

std::vector<ThemeImage> ThemeImages();
} // namespace zorvpro::resgen
