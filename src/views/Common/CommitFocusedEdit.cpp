#include "views/Common/CommitFocusedEdit.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextDocument>
#include <QTextEdit>
#include <QVariant>

namespace zorvpro
{
namespace
{
constexpr const char* kProjectField = "zorvProjectField";

// The focused project field's own text history: a line edit's, or the notes' document.
struct OwnHistory
{
    bool text = false; // a field that takes text at all
    bool modified = false;
    bool undo = false;
    bool redo = false;
};

OwnHistory HistoryOf(const QWidget* widget)
{
    if (const auto* line = qobject_cast<const QLineEdit*>(widget))
        return {true, line->isModified(), line->isUndoAvailable(), line->isRedoAvailable()};
    const QTextDocument* document = nullptr;
    if (const auto* plain = qobject_cast<const QPlainTextEdit*>(widget))
        document = plain->document();
    else if (const auto* rich = qobject_cast<const QTextEdit*>(widget))
        document = rich->document();
    if (document == nullptr)
        return {};
    return {true, document->isModified(), document->isUndoAvailable(), document->isRedoAvailable()};
}

// The focused widget when it is a project field that takes text; else null.
QWidget* FocusedProjectField()
{
    QWidget* focus = QApplication::focusWidget();
    return focus != nullptr && HistoryOf(focus).text && IsProjectField(focus) ? focus : nullptr;
}

QAbstractItemView* ViewAround(QWidget* widget)
{
    for (QWidget* w = widget->parentWidget(); w != nullptr; w = w->parentWidget())
        if (auto* view = qobject_cast<QAbstractItemView*>(w))
            return view;
    return nullptr;
}
} // namespace

void MarkProjectField(QWidget* field)
{
    field->setProperty(kProjectField, true);
}

bool IsProjectField(const QWidget* widget)
{
    // Within the widget's own window only: a dialog opened from a panel is a window of its own.
    for (const QWidget* w = widget; w != nullptr; w = w->parentWidget())
    {
        if (w->property(kProjectField).toBool())
            return true;
        if (w->isWindow())
            break;
    }
    return false;
}

bool HasPendingEdit()
{
    const QWidget* field = FocusedProjectField();
    return field != nullptr && HistoryOf(field).modified;
}

void CommitFocusedEdit()
{
    QWidget* focus = FocusedProjectField();
    if (focus == nullptr)
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

void ForgetFocusedFieldTyping()
{
    QWidget* field = FocusedProjectField();
    if (field == nullptr || HistoryOf(field).modified)
        return;
    if (auto* line = qobject_cast<QLineEdit*>(field))
        ForgetTyping(line);
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(field))
        plain->document()->clearUndoRedoStacks();
    else if (auto* rich = qobject_cast<QTextEdit*>(field))
        rich->document()->clearUndoRedoStacks();
}

void ForgetTyping(QLineEdit* edit)
{
    edit->setModified(false);
    if (!edit->isUndoAvailable() && !edit->isRedoAvailable())
        return;
    // Setting the text anew is the only way a line edit clears its history.
    const int cursor = edit->cursorPosition();
    const int start = edit->selectionStart();
    const int length = edit->selectedText().size();
    edit->setText(edit->text());
    if (start >= 0 && length > 0)
        edit->setSelection(cursor == start ? start + length : start, cursor == start ? -length : length);
    else
        edit->setCursorPosition(cursor);
}

bool LeavesUndoKeyToProject(const QKeyEvent* key)
{
    const bool undo = key->matches(QKeySequence::Undo);
    const bool redo = key->matches(QKeySequence::Redo);
    if (!undo && !redo)
        return false;
    const QWidget* field = FocusedProjectField();
    if (field == nullptr)
        return false;
    const OwnHistory history = HistoryOf(field);
    return undo ? !history.undo : !history.redo;
}
} // namespace zorvpro
