// What the OpenGL test main sets up, for the suites that need to know.
#pragma once

namespace zorvpro::gltest
{
// True when this run asked for an OpenGL ES context (ZORV_GL_ES=1).
bool EsRequested();

// Makes the label fonts resolve to the compiled-in stand-in, so that text metrics (and with
// them the grid's margins) are the same on every machine. False when that failed.
bool RegisterTestFonts();
} // namespace zorvpro::gltest
