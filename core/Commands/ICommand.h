#pragma once

class QUndoCommand;

namespace zorvpro
{

// An edit the user can take back, or one that runs at once. A command is
// always destroyed through its QUndoCommand part, so no destructor here.
class ICommand
{
public:
    virtual bool IsUndoable() const = 0;
    // Runs a command that is not undoable, at once.
    virtual bool Run() = 0;
    // The part the undo stack takes, or null.
    virtual QUndoCommand* GetUndoCommand() = 0;
    // A new, independent copy owned by the caller.
    virtual ICommand* Clone() const = 0;

protected:
    ~ICommand() = default;
};

} // namespace zorvpro
