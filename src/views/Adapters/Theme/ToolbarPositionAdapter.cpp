#include "views/Adapters/Theme/ToolbarPositionAdapter.h"

#include "data/Settings/AppSettings.h"

#include <algorithm>

namespace zorvpro
{
ToolbarPositionAdapter* ToolbarPositionAdapter::instance()
{
    static ToolbarPositionAdapter adapter;
    return &adapter;
}

ToolbarPositionAdapter::ToolbarPositionAdapter()
{
    connect(AppSettings::Instance().GetUiSettings(), &UiSettings::toolbarPositionChanged, this,
            &ToolbarPositionAdapter::handlePositionChanged);
}

void ToolbarPositionAdapter::addListener(IToolbarPositionListener* listener)
{
    if (listener == nullptr || std::find(listeners_.begin(), listeners_.end(), listener) != listeners_.end())
        return;
    listeners_.push_back(listener);
}

void ToolbarPositionAdapter::removeListener(IToolbarPositionListener* listener)
{
    const auto it = std::find(listeners_.begin(), listeners_.end(), listener);
    if (listener != nullptr && it != listeners_.end())
        listeners_.erase(it);
}

void ToolbarPositionAdapter::handlePositionChanged()
{
    const std::vector<IToolbarPositionListener*> listeners = listeners_;
    for (IToolbarPositionListener* listener : listeners)
    {
        const int position = static_cast<int>(AppSettings::Instance().GetUiSettings()->getToolbarPosition());
        listener->toolbarPositionChanged(position);
    }
}
} // namespace zorvpro
