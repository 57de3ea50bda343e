#pragma once

#include <QPushButton>

namespace zorvpro
{
// The push button of the panels: reports focus changes before handling them,
// takes focus by tab only and clicks at once on Return, Enter or Space.
class MyPropertyButton : public QPushButton
{
    Q_OBJECT

public:
    explicit MyPropertyButton(QWidget* parent = nullptr);

signals:
    void focusGained();
    void focusLost();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};
} // namespace zorvpro
