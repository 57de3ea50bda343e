#pragma once

// Which icon files exist: one row per icon, naming its glyph and the modes
// and states drawn for it. Adding an icon is a glyph function and a row here.

#include "tools/resgen/Glyphs.h"

#include <QImage>
#include <QString>
#include <vector>

namespace zorvpro::resgen
{
enum class Mode
{
    Normal,
    Active,
    Disabled,
    Selected
};

struct IconSet
{
    const char* name; // file name part, without the trailing "_"
    GlyphFunction draw;
    std::vector<Mode> modes;
    std::vector<bool> states; // true = On
};

const std::vector<IconSet>& IconSets();

const char* ModeName(Mode mode);

// One icon image: the glyph in the theme's colours for the mode and state.
// lightTheme picks dark glyphs (for light backgrounds).
QImage RenderIcon(const IconSet& set, bool lightTheme, Mode mode, bool on);

// ":/"-relative path of one file, e.g. "Resources/Icons/LockEntity_Light_Normal_On.png".
QString IconFilePath(const IconSet& set, bool lightTheme, Mode mode, bool on);
} // namespace zorvpro::resgen
