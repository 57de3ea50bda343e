#pragma once

#include "views/Tabs/BaseComponents/EntityId.h"

namespace zorvpro
{
// Told the ids of the entities the user now has selected in the entity
// list, in table order, possibly none. Never told of a selection that the
// adapter set itself.
class IEntitySelectionListener
{
public:
    virtual ~IEntitySelectionListener() = default;
    virtual void entitiesSelectionChanged(const IdList& ids) = 0;
};
} // namespace zorvpro
