#pragma once

#include <QString>

namespace zorvpro::programtest
{
// One start of the program as main starts it, with a project file on the command line that is
// not there and an unreadable data set among the good ones in the folder's "Loudspeakers": the
// load error is said in its box once the splash is gone, and the good data sets are usable.
// 0 when every check held.
int RunBadInputPhase(const QString& folder, int argc, char** argv);
} // namespace zorvpro::programtest
