#pragma once

#include <QString>

namespace zorvpro::programtest
{
// One start of the program as main starts it, with a saved project of two arrays on the command
// line: the buttons that act on the selection follow it from the moment the project is shown
// (OpenedProjectTest). 0 when every check held.
int RunOpenedProjectPhase(const QString& folder, int argc, char** argv);
} // namespace zorvpro::programtest
