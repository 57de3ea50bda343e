#include "core/Commands/GenericFunctorCommand.h"

#include <utility>

namespace zorvpro
{

GenericFunctorCommand::GenericFunctorCommand(const QString& text, DoFunction doFunction,
                                             UndoFunction undoFunction, bool undoable)
    : BaseCommand(text, undoable), m_do(std::move(doFunction)), m_undo(std::move(undoFunction))
{
}

ICommand* GenericFunctorCommand::Clone() const
{
    auto* copy = new GenericFunctorCommand(QString(), m_do, m_undo, IsUndoable());
    copy->CopyFrom(*this);
    return copy;
}

bool GenericFunctorCommand::Execute()
{
    return m_do ? m_do() : false;
}

void GenericFunctorCommand::Undo()
{
    if (m_undo)
        m_undo();
}

} // namespace zorvpro
