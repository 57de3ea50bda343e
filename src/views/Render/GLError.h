#pragma once

#include <functional>

namespace zorvpro::opengl
{

// Drains the current context's GL error queue and reports each error as
// "OpenGL error %1" to Qt's debug output and the log. After the first error
// it stays silent for the rest of the process, so a broken driver cannot
// flood the log. Does nothing without a current context.
void CheckGLError();

// The reporting behind CheckGLError, reading codes from `nextError` until it
// gives 0. A context that keeps returning errors (a lost context does) is
// read a bounded number of times.
void ReportGLErrors(const std::function<unsigned()>& nextError);

} // namespace zorvpro::opengl
