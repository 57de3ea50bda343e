#pragma once

#include "views/GridControl/OwnKeys.h"

#include <QSlider>

namespace zorvpro
{
// A slider that reports focus changes after handling them itself, and keeps its stepping keys
// while it has the focus.
class MySlider : public QSlider
{
    Q_OBJECT

public:
    explicit MySlider(QWidget* parent = nullptr) : QSlider(parent) {}
    explicit MySlider(Qt::Orientation orientation, QWidget* parent = nullptr) : QSlider(orientation, parent)
    {
    }

signals:
    void focusGained();
    void focusLost();

protected:
    bool event(QEvent* event) override
    {
        if (TakeOwnKeys(event, {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down, Qt::Key_PageUp,
                                Qt::Key_PageDown, Qt::Key_Home, Qt::Key_End}))
            return true;
        return QSlider::event(event);
    }
    void focusInEvent(QFocusEvent* event) override
    {
        QSlider::focusInEvent(event);
        emit focusGained();
    }
    void focusOutEvent(QFocusEvent* event) override
    {
        QSlider::focusOutEvent(event);
        emit focusLost();
    }
};
} // namespace zorvpro
