#pragma once

#include <QString>

namespace zorvpro::programtest
{
// One run of the program as main runs it, driven through its widgets and the automation
// interface: phase 1 builds an array with maps and saves it, phase 2 opens the saved file
// (the last argument) and checks the same levels come back. The folder holds the data set
// and receives the levels; 0 when every check held.
int RunPhase(int phase, const QString& folder, int argc, char** argv);
} // namespace zorvpro::programtest
