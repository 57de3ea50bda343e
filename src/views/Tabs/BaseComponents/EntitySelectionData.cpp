#include "views/Tabs/BaseComponents/EntitySelectionData.h"

#include "Utility/ApiChecker.h"
#include "views/GridControl/BindableProperty.h"
#include "views/GridControl/IconRenderer.h"
#include "views/Tabs/BaseComponents/EntityNameTableWidgetItem.h"

#include <QHBoxLayout>
#include <QKeySequence>
#include <QTableWidget>

namespace zorvpro
{
namespace
{
enum Column
{
    kColor,
    kTransparency,
    kVisibility,
    kLock,
    kMute
};

const char* const kItemNames[] = {"Entity_Color", "Entity_Transparency", "Entity_Visibility", "Entity_Lock",
                                  "Entity_Mute"};

QString BoundName(Id id, const QString& itemName)
{
    return QString::number(id) + ";" + itemName;
}
} // namespace

EntitySelectionData::EntitySelectionData(Id id, const QString& name, IBindablePropertyEventListener* listener,
                                         bool transparent, bool visible, bool locked, const QColor& color,
                                         bool muted)
    : id_(id), listener_(listener)
{
    CheckAlloc(listener);
    properties_.resize(5);
    try
    {
        build(name, transparent, visible, locked, color, muted);
    }
    catch (...)
    {
        // The properties go with the vector; the rest is still the row's.
        for (const QPointer<QWidget>& container : containers_)
            delete container.data();
        delete nameItem_;
        throw;
    }
}

void EntitySelectionData::build(const QString& name, bool transparent, bool visible, bool locked,
                                const QColor& color, bool muted)
{
    const Id id = id_;
    IBindablePropertyEventListener* listener = listener_;

    properties_[kColor].reset(BindableProperty::createColorPickerButton(BoundName(id, kItemNames[kColor])));
    CheckAlloc(properties_[kColor]);
    properties_[kColor]->widget()->setObjectName(kItemNames[kColor]);
    properties_[kColor]->widget()->setFocusPolicy(Qt::NoFocus);
    properties_[kColor]->setEventListener(listener);
    properties_[kColor]->setValue(color, false);

    nameItem_ = new EntityNameTableWidgetItem();
    CheckAlloc(nameItem_);
    nameItem_->setText(name);
    if (locked)
        nameItem_->setFlags(nameItem_->flags() & ~Qt::ItemIsEditable);

    properties_[kTransparency].reset(makeToggle(kItemNames[kTransparency], 10, transparent));
    properties_[kMute].reset(makeToggle(kItemNames[kMute], 12, muted));
    properties_[kVisibility].reset(makeToggle(kItemNames[kVisibility], 11, visible));
    properties_[kLock].reset(makeToggle(kItemNames[kLock], 13, locked));
    setLocked(isLocked());

    containers_.push_back(makeContainer(properties_[kColor].get(), 15));
    for (int column : {kTransparency, kVisibility, kLock, kMute})
        containers_.push_back(makeContainer(properties_[column].get(), 0));
}

EntitySelectionData::~EntitySelectionData()
{
    // The buttons first: they live in the containers.
    properties_.clear();
    for (const QPointer<QWidget>& container : containers_)
        if (!container.isNull() && container->parent() == nullptr)
            delete container.data();
    if (nameItem_ != nullptr && nameItem_->tableWidget() == nullptr)
        delete nameItem_;
    for (QTableWidgetItem* item : plainItems_)
        if (item->tableWidget() == nullptr)
            delete item;
}

BindableProperty* EntitySelectionData::makeToggle(const QString& itemName, int icon, bool value)
{
    IconRenderer renderer;
    for (int theme : {1, 0})
        for (int state : {QIcon::On, QIcon::Off})
            for (int mode : {QIcon::Normal, QIcon::Active, QIcon::Selected, QIcon::Disabled})
                renderer.addFile(icon, theme, mode, state);
    BindableProperty* property =
        BindableProperty::createIconButton(BoundName(id_, itemName), renderer, true, QKeySequence());
    CheckAlloc(property);
    property->widget()->setObjectName(itemName);
    property->widget()->setFocusPolicy(Qt::NoFocus);
    property->setEventListener(listener_);
    property->setValue(value, false);
    return property;
}

QWidget* EntitySelectionData::makeContainer(BindableProperty* property, int leftMargin)
{
    auto* container = new QWidget();
    container->setFocusPolicy(Qt::NoFocus);
    container->setObjectName(property->name() + "ContainerWidget");
    auto* layout = new QHBoxLayout(container);
    layout->setAlignment(Qt::AlignHCenter);
    layout->setContentsMargins(leftMargin, 0, 0, 0);
    layout->addWidget(property->widget());
    return container;
}

QTableWidgetItem* EntitySelectionData::makePlainItem()
{
    auto* item = new QTableWidgetItem(QTableWidgetItem::Type);
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    plainItems_.push_back(item);
    return item;
}

void EntitySelectionData::setName(const QString& name)
{
    nameItem_->setData(Qt::EditRole, name);
}

void EntitySelectionData::setColor(const QColor& color)
{
    properties_[kColor]->setValue(color, false);
}

void EntitySelectionData::setTransparent(bool transparent)
{
    properties_[kTransparency]->setValue(transparent, false);
}

void EntitySelectionData::setVisible(bool visible)
{
    properties_[kVisibility]->setValue(visible, false);
}

void EntitySelectionData::setMuted(bool muted)
{
    properties_[kMute]->setValue(muted, false);
}

void EntitySelectionData::setLocked(bool locked)
{
    properties_[kLock]->setValue(locked, false);
    for (int column : {kColor, kTransparency, kVisibility, kMute})
        properties_[column]->setEditable(!locked, false);
    properties_[kColor]->themeChanged(lightTheme_ ? 1 : 0);
    if (locked)
        nameItem_->setFlags(nameItem_->flags() & ~Qt::ItemIsEditable);
    else
        nameItem_->setFlags(nameItem_->flags() | Qt::ItemIsEditable);
}

bool EntitySelectionData::isLocked() const
{
    return properties_[kLock]->value().toBool();
}

void EntitySelectionData::setRowStyle(const QString& styleSheet, bool selected)
{
    for (const QPointer<QWidget>& container : containers_)
    {
        if (container.isNull())
            continue;
        // Setting a style sheet repolishes the whole row even when it is the same text, and
        // every row is restyled on each selection change.
        if (container->styleSheet() != styleSheet)
            container->setStyleSheet(styleSheet);
        container->setFocusPolicy(Qt::NoFocus);
    }
    for (const auto& property : properties_)
        property->setSelected(selected);
}

void EntitySelectionData::themeChanged(const int& theme)
{
    lightTheme_ = (theme == 1);
    for (const auto& property : properties_)
        property->themeChanged(theme);
}
} // namespace zorvpro
