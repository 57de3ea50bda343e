#pragma once

#include <QObject>

namespace zorvpro
{
// The QObject base of every adapter between settings, models and views.
class AdapterBase : public QObject
{
public:
    using QObject::QObject;
};
} // namespace zorvpro
