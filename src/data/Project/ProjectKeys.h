#pragma once

#include "core/Xml/HierarchicalFileElement.h"
#include "core/math/Vector3.h"

#include <QString>

namespace zorvpro
{

// Key/value elements of the project file's "Settings" section and of the
// application settings file. Readers log at level error and return false when
// the key is missing or its text does not parse; numbers that are not finite
// do not parse.

// Appends an element named after the key holding the text; throws
// std::bad_alloc when the element cannot be created.
void AddKeyValue(const QString& key, const QString& value, const HierarchicalFileElementPtr& section);
void AddKeyValue(const QString& key, double value, const HierarchicalFileElementPtr& section);
void AddKeyValue(const QString& key, bool value, const HierarchicalFileElementPtr& section);
void AddKeyValue(const QString& key, int value, const HierarchicalFileElementPtr& section);
void AddVectorKeyValue(const QString& key, const math::Vec3& value,
                       const HierarchicalFileElementPtr& section);

// 'g' with 6 significant digits, always in the "C" locale.
QString FormatDouble(double value);

bool ReadKeyText(const QString& key, const HierarchicalFileElementPtr& section, QString& value);
bool ReadBoolKey(const QString& key, const HierarchicalFileElementPtr& section, bool& value);
bool ReadDoubleKey(const QString& key, const HierarchicalFileElementPtr& section, double& value);
bool ReadIntKey(const QString& key, const HierarchicalFileElementPtr& section, int& value);
bool ReadVectorKey(const QString& key, const HierarchicalFileElementPtr& section, math::Vec3& value);

} // namespace zorvpro
