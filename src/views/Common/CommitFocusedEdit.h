#pragma once

class QKeyEvent;
class QLineEdit;
class QWidget;

namespace zorvpro
{
// Marks a text field whose entry is a value of the project (a panel's field, the notes, the
// cell editors of an entity list below it): only such fields are committed by commands. Fields
// of Qt's own dialogs (the colour and file dialogs) keep their typing to themselves.
void MarkProjectField(QWidget* field);

// Whether the widget is a marked field, or lies inside one within its own window.
bool IsProjectField(const QWidget* widget);

// Ends the text entry of the project field that has the keyboard focus (a property field, the
// notes, an open cell editor of a list) as leaving it would: its value is checked, clamped and
// stored as a change of the project. The focus then goes back where it was (to the list when the
// cell editor has closed).
// A command that saves, sends, reports or drops the project calls this first, so that a value
// typed without Return or Tab is neither lost nor left out. Does nothing while no such field is
// edited.
void CommitFocusedEdit();

// Whether the project field with the keyboard focus holds text typed since it was last committed
// or shown: the entry that a command must commit before it acts.
bool HasPendingEdit();

// The project changed while a project field holds the focus (an undo or a redo by key or button, a
// step of any object): typing the field held before, undone or not, is no longer its own to undo
// or redo, so the Undo and Redo keys go on to the project's history until the user types in the
// field again. Typing not yet committed stays as it is: it is the user's entry, not history.
void ForgetFocusedFieldTyping();

// Clears a line edit's own undo and redo history, keeping its text, cursor and selection. Its
// modified flag is cleared too: what it shows is no entry of the user's any more.
void ForgetTyping(QLineEdit* edit);

// Whether the key is the platform's Undo or Redo key pressed while a project field has the focus
// that holds no typing of its own to undo or redo: a committed value is the project's to undo,
// so the key belongs to the application's undo and redo, not to the field.
bool LeavesUndoKeyToProject(const QKeyEvent* key);
} // namespace zorvpro
