#pragma once

#include <QSlider>

namespace zorvpro
{
// A slider that reports focus changes after handling them itself.
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
