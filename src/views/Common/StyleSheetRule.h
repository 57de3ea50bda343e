#pragma once

#include <QMap>
#include <QString>

namespace zorvpro
{
// One style-sheet rule: "selector { key: value; key: value; }" with the
// declarations in key order; only "key: value; key: value;" without selector.
QString makeStyleSheetRule(const QString& selector, const QMap<QString, QString>& properties);
} // namespace zorvpro
