#pragma once

#include "core/Commands/BaseCommand.h"

#include <functional>

namespace zorvpro
{

// A named command holding a do-functor and an undo-functor; edits of the
// model reach it through these.
class GenericFunctorCommand : public BaseCommand
{
public:
    using DoFunction = std::function<bool()>;
    using UndoFunction = std::function<void()>;

    GenericFunctorCommand(const QString& text, DoFunction doFunction, UndoFunction undoFunction,
                          bool undoable = true);

    ICommand* Clone() const override;
    bool Execute() override;
    void Undo() override;

private:
    DoFunction m_do;
    UndoFunction m_undo;
};

} // namespace zorvpro
