#include "views/Adapters/Settings/VariantValues.h"

#include <cmath>

namespace zorvpro
{
std::optional<bool> ReadBool(const QVariant& value)
{
    if (value.userType() == QMetaType::Bool)
        return value.toBool();
    if (value.userType() == QMetaType::QString)
    {
        // Any other text would read as true, which no user meant.
        const QString text = value.toString().trimmed().toLower();
        if (text == QLatin1String("true") || text == QLatin1String("1"))
            return true;
        if (text == QLatin1String("false") || text == QLatin1String("0"))
            return false;
        return std::nullopt;
    }
    QVariant converted = value;
    if (!value.isValid() || !converted.convert(QMetaType::Bool))
        return std::nullopt;
    return converted.toBool();
}

std::optional<double> ReadDouble(const QVariant& value)
{
    bool ok = value.userType() == QMetaType::Double;
    const double number = ok ? value.toDouble() : value.toDouble(&ok);
    if (!ok || !std::isfinite(number))
        return std::nullopt;
    return number;
}

std::optional<QString> ReadText(const QVariant& value)
{
    if (value.userType() == QMetaType::QString)
        return value.toString();
    QVariant converted = value;
    if (!value.isValid() || !converted.convert(QMetaType::QString))
        return std::nullopt;
    return converted.toString();
}
} // namespace zorvpro
