#pragma once

#include <QObject>

namespace zorvpro
{
// The QObject base of the adapters between the project and the user interface.
class AdapterBase : public QObject
{
public:
    using QObject::QObject;
};
} // namespace zorvpro
