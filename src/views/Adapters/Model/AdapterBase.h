#pragma once

#include <QObject>

namespace zorvpro
{
// The QObject base of every adapter between the model and the user interface.
class AdapterBase : public QObject
{
    Q_OBJECT

public:
    explicit AdapterBase(QObject* parent = nullptr) : QObject(parent) {}
};
} // namespace zorvpro
