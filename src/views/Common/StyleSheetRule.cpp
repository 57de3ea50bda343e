#include "views/Common/StyleSheetRule.h"

namespace zorvpro
{
QString makeStyleSheetRule(const QString& selector, const QMap<QString, QString>& properties)
{
    QString rule = selector.isEmpty() ? QString() : selector + QStringLiteral(" { ");
    for (auto it = properties.cbegin(); it != properties.cend(); ++it)
        rule += it.key() + QStringLiteral(": ") + it.value() + QStringLiteral("; ");
    // Drops the blank after the last declaration (or after the brace).
    rule.chop(1);
    if (!selector.isEmpty())
        rule += QStringLiteral(" }");
    return rule;
}
} // namespace zorvpro
