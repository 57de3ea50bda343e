#include "Resources/Icons/IconResources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE declares the generated function in the enclosing
// namespace, so it is called from the global one.
static void InitZorvIcons()
{
    Q_INIT_RESOURCE(zorv_icons);
}

namespace zorvpro
{
void InitIconResources()
{
    static const bool done = (InitZorvIcons(), true);
    (void)done;
}
} // namespace zorvpro
