#include "views/GridControl/MultiLineEditPropertyImpl.h"

#include "Utility/ApiChecker.h"
#include "core/Logger/OmbraxLogger.h"
#include "views/Common/CommitFocusedEdit.h"
#include "views/Common/StyleSheetRule.h"
#include "views/GridControl/PropertyKind.h"
#include "views/GridControl/PropertyKindRegistry.h"

#include <QKeyEvent>
#include <QTextCursor>
#include <QTimer>
#include <stdexcept>

namespace zorvpro
{
namespace
{
std::unique_ptr<IBindablePropertyImpl> CreateMultiLineEdit(const QString& name)
{
    return std::make_unique<MultiLineEditPropertyImpl>(name);
}

const bool kRegistered = PropertyKindRegistry::Register(PropertyKind::MultiLineEdit, &CreateMultiLineEdit);
} // namespace

MultiLineEditPropertyImpl::MultiLineEditPropertyImpl(const QString& name)
    : QPlainTextEdit(nullptr), IBindablePropertyImpl(PropertyKind::MultiLineEdit)
{
    (void)kRegistered;
    CheckTextEmpty(name);
    setObjectName(name);
    setName(name);
    setWordWrapMode(QTextOption::WordWrap);
    focusPolicy_ = focusPolicy();
    MarkProjectField(this);
    connect(this, &QPlainTextEdit::textChanged, this, [this] { guardLength(); });
}

void MultiLineEditPropertyImpl::setMaxLength(int maxLength)
{
    if (maxLength < 1)
        throw std::logic_error("Max length must be greater than 0");
    maxLength_ = maxLength;
}

void MultiLineEditPropertyImpl::guardLength()
{
    if (toPlainText().length() > maxLength_)
        QTimer::singleShot(0, this, [this] { trimBeforeCursor(); });
}

void MultiLineEditPropertyImpl::trimBeforeCursor()
{
    // Checked again here: several edits may have queued a trim before the
    // first one ran, and a trim of text that already fits would lose
    // characters the user kept.
    const int excess = toPlainText().length() - maxLength_;
    QTextCursor cursor = textCursor();
    const int count = qMin(excess, cursor.position());
    if (count <= 0)
        return;
    // What the user typed or pasted last goes: the characters before the cursor.
    cursor.movePosition(QTextCursor::Left, QTextCursor::KeepAnchor, count);
    cursor.removeSelectedText();
    setTextCursor(cursor);
}

void MultiLineEditPropertyImpl::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab)
    {
        event->ignore();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void MultiLineEditPropertyImpl::focusInEvent(QFocusEvent* event)
{
    if (isReadOnly())
    {
        event->ignore();
        return;
    }
    raiseEvent(BoundPropertyEvent::FocusGained);
    textAtFocusIn_ = toPlainText();
    QPlainTextEdit::focusInEvent(event);
}

void MultiLineEditPropertyImpl::focusOutEvent(QFocusEvent* event)
{
    raiseEvent(BoundPropertyEvent::ValueChanged);
    raiseEvent(BoundPropertyEvent::FocusLost);
    QPlainTextEdit::focusOutEvent(event);
    // Committed: nothing is left for a command to take (see HasPendingEdit), nor for the field to
    // undo: the Undo key now undoes the project's step.
    document()->setModified(false);
    document()->clearUndoRedoStacks();
}

void MultiLineEditPropertyImpl::squish_set_display_value(const QVariant& value)
{
    if (value.userType() != QMetaType::QString)
    {
        OmbraxLogger::LogException(std::logic_error("QVariant is not of type String expected by API."),
                                   __FILE__, "squish_set_display_value", __LINE__);
        return;
    }
    setWidgetFocus(true);
    for (const QChar ch : value.toString())
    {
        const int key = ch.toLatin1();
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(ch));
        keyPressEvent(&press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(ch));
        keyReleaseEvent(&release);
    }
}

QVariant MultiLineEditPropertyImpl::squish_display_value() const
{
    return squish_bound_value();
}

void MultiLineEditPropertyImpl::setWidgetFocus(bool on)
{
    if (on)
        setFocus(Qt::OtherFocusReason);
    else
        clearFocus();
}

bool MultiLineEditPropertyImpl::widgetHasFocus() const
{
    return hasFocus();
}

QVariant MultiLineEditPropertyImpl::currentValue() const
{
    return QVariant(toPlainText());
}

void MultiLineEditPropertyImpl::updateStyle(int theme)
{
    const bool light = (theme == 1);
    const QString normal = makeStyleSheetRule(
        "QPlainTextEdit", {{"border", light ? "0.5px solid #aaaaaa" : "0.5px solid #777777"},
                           {"color", light ? "#000000" : "#FFFFFF"}});
    const QString disabled =
        makeStyleSheetRule("QPlainTextEdit:disabled", {{"color", light ? "#aaaaaa" : "#575757"}});
    setStyleSheet(normal + " " + disabled);
}

void MultiLineEditPropertyImpl::setEditable(bool enabled, bool clearWhenDisabled)
{
    setReadOnly(!enabled);
    setEnabled(enabled);
    setFocusPolicy(enabled ? focusPolicy_ : Qt::NoFocus);
    if (!enabled && clearWhenDisabled)
        setValue(QString(), false);
}

bool MultiLineEditPropertyImpl::onSetBoundValue(const QVariant& value)
{
    if (value.userType() != QMetaType::QString)
    {
        OmbraxLogger::LogException(std::logic_error("Bound type was of an unexpected type"), __FILE__,
                                   "onSetBoundValue", __LINE__);
        return false;
    }
    setPlainText(value.toString().left(maxLength_));
    return true;
}
} // namespace zorvpro
