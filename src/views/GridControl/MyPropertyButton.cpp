#include "views/GridControl/MyPropertyButton.h"

#include <QKeyEvent>

namespace zorvpro
{
MyPropertyButton::MyPropertyButton(QWidget* parent) : QPushButton(parent)
{
    setMinimumHeight(30);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    setAttribute(Qt::WA_LayoutUsesWidgetRect);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
}

void MyPropertyButton::focusInEvent(QFocusEvent* event)
{
    if (event == nullptr)
        return;
    emit focusGained();
    QPushButton::focusInEvent(event);
}

void MyPropertyButton::focusOutEvent(QFocusEvent* event)
{
    if (event == nullptr)
        return;
    emit focusLost();
    QPushButton::focusOutEvent(event);
}

void MyPropertyButton::keyPressEvent(QKeyEvent* event)
{
    switch (event->key())
    {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        // On the press, not the release: panels react at once.
        click();
        event->accept();
        break;
    default:
        QPushButton::keyPressEvent(event);
        break;
    }
}
} // namespace zorvpro
