#include "views/Adapters/Model/KeyboardShortcutHandler.h"

#include "Utility/ApiChecker.h"
#include "core/Logger/OmbraxLogger.h"

#include <QShortcut>
#include <QWidget>
#include <stdexcept>

namespace zorvpro
{
KeyboardShortcutHandler::KeyboardShortcutHandler(QWidget* parent) : AdapterBase(parent), widget(parent)
{
    try
    {
        CheckAlloc(parent);
    }
    catch (const std::exception& e)
    {
        OmbraxLogger::LogException(e, __FILE__, "KeyboardShortcutHandler", __LINE__);
        throw std::runtime_error(e.what());
    }
}

bool KeyboardShortcutHandler::add(const QKeySequence& shortcutKey, const std::function<void()>& task)
{
    if (shortcutKey.isEmpty() || !task)
    {
        OmbraxLogger::LogException(std::logic_error("shortcutKey or task was not specified"), __FILE__, "add",
                                   __LINE__);
        return false;
    }
    for (const QShortcut* shortcut : shortcuts)
        if (shortcut->key() == shortcutKey)
        {
            OmbraxLogger::LogException(std::logic_error("QShortcut has already been assigned"), __FILE__,
                                       "add", __LINE__);
            return false;
        }
    auto* shortcut = new QShortcut(widget);
    shortcut->setKey(shortcutKey);
    connect(shortcut, &QShortcut::activated, this, [task] { task(); });
    shortcuts.push_back(shortcut);
    return true;
}
} // namespace zorvpro
