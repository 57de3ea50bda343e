#include "data/Project/ProjectKeys.h"

#include "core/Logger/OmbraxLogger.h"

#include <QRegularExpression>
#include <cmath>
#include <new>

namespace zorvpro
{

namespace
{

void LogError(const QString& text)
{
    OmbraxLogger::Log(LogLevel::Error, text);
}

void LogUnparsable(const QString& key, const QString& text, const char* kind)
{
    LogError(QString("Unable to parse settings %1 value %2 as %3").arg(key, text, QLatin1String(kind)));
}

bool ToFiniteDouble(const QString& text, double& value)
{
    bool ok = false;
    const double parsed = text.toDouble(&ok);
    if (!ok || !std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}

} // namespace

void AddKeyValue(const QString& key, const QString& value, const HierarchicalFileElementPtr& section)
{
    HierarchicalFileElementPtr element = section ? section->AddChild(key) : HierarchicalFileElementPtr();
    if (!element)
    {
        const std::bad_alloc failure;
        OmbraxLogger::LogException(failure, __FILE__, "AddKeyValue", __LINE__);
        throw failure;
    }
    element->SetText(value);
}

void AddKeyValue(const QString& key, double value, const HierarchicalFileElementPtr& section)
{
    AddKeyValue(key, FormatDouble(value), section);
}

void AddKeyValue(const QString& key, bool value, const HierarchicalFileElementPtr& section)
{
    AddKeyValue(key, value ? QStringLiteral("true") : QStringLiteral("false"), section);
}

void AddKeyValue(const QString& key, int value, const HierarchicalFileElementPtr& section)
{
    AddKeyValue(key, QString::number(value, 10), section);
}

void AddVectorKeyValue(const QString& key, const math::Vec3& value, const HierarchicalFileElementPtr& section)
{
    AddKeyValue(
        key, QString("(%1,%2,%3)").arg(FormatDouble(value.x), FormatDouble(value.y), FormatDouble(value.z)),
        section);
}

QString FormatDouble(double value)
{
    return QString::number(value, 'g', 6);
}

bool ReadKeyText(const QString& key, const HierarchicalFileElementPtr& section, QString& value)
{
    HierarchicalFileElementPtr element = section ? section->GetChild(key) : HierarchicalFileElementPtr();
    if (!element)
    {
        LogError(QString("Unable to find %1 key in settings").arg(key));
        return false;
    }
    value = element->GetText();
    return true;
}

bool ReadBoolKey(const QString& key, const HierarchicalFileElementPtr& section, bool& value)
{
    QString text;
    if (!ReadKeyText(key, section, text))
        return false;
    if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        value = true;
    else if (text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        value = false;
    else
    {
        LogUnparsable(key, text, "bool");
        return false;
    }
    return true;
}

bool ReadDoubleKey(const QString& key, const HierarchicalFileElementPtr& section, double& value)
{
    QString text;
    if (!ReadKeyText(key, section, text))
        return false;
    if (!ToFiniteDouble(text, value))
    {
        LogUnparsable(key, text, "double");
        return false;
    }
    return true;
}

bool ReadIntKey(const QString& key, const HierarchicalFileElementPtr& section, int& value)
{
    QString text;
    if (!ReadKeyText(key, section, text))
        return false;
    bool ok = false;
    const int parsed = text.toInt(&ok, 10);
    if (!ok)
    {
        LogUnparsable(key, text, "integer");
        return false;
    }
    value = parsed;
    return true;
}

bool ReadVectorKey(const QString& key, const HierarchicalFileElementPtr& section, math::Vec3& value)
{
    QString text;
    const bool found = ReadKeyText(key, section, text);
    static const QRegularExpression pattern(QStringLiteral("^\\((?<X>.*),(?<Y>.*),(?<Z>.*)\\)$"));
    const QRegularExpressionMatch match = pattern.match(text);
    math::Vec3 parsed;
    if (!found || !match.hasMatch() || !ToFiniteDouble(match.captured(QStringLiteral("X")), parsed.x) ||
        !ToFiniteDouble(match.captured(QStringLiteral("Y")), parsed.y) ||
        !ToFiniteDouble(match.captured(QStringLiteral("Z")), parsed.z))
    {
        LogUnparsable(key, text, "vector 3D");
        return false;
    }
    value = parsed;
    return true;
}

} // namespace zorvpro
