#include "views/Common/CommitFocusedEdit.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextDocument>
#include <QTextEdit>

namespace zorvpro
{
namespace
{
bool TakesText(const QWidget* widget)
{
    return qobject_cast<const QLineEdit*>(widget) != nullptr ||
           qobject_cast<const QPlainTextEdit*>(widget) != nullptr ||
           qobject_cast<const QTextEdit*>(widget) != nullptr ||
           qobject_cast<const QAbstractSpinBox*>(widget) != nullptr;
}

QAbstractItemView* ViewAround(QWidget* widget)
{
    for (QWidget* w = widget->parentWidget(); w != nullptr; w = w->parentWidget())
        if (auto* view = qobject_cast<QAbstractItemView*>(w))
            return view;
    return nullptr;
}
} // namespace

bool HasPendingEdit()
{
    const QWidget* focus = QApplication::focusWidget();
    if (const auto* line = qobject_cast<const QLineEdit*>(focus))
        return line->isModified();
    if (const auto* plain = qobject_cast<const QPlainTextEdit*>(focus))
        return plain->document()->isModified();
    if (const auto* rich = qobject_cast<const QTextEdit*>(focus))
        return rich->document()->isModified();
    // A spin box keeps its editor to itself: whatever it shows may be new.
    return qobject_cast<const QAbstractSpinBox*>(focus) != nullptr;
}

void CommitFocusedEdit()
{
    QWidget* focus = QApplication::focusWidget();
    if (focus == nullptr || !TakesText(focus))
        return;
    const QPointer<QWidget> edit(focus);
    const QPointer<QAbstractItemView> view(ViewAround(focus));
    // Losing the focus is what commits, whatever took it: the field's own handlers (or a cell
    // editor's delegate) check, store and close the entry exactly as a click elsewhere does.
    focus->clearFocus();
    // A cell editor closes as it commits; the list it belonged to takes the keys instead, as
    // it does when the editor closes on Return.
    if (!edit.isNull() && edit->isVisible() && edit->isEnabled())
        edit->setFocus(Qt::OtherFocusReason);
    else if (!view.isNull() && view->isVisible() && view->focusPolicy() != Qt::NoFocus)
        view->setFocus(Qt::OtherFocusReason);
}
} // namespace zorvpro
