#include "core/Commands/BaseCommand.h"

namespace zorvpro
{

BaseCommand::BaseCommand(const QString& text, bool undoable)
    : QUndoCommand(text, nullptr), m_undoable(undoable)
{
}

bool BaseCommand::IsUndoable() const
{
    return m_undoable;
}

bool BaseCommand::Run()
{
    if (m_undoable)
        return false;
    return Execute();
}

QUndoCommand* BaseCommand::GetUndoCommand()
{
    return m_undoable ? static_cast<QUndoCommand*>(this) : nullptr;
}

ICommand* BaseCommand::Clone() const
{
    return nullptr;
}

void BaseCommand::Undo() {}

void BaseCommand::undo()
{
    if (m_undoable)
        Undo();
}

void BaseCommand::redo()
{
    if (m_undoable)
        Execute();
}

void BaseCommand::CopyFrom(const BaseCommand& other)
{
    setText(other.text());
    m_undoable = other.m_undoable;
}

} // namespace zorvpro
