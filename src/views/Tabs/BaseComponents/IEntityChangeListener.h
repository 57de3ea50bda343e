#pragma once

#include "views/Tabs/BaseComponents/EntityId.h"

#include <QString>
#include <QVariant>
#include <cstdint>

namespace zorvpro
{
// Implemented by the tab adapters: applies a value the user set for one
// entity's property, and hears that a property widget of that entity gained
// or lost the keyboard focus. Callers do not use the results.
class IEntityChangeListener
{
public:
    virtual ~IEntityChangeListener() = default;
    // valueKind points at a ValueKind code (IPropertyChangeListener.h).
    virtual bool entityValueChanged(Id id, const QString& itemName, std::uint32_t* valueKind,
                                    const QVariant& value) = 0;
    virtual bool entityFocusChanged(Id id, const QString& itemName, bool gained) = 0;
};
} // namespace zorvpro
