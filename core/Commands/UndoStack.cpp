#include "core/Commands/UndoStack.h"

#include "core/Commands/ICommand.h"
#include "src/Utility/ApiChecker.h"

#include <QUndoStack>
#include <memory>

namespace zorvpro
{

QUndoStack& UndoStack::Instance()
{
    static std::unique_ptr<QUndoStack> stack = []
    {
        std::unique_ptr<QUndoStack> created(new QUndoStack(nullptr));
        CheckAlloc(created);
        return created;
    }();
    return *stack;
}

bool UndoStack::Push(ICommand* command)
{
    if (!command)
        return false;
    if (!command->IsUndoable())
        return command->Run();

    ICommand* clone = command->Clone();
    if (!clone)
        return false;
    QUndoCommand* undoCommand = clone->GetUndoCommand();
    if (!undoCommand)
    {
        // Commands are freed through their QUndoCommand part; without one
        // reachable here, find it so the clone does not leak.
        delete dynamic_cast<QUndoCommand*>(clone);
        return false;
    }
    Instance().push(undoCommand);
    return true;
}

void UndoStack::BeginMacro(const QString& text)
{
    Instance().beginMacro(text);
}

void UndoStack::EndMacro()
{
    Instance().endMacro();
}

} // namespace zorvpro
