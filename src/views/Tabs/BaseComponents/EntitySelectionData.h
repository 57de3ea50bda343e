#pragma once

#include "views/Common/IAppThemeListener.h"
#include "views/Tabs/BaseComponents/EntityId.h"

#include <QColor>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <memory>
#include <vector>

class QTableWidgetItem;

namespace zorvpro
{
class BindableProperty;
class EntityNameTableWidgetItem;
class IBindablePropertyEventListener;

// One row of the entity list: the entity's id, its name cell and its five
// bound buttons (colour, transparency, visibility, lock, mute), each in a
// container widget. Every button is bound as "<id>;<item name>" and reports
// to the list. Cells the table took over are the table's to delete; the row
// deletes what never reached the table.
class EntitySelectionData : private IAppThemeListener
{
public:
    EntitySelectionData(Id id, const QString& name, IBindablePropertyEventListener* listener,
                        bool transparent, bool visible, bool locked, const QColor& color, bool muted);
    ~EntitySelectionData() override;

    EntitySelectionData(const EntitySelectionData&) = delete;
    EntitySelectionData& operator=(const EntitySelectionData&) = delete;

    // All setters show the value without raising an event.
    void setName(const QString& name);
    void setColor(const QColor& color);
    void setTransparent(bool transparent);
    void setVisible(bool visible);
    // A locked row keeps only its lock button usable and its name fixed.
    void setLocked(bool locked);
    void setMuted(bool muted);
    bool isLocked() const;
    void setRowStyle(const QString& styleSheet, bool selected);
    void themeChanged(const int& theme) override;

    // A plain, non-editable cell item kept with the row.
    QTableWidgetItem* makePlainItem();

    Id id() const { return id_; }
    EntityNameTableWidgetItem* nameItem() const { return nameItem_; }
    QWidget* colorContainer() const { return containers_[0]; }
    QWidget* transparencyContainer() const { return containers_[1]; }
    QWidget* visibilityContainer() const { return containers_[2]; }
    QWidget* lockContainer() const { return containers_[3]; }
    QWidget* muteContainer() const { return containers_[4]; }

private:
    void build(const QString& name, bool transparent, bool visible, bool locked, const QColor& color,
               bool muted);
    BindableProperty* makeToggle(const QString& itemName, int icon, bool value);
    QWidget* makeContainer(BindableProperty* property, int leftMargin);

    const Id id_;
    EntityNameTableWidgetItem* nameItem_ = nullptr;
    IBindablePropertyEventListener* listener_ = nullptr;
    // Colour, transparency, visibility, lock, mute: both lists in this order.
    std::vector<std::unique_ptr<BindableProperty>> properties_;
    std::vector<QPointer<QWidget>> containers_;
    std::vector<QTableWidgetItem*> plainItems_;
    bool lightTheme_ = true;
};
} // namespace zorvpro
