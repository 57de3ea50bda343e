#pragma once

#include <QLineEdit>

namespace zorvpro
{
// A line edit that reports focus changes after handling them itself.
class MyLineEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit MyLineEdit(QWidget* parent = nullptr) : QLineEdit(parent) {}

signals:
    void focusGained();
    void focusLost();

protected:
    void focusInEvent(QFocusEvent* event) override
    {
        QLineEdit::focusInEvent(event);
        emit focusGained();
    }
    void focusOutEvent(QFocusEvent* event) override
    {
        QLineEdit::focusOutEvent(event);
        emit focusLost();
    }
};
} // namespace zorvpro
