#pragma once

#include "core/Commands/ICommand.h"

#include <QString>
#include <QUndoCommand>

namespace zorvpro
{

// A command that is both an ICommand and the QUndoCommand the stack holds.
// Commands never merge.
class BaseCommand : public ICommand, public QUndoCommand
{
public:
    BaseCommand(const QString& text, bool undoable);
    ~BaseCommand() override = default;

    bool IsUndoable() const override;
    bool Run() override;
    QUndoCommand* GetUndoCommand() override;
    ICommand* Clone() const override;

    // Performs the edit; true when done.
    virtual bool Execute() = 0;
    // Takes the edit back.
    virtual void Undo();

    void undo() override;
    void redo() override;

    // Copies the other command's text and undoable flag; Clone overrides
    // build their own object and copy the common part with it.
    void CopyFrom(const BaseCommand& other);

private:
    bool m_undoable;
};

} // namespace zorvpro
