#pragma once

#include <QString>
#include <QVariant>

namespace zorvpro
{
// Shows a model value in the property bound under the name, raising nothing.
class IBindablePropertyUpdater
{
public:
    virtual ~IBindablePropertyUpdater() = default;
    virtual void updateProperty(const QString& name, const QVariant& value) = 0;
};
} // namespace zorvpro
