#pragma once

#include <QString>

class QUndoStack;

namespace zorvpro
{

class ICommand;

// Holder of the one process-wide undo stack; used on the GUI thread only.
class UndoStack
{
public:
    // Created on first use; deleted at process exit.
    static QUndoStack& Instance();

    // Runs a command that is not undoable at once and returns its result;
    // pushes a clone of an undoable one (running it) and returns true. The
    // command passed in stays the caller's.
    static bool Push(ICommand* command);

    static void BeginMacro(const QString& text);
    static void EndMacro();
};

} // namespace zorvpro
