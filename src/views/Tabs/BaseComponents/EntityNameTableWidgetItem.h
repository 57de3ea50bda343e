#pragma once

#include <QTableWidgetItem>

namespace zorvpro
{
// The name cell of the entity list. An edited name made only of spaces, or
// empty, is refused (the old name stays); a longer one is cut to 50
// characters. Other roles, the display text included, are stored as given.
class EntityNameTableWidgetItem : public QTableWidgetItem
{
public:
    static constexpr int kMaxNameLength = 50;

    EntityNameTableWidgetItem() : QTableWidgetItem(QTableWidgetItem::Type) {}
    void setData(int role, const QVariant& value) override;
};
} // namespace zorvpro
