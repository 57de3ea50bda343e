#pragma once

#include "core/Commands/BaseCommand.h"

#include <QString>

namespace zorvpro
{
// An undoable command that only sets the automation test message, so a
// script can check undo and redo; the message "die" (any case) fails.
class TestCommand : public BaseCommand
{
public:
    explicit TestCommand(const QString& message);

    ICommand* Clone() const override;
    // Throws std::logic_error "OH NO!" for "die".
    bool Execute() override;
    void Undo() override;

    static QString Message();

private:
    QString previousMessage;
    QString message;
};
} // namespace zorvpro
