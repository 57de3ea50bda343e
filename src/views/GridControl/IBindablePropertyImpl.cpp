#include "views/GridControl/IBindablePropertyImpl.h"

#include "views/GridControl/IBindablePropertyEventListener.h"

namespace zorvpro
{
void IBindablePropertyImpl::raiseEvent(BoundPropertyEvent event, const QVariant& value)
{
    if (listener_ == nullptr || updating_)
        return;
    switch (event)
    {
    case BoundPropertyEvent::ValueChanged:
        listener_->onPropertyEvent(event, name_, currentValue());
        break;
    case BoundPropertyEvent::FocusGained:
    case BoundPropertyEvent::FocusLost:
        listener_->onPropertyEvent(event, name_, QVariant());
        break;
    case BoundPropertyEvent::ValuePassedThrough:
        listener_->onPropertyEvent(event, name_, value);
        break;
    }
}

void IBindablePropertyImpl::setValue(const QVariant& value, bool raise)
{
    bool shown = false;
    {
        UpdatingScope scope(*this);
        shown = onSetBoundValue(value);
    }
    // Showing a value ends any silent stretch a widget left open.
    updating_ = false;
    if (raise && shown)
        raiseEvent(BoundPropertyEvent::ValueChanged);
}
} // namespace zorvpro
