#pragma once

// The icon glyphs, each drawn into a 24 x 24 pixel box with the painter's
// pen set and no brush; filled parts take the pen colour. "on" picks the On
// variant of a two-state glyph; one-state glyphs ignore it.

class QPainter;

namespace zorvpro::resgen
{
using GlyphFunction = void (*)(QPainter& painter, bool on);

void DrawAddSurface(QPainter& painter, bool on);
void DrawDuplicateSurface(QPainter& painter, bool on);
void DrawAddSpeaker(QPainter& painter, bool on);
void DrawDuplicateSpeaker(QPainter& painter, bool on);
void DrawUndo(QPainter& painter, bool on);
void DrawRedo(QPainter& painter, bool on);
void DrawRemoveEntity(QPainter& painter, bool on);
void DrawLinkViews(QPainter& painter, bool on);
void DrawZoomToFit(QPainter& painter, bool on);
void DrawColorPicker(QPainter& painter, bool on);
void DrawTransparentEntity(QPainter& painter, bool on);
void DrawVisibleEntity(QPainter& painter, bool on);
void DrawMuteSpeaker(QPainter& painter, bool on);
void DrawLockEntity(QPainter& painter, bool on);
void DrawHamburger(QPainter& painter, bool on);
} // namespace zorvpro::resgen
