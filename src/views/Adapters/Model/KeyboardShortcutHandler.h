#pragma once

#include "views/Common/AdapterBase.h"

#include <QKeySequence>
#include <functional>
#include <vector>

class QShortcut;
class QWidget;

namespace zorvpro
{
// Binds key sequences of a tab page to tasks. The shortcuts are children of the page (which
// deletes them); a key is bound once only, and a refused binding is logged, never thrown.
class KeyboardShortcutHandler : public AdapterBase
{
    Q_OBJECT

public:
    // Throws std::runtime_error for a null parent.
    explicit KeyboardShortcutHandler(QWidget* parent);

    // False (and logged) for an empty key or task and for a key that is already bound.
    bool add(const QKeySequence& shortcutKey, const std::function<void()>& task);
    const std::vector<QShortcut*>& Shortcuts() const { return shortcuts; }

private:
    QWidget* widget = nullptr;
    std::vector<QShortcut*> shortcuts;
};
} // namespace zorvpro
