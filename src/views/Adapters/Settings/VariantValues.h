#pragma once

#include <QString>
#include <QVariant>
#include <optional>

namespace zorvpro
{
// Reads a value a settings grid reported. A value of the wanted type is taken
// as it is; another is converted; empty when it cannot be, so that a stray
// value leaves the stored setting alone instead of storing false, 0 or "".

// Texts convert only from "true", "false", "1" and "0", in any case.
std::optional<bool> ReadBool(const QVariant& value);
// Non-finite numbers count as unconvertible.
std::optional<double> ReadDouble(const QVariant& value);
std::optional<QString> ReadText(const QVariant& value);
} // namespace zorvpro
