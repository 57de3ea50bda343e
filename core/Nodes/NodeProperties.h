#pragma once

#include "core/Nodes/PropertyMap.h"
#include "core/math/Matrix4.h"
#include "core/math/Vector3.h"

#include <QColor>
#include <string>

namespace zorvpro
{

// Property keys of the core node types; also the element tags in the project file.
namespace NodeKeys
{
extern const char* const Name;
extern const char* const Transform;
extern const char* const P1;
extern const char* const P2;
extern const char* const P3;
extern const char* const P4;
extern const char* const Color;
extern const char* const Transparent;
extern const char* const Visible;
extern const char* const Locked;
extern const char* const ListenerHeight;
extern const char* const ListenerHeightEnabled;
extern const char* const RotationZ;
} // namespace NodeKeys

// Text codecs of property values. Numbers always use the classic "C" locale so
// files read the same everywhere. A read leaves its output unchanged and
// returns false when the key is missing or its text does not parse.
void WriteProperty(PropertyMap& properties, const std::string& key, const std::string& value);
void WriteProperty(PropertyMap& properties, const std::string& key, const char* value);
void WriteProperty(PropertyMap& properties, const std::string& key, bool value);
void WriteProperty(PropertyMap& properties, const std::string& key, double value);
void WriteProperty(PropertyMap& properties, const std::string& key, int value);
void WriteProperty(PropertyMap& properties, const std::string& key, const math::Vec3& value);
void WriteProperty(PropertyMap& properties, const std::string& key, const QColor& value);
void WriteProperty(PropertyMap& properties, const std::string& key, const math::Mat4& value);

bool ReadProperty(const PropertyMap& properties, const std::string& key, std::string& value);
// Present is enough: any text other than "true" reads as false.
bool ReadProperty(const PropertyMap& properties, const std::string& key, bool& value);
// Non-finite numbers count as unparsable.
bool ReadProperty(const PropertyMap& properties, const std::string& key, double& value);
// Decimal, read like a double: leading blanks skipped, trailing text ignored;
// a number outside the int range counts as unparsable.
bool ReadProperty(const PropertyMap& properties, const std::string& key, int& value);
bool ReadProperty(const PropertyMap& properties, const std::string& key, math::Vec3& value);
// Components above 255 leave an invalid colour; the read still succeeds.
bool ReadProperty(const PropertyMap& properties, const std::string& key, QColor& value);
bool ReadProperty(const PropertyMap& properties, const std::string& key, math::Mat4& value);

// Logs "Unable to read property <key>" at level error.
void LogUnreadableProperty(const std::string& key);

} // namespace zorvpro
