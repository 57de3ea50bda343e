#pragma once

#include "views/GridControl/BoundPropertyEvent.h"

#include <QString>
#include <QVariant>

namespace zorvpro
{
class IBindablePropertyEventListener
{
public:
    virtual ~IBindablePropertyEventListener() = default;
    virtual void onPropertyEvent(BoundPropertyEvent event, const QString& propName,
                                 const QVariant& value) = 0;
};
} // namespace zorvpro
