#include "core/Nodes/NodeProperties.h"

#include "core/Logger/OmbraxLogger.h"

#include <QRegularExpression>
#include <cmath>
#include <locale>
#include <sstream>

namespace zorvpro
{

namespace NodeKeys
{
const char* const Name = "Name";
const char* const Transform = "Transform";
const char* const P1 = "P1";
const char* const P2 = "P2";
const char* const P3 = "P3";
const char* const P4 = "P4";
const char* const Color = "Color";
const char* const Transparent = "Transparent";
const char* const Visible = "Visible";
const char* const Locked = "Locked";
const char* const ListenerHeight = "ListenerHeight";
const char* const ListenerHeightEnabled = "ListenerHeightEnabled";
const char* const RotationZ = "RotationZ";
} // namespace NodeKeys

namespace
{

std::ostringstream MakeWriter()
{
    std::ostringstream out;
    out.imbue(std::locale::classic());
    return out;
}

bool FindText(const PropertyMap& properties, const std::string& key, const std::string*& text)
{
    auto it = properties.find(key);
    if (it == properties.end())
        return false;
    text = &it->second;
    return true;
}

bool ExtractDouble(std::istream& in, double& value)
{
    double parsed = 0.0;
    if (!(in >> parsed) || !std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}

bool ExpectChar(std::istream& in, char expected)
{
    char c = 0;
    return static_cast<bool>(in >> c) && c == expected;
}

std::istringstream MakeReader(const std::string& text)
{
    std::istringstream in(text);
    in.imbue(std::locale::classic());
    return in;
}

} // namespace

void WriteProperty(PropertyMap& properties, const std::string& key, const std::string& value)
{
    properties[key] = value;
}

void WriteProperty(PropertyMap& properties, const std::string& key, const char* value)
{
    properties[key] = value ? value : "";
}

void WriteProperty(PropertyMap& properties, const std::string& key, bool value)
{
    properties[key] = value ? "true" : "false";
}

void WriteProperty(PropertyMap& properties, const std::string& key, double value)
{
    auto out = MakeWriter();
    out << value;
    properties[key] = out.str();
}

void WriteProperty(PropertyMap& properties, const std::string& key, int value)
{
    auto out = MakeWriter();
    out << value;
    properties[key] = out.str();
}

void WriteProperty(PropertyMap& properties, const std::string& key, const math::Vec3& value)
{
    auto out = MakeWriter();
    out << '(' << value.x << ',' << value.y << ',' << value.z << ')';
    properties[key] = out.str();
}

void WriteProperty(PropertyMap& properties, const std::string& key, const QColor& value)
{
    auto out = MakeWriter();
    out << '(' << value.red() << ',' << value.green() << ',' << value.blue() << ',' << value.alpha() << ')';
    properties[key] = out.str();
}

void WriteProperty(PropertyMap& properties, const std::string& key, const math::Mat4& value)
{
    auto out = MakeWriter();
    for (int row = 0; row < 4; ++row)
    {
        out << "| ";
        for (int col = 0; col < 4; ++col)
            out << value(row, col) << ' ';
        out << '|';
    }
    properties[key] = out.str();
}

bool ReadProperty(const PropertyMap& properties, const std::string& key, std::string& value)
{
    const std::string* text = nullptr;
    if (!FindText(properties, key, text))
        return false;
    value = *text;
    return true;
}

bool ReadProperty(const PropertyMap& properties, const std::string& key, bool& value)
{
    const std::string* text = nullptr;
    if (!FindText(properties, key, text))
        return false;
    value = *text == "true";
    return true;
}

bool ReadProperty(const PropertyMap& properties, const std::string& key, double& value)
{
    const std::string* text = nullptr;
    if (!FindText(properties, key, text))
        return false;
    auto in = MakeReader(*text);
    return ExtractDouble(in, value);
}

bool ReadProperty(const PropertyMap& properties, const std::string& key, int& value)
{
    const std::string* text = nullptr;
    if (!FindText(properties, key, text))
        return false;
    auto in = MakeReader(*text);
    int parsed = 0;
    if (!(in >> parsed))
        return false;
    value = parsed;
    return true;
}

bool ReadProperty(const PropertyMap& properties, const std::string& key, math::Vec3& value)
{
    const std::string* text = nullptr;
    if (!FindText(properties, key, text))
        return false;
    auto in = MakeReader(*text);
    math::Vec3 parsed;
    if (!ExpectChar(in, '(') || !ExtractDouble(in, parsed.x) || !ExpectChar(in, ',') ||
        !ExtractDouble(in, parsed.y) || !ExpectChar(in, ',') || !ExtractDouble(in, parsed.z) ||
        !ExpectChar(in, ')'))
        return false;
    value = parsed;
    return true;
}

bool ReadProperty(const PropertyMap& properties, const std::string& key, QColor& value)
{
    const std::string* text = nullptr;
    if (!FindText(properties, key, text))
        return false;
    static const QRegularExpression pattern(
        QStringLiteral("^\\((?<Red>\\d+),(?<Green>\\d+),(?<Blue>\\d+),(?<Alpha>\\d+)\\)$"));
    const QRegularExpressionMatch match = pattern.match(QString::fromStdString(*text));
    if (!match.hasMatch())
        return false;

    int components[4] = {};
    const char* groups[4] = {"Red", "Green", "Blue", "Alpha"};
    bool inRange = true;
    for (int i = 0; i < 4; ++i)
    {
        bool ok = false;
        components[i] = match.captured(QString::fromLatin1(groups[i])).toInt(&ok, 10);
        inRange = inRange && ok && components[i] <= 255;
    }
    value = inRange ? QColor(components[0], components[1], components[2], components[3]) : QColor();
    return true;
}

bool ReadProperty(const PropertyMap& properties, const std::string& key, math::Mat4& value)
{
    const std::string* text = nullptr;
    if (!FindText(properties, key, text))
        return false;
    auto in = MakeReader(*text);
    math::Mat4 parsed;
    for (int row = 0; row < 4; ++row)
    {
        if (!ExpectChar(in, '|'))
            return false;
        for (int col = 0; col < 4; ++col)
        {
            if (!ExtractDouble(in, parsed(row, col)))
                return false;
        }
        if (!ExpectChar(in, '|'))
            return false;
    }
    value = parsed;
    return true;
}

void LogUnreadableProperty(const std::string& key)
{
    OmbraxLogger::Log(LogLevel::Error,
                      QString("Unable to read property %1").arg(QString::fromStdString(key)));
}

} // namespace zorvpro
