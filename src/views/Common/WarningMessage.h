#pragma once

#include <QString>

class QWidget;

namespace zorvpro
{
// The shell's one warning box: modal, warning icon, a single Ok button with
// the pointing-hand cursor and a minimum size of 80 x 24; the detail, when
// given, stands under the text. A splash screen still up is closed first, so
// that the box never sits over it. Returns when the user closes it.
void showWarningMessage(const QString& text, const QString& title, QWidget* parent = nullptr,
                        const QString& detail = QString());
} // namespace zorvpro
