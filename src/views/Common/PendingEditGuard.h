#pragma once

#include <QObject>

namespace zorvpro
{
// Ends the entry being typed before any command acts on the project. A value typed without
// Return or Tab belongs to the object whose panel showed it when typing began; many buttons
// (tool bars, panel buttons, list icons) take no focus on a click, and a shortcut moves no focus
// at all, so without this the field would keep its text while the command changes what the panel
// shows, and the later focus loss would write the value to the new subject.
// Watches the whole application: a press of the mouse anywhere outside the field being typed
// in (and outside its own context menu) and every shortcut first commit the entry exactly as
// leaving the field does (its checks, its clamping, its own undo step). New buttons and
// shortcuts need nothing of their own. Only the project's own fields are watched: those of Qt's
// dialogs keep their typing and their selection.
// A field takes the Undo and Redo keys only while it holds typing of its own to undo or redo;
// once its value is committed, or once the project's history has moved, they undo and redo the
// project.
class PendingEditGuard : public QObject
{
    Q_OBJECT

public:
    // Installs itself on the application until it is destroyed.
    explicit PendingEditGuard(QObject* parent);
    ~PendingEditGuard() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
} // namespace zorvpro
