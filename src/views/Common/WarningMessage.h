#pragma once

class QString;
class QWidget;

namespace zorvpro
{
// The shell's one warning box: modal, warning icon, a single Ok button with
// the pointing-hand cursor and a minimum size of 80 x 24. Returns when the
// user closes it.
void showWarningMessage(const QString& text, const QString& title, QWidget* parent = nullptr);
} // namespace zorvpro
