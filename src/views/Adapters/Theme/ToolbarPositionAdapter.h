#pragma once

#include "views/Common/AdapterBase.h"
#include "views/Common/IToolbarPositionListener.h"

#include <vector>

namespace zorvpro
{
// The process-wide notifier of the tool-bar position setting: every
// registered listener hears the stored position when the setting changes.
class ToolbarPositionAdapter : public AdapterBase
{
    Q_OBJECT

public:
    static ToolbarPositionAdapter* instance();

    // Null and already registered listeners are ignored.
    void addListener(IToolbarPositionListener* listener);
    // Removes the first equal entry; unknown or null listeners are ignored.
    void removeListener(IToolbarPositionListener* listener);

public slots:
    // Tells every listener, in registration order, the stored position.
    void handlePositionChanged();

private:
    ToolbarPositionAdapter();

    std::vector<IToolbarPositionListener*> listeners_;
};
} // namespace zorvpro
