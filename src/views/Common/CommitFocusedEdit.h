#pragma once

namespace zorvpro
{
// Ends the text entry of the widget that has the keyboard focus (a property field, the notes, an
// open cell editor of a list) as leaving it would: its value is checked, clamped and stored as a
// change of the project. The focus then goes back where it was (to the list when the cell editor
// has closed).
// A command that saves, sends, reports or drops the project calls this first, so that a value
// typed without Return or Tab is neither lost nor left out. Does nothing while no text is edited.
void CommitFocusedEdit();

// Whether the widget with the keyboard focus holds text typed since it was last committed or
// shown: the entry that a command must commit before it acts.
bool HasPendingEdit();
} // namespace zorvpro
