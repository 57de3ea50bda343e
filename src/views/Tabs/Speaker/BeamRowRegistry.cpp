#include "views/Tabs/Speaker/BeamRowRegistry.h"

#include <stdexcept>

namespace zorvpro
{
std::map<QString, BeamRowRegistry::Entry>& BeamRowRegistry::Table()
{
    static std::map<QString, Entry> table;
    return table;
}

void BeamRowRegistry::Set(const QString& key, QWidget* label, QWidget* widget, bool secondBeam)
{
    Table()[key] = Entry{label, widget, secondBeam};
}

const BeamRowRegistry::Entry& BeamRowRegistry::At(const QString& key)
{
    const auto it = Table().find(key);
    if (it == Table().end())
        throw std::out_of_range("invalid map<K, T> key");
    return it->second;
}

void BeamRowRegistry::SetRowVisible(const QString& key, bool visible)
{
    const Entry& entry = At(key);
    if (entry.label)
        entry.label->setVisible(visible);
    if (entry.widget)
        entry.widget->setVisible(visible);
}

const std::map<QString, BeamRowRegistry::Entry>& BeamRowRegistry::Entries()
{
    return Table();
}

void BeamRowRegistry::Clear()
{
    Table().clear();
}
} // namespace zorvpro
