#include "views/GridControl/BoundPropertiesGrid.h"

#include "Utility/ApiChecker.h"
#include "core/Logger/OmbraxLogger.h"
#include "views/GridControl/BindableProperty.h"
#include "views/GridControl/BoundPropertiesGridImpl.h"
#include "views/GridControl/PropertyErrors.h"

#include <QGridLayout>
#include <QLabel>
#include <stdexcept>

namespace zorvpro
{
BoundPropertiesGrid::BoundPropertiesGrid(const QString& objectName)
{
    try
    {
        impl_ = std::make_unique<BoundPropertiesGridImpl>(objectName);
        CheckAlloc(impl_);
        frame_ = impl_.get();
    }
    catch (const std::exception& e)
    {
        RethrowLogged(e, __FILE__, "BoundPropertiesGrid", __LINE__);
    }
}

BoundPropertiesGrid::~BoundPropertiesGrid()
{
    if (frame_.isNull())
        (void)impl_.release();
}

QFrame* BoundPropertiesGrid::widget() const
{
    return impl_.get();
}

void BoundPropertiesGrid::bindProperty(BindableProperty* property)
{
    if (property == nullptr)
        return;
    std::unique_ptr<BindableProperty> owned(property);
    const QString name = property->name();
    if (impl_->properties.count(name) != 0)
    {
        OmbraxLogger::LogException(std::logic_error("BindableProperty already exists with this control"),
                                   __FILE__, "bindProperty", __LINE__);
        impl_->refused.push_back(std::move(owned));
    }
    else
    {
        impl_->properties.emplace(name, std::move(owned));
    }
    property->setEventListener(this);
}

BindableProperty* BoundPropertiesGrid::getProperty(const QString& name) const
{
    const auto it = impl_->properties.find(name);
    return it != impl_->properties.end() ? it->second.get() : nullptr;
}

void BoundPropertiesGrid::updateBoundPropertyValue(const QString& name, const QVariant& value)
{
    BindableProperty* property = getProperty(name);
    if (property == nullptr)
    {
        const QByteArray text = (name + QStringLiteral(" not bound for property update")).toUtf8();
        OmbraxLogger::LogException(std::logic_error(text.constData()), __FILE__, "updateBoundPropertyValue",
                                   __LINE__);
        return;
    }
    property->setValue(value, false);
}

void BoundPropertiesGrid::updateProperty(const QString& name, const QVariant& value)
{
    updateBoundPropertyValue(name, value);
}

void BoundPropertiesGrid::setEventListener(IBindablePropertyEventListener* listener)
{
    impl_->listener = listener;
}

void BoundPropertiesGrid::onPropertyEvent(BoundPropertyEvent event, const QString& propName,
                                          const QVariant& value)
{
    if (impl_->listener != nullptr)
        impl_->listener->onPropertyEvent(event, propName, value);
}

void BoundPropertiesGrid::setEditable(bool enabled, bool clearWhenDisabled)
{
    for (auto& entry : impl_->properties)
    {
        entry.second->setWidgetFocus(false);
        entry.second->setEditable(enabled, clearWhenDisabled);
    }
}

void BoundPropertiesGrid::clearFocus()
{
    for (auto& entry : impl_->properties)
        entry.second->setWidgetFocus(false);
}

void BoundPropertiesGrid::themeChanged(const int& theme)
{
    impl_->theme = theme;
    for (auto& entry : impl_->properties)
        entry.second->themeChanged(theme);
}

int BoundPropertiesGrid::currentTheme() const
{
    return impl_->theme;
}

QLabel* BoundPropertiesGrid::createLabel(const QString& text, std::uint32_t width)
{
    auto* label = new QLabel(text);
    CheckAlloc(label);
    if (width != kFreeWidth)
    {
        const int pixels = static_cast<int>(width);
        label->setMinimumWidth(pixels);
        label->setFixedWidth(pixels);
        label->setMaximumWidth(pixels);
    }
    impl_->ownedWidgets.push_back(label);
    return label;
}

QFrame* BoundPropertiesGrid::createSeparator(QFrame::Shape shape)
{
    auto* separator = new QFrame();
    CheckAlloc(separator);
    separator->setFrameShape(shape);
    separator->setFrameShadow(QFrame::Plain);
    separator->setContentsMargins(0, 0, 0, 0);
    impl_->ownedWidgets.push_back(separator);
    return separator;
}

void BoundPropertiesGrid::addWidgetToGrid(QWidget* widget, int row, int column, int rowSpan, int columnSpan,
                                          Qt::Alignment alignment)
{
    if (widget != nullptr)
        impl_->gridLayout()->addWidget(widget, row, column, rowSpan, columnSpan, alignment);
}

void BoundPropertiesGrid::addItemToGrid(QLayoutItem* item, int row, int column, int rowSpan, int columnSpan,
                                        Qt::Alignment alignment)
{
    if (item != nullptr)
        impl_->gridLayout()->addItem(item, row, column, rowSpan, columnSpan, alignment);
}

void BoundPropertiesGrid::addSpacerRow(QWidget* container, std::uint32_t& row, int column)
{
    if (container == nullptr)
        return;
    auto* layout = qobject_cast<QGridLayout*>(container->layout());
    if (layout == nullptr)
        return;
    QLabel* spacer = createLabel(QString(), kFreeWidth);
    ++row;
    layout->addWidget(spacer, static_cast<int>(row), column);
}
} // namespace zorvpro
