#pragma once

#include <QEvent>
#include <QKeyEvent>
#include <initializer_list>

namespace zorvpro
{
// A focused control that steps with these keys takes them before any window shortcut on the same
// keys (the tabs' nudge keys): it accepts their shortcut override when no modifier is held. True
// when the event was such an override and is taken.
inline bool TakeOwnKeys(QEvent* event, std::initializer_list<int> keys)
{
    if (event->type() != QEvent::ShortcutOverride)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    for (const int own : keys)
        if (key->key() == own)
        {
            event->accept();
            return true;
        }
    return false;
}
} // namespace zorvpro
