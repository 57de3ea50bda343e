#include "views/Common/PendingEditGuard.h"

#include "core/Commands/UndoStack.h"
#include "views/Common/CommitFocusedEdit.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QUndoStack>
#include <QWidget>

namespace zorvpro
{
namespace
{
// The field itself, its viewport, and its own popups (the context menu a right click opens, whose
// parent is the field) are where the typing goes on, not commands.
bool BelongsToEntry(const QWidget* target, const QWidget* entry)
{
    for (const QWidget* w = target; w != nullptr; w = w->parentWidget())
        if (w == entry)
            return true;
    return false;
}

bool IsPress(QEvent::Type type)
{
    switch (type)
    {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::TabletPress:
    case QEvent::TouchBegin:
        return true;
    default:
        return false;
    }
}
} // namespace

PendingEditGuard::PendingEditGuard(QObject* parent) : QObject(parent)
{
    QCoreApplication::instance()->installEventFilter(this);
    // Any step of the project, undone or redone by key, button or automation, or made anew, ends
    // the history of the field that has the focus: its Redo key must not bring back typing the
    // user undid before the project's step.
    connect(&UndoStack::Instance(), &QUndoStack::indexChanged, this, [] { ForgetFocusedFieldTyping(); });
}

PendingEditGuard::~PendingEditGuard()
{
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeEventFilter(this);
}

bool PendingEditGuard::eventFilter(QObject* watched, QEvent* event)
{
    // A field claims its Undo and Redo keys only for typing of its own: refused here, the override
    // reaches no widget and the key goes on to the application's undo or redo.
    if (event->type() == QEvent::ShortcutOverride)
    {
        if (!LeavesUndoKeyToProject(static_cast<QKeyEvent*>(event)))
            return false;
        event->ignore();
        return true;
    }
    const bool press = IsPress(event->type());
    if (!press && event->type() != QEvent::Shortcut)
        return false;
    // Cheap for every other press: nothing is being typed.
    if (!HasPendingEdit())
        return false;
    if (press)
    {
        const auto* target = qobject_cast<const QWidget*>(watched);
        if (target == nullptr || BelongsToEntry(target, QApplication::focusWidget()))
            return false;
    }
    const QPointer<QObject> receiver(watched);
    CommitFocusedEdit();
    // Should the commit have rebuilt what was clicked, the click goes nowhere rather than to a
    // widget that is gone.
    return receiver.isNull();
}
} // namespace zorvpro
