#include "views/Tabs/BaseComponents/EntityNameTableWidgetItem.h"

namespace zorvpro
{
namespace
{
bool OnlySpaces(const QString& text)
{
    for (const QChar ch : text)
        if (ch != QLatin1Char(' '))
            return false;
    return true;
}
} // namespace

void EntityNameTableWidgetItem::setData(int role, const QVariant& value)
{
    if (role != Qt::EditRole)
    {
        QTableWidgetItem::setData(role, value);
        return;
    }
    const QString text = value.toString();
    if (OnlySpaces(text))
        return;
    QTableWidgetItem::setData(role, text.left(kMaxNameLength));
}
} // namespace zorvpro
