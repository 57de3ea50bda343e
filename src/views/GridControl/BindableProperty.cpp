#include "views/GridControl/BindableProperty.h"

#include "Utility/ApiChecker.h"
#include "core/Logger/OmbraxLogger.h"
#include "views/GridControl/IPropertyOptions.h"
#include "views/GridControl/MyPropertyButton.h"
#include "views/GridControl/PropertyErrors.h"
#include "views/GridControl/PropertyKindRegistry.h"

#include <stdexcept>

namespace zorvpro
{
BindableProperty::BindableProperty(std::uint32_t kind, const QString& name)
{
    try
    {
        impl_ = PropertyKindRegistry::Create(kind, name);
        CheckAlloc(impl_);
        widget_ = impl_->widget();
    }
    catch (const std::exception& e)
    {
        RethrowLogged(e, __FILE__, "BindableProperty", __LINE__);
    }
    catch (...)
    {
        RethrowLoggedUnknown(__FILE__, "BindableProperty", __LINE__);
    }
}

BindableProperty::~BindableProperty()
{
    if (widget_.isNull())
        (void)impl_.release();
}

void BindableProperty::themeChanged(const int& theme)
{
    impl_->updateStyle(theme);
}

QString BindableProperty::name() const
{
    return impl_->name();
}

std::uint32_t BindableProperty::kind() const
{
    return impl_->kind();
}

QVariant BindableProperty::value() const
{
    return impl_->currentValue();
}

QWidget* BindableProperty::widget() const
{
    return impl_->widget();
}

void BindableProperty::setValue(const QVariant& value, bool raise)
{
    impl_->setValue(value, raise);
}

void BindableProperty::setEditable(bool enabled, bool clearWhenDisabled)
{
    impl_->setEditable(enabled, clearWhenDisabled);
}

void BindableProperty::setWidgetFocus(bool on)
{
    impl_->setWidgetFocus(on);
}

void BindableProperty::setEventListener(IBindablePropertyEventListener* listener)
{
    impl_->setEventListener(listener);
}

void BindableProperty::setComboBoxOptions(const QStringList& options)
{
    auto* list = dynamic_cast<IPropertyOptions*>(impl_.get());
    if (list == nullptr || impl_->kind() != PropertyKind::ComboBox)
    {
        OmbraxLogger::LogException(std::logic_error("Non-combo box bindable property specified"), __FILE__,
                                   "setComboBoxOptions", __LINE__);
        return;
    }
    list->setOptions(options);
}

void BindableProperty::setSelected(bool selected)
{
    auto* selectable = dynamic_cast<ISelectableProperty*>(impl_.get());
    if (selectable == nullptr)
    {
        OmbraxLogger::LogException(std::logic_error("Non-selectable bindable property specified"), __FILE__,
                                   "setSelected", __LINE__);
        return;
    }
    selectable->setSelected(selected);
}

MyPropertyButton* BindableProperty::createButton(const QString& objectName, const QString& text,
                                                 bool checkable)
{
    try
    {
        CheckTextEmpty(objectName);
        CheckTextEmpty(text);
        auto* button = new MyPropertyButton();
        CheckAlloc(button);
        button->setObjectName(objectName);
        button->setText(text);
        button->setCheckable(checkable);
        return button;
    }
    catch (const std::exception& e)
    {
        RethrowLogged(e, __FILE__, "createButton", __LINE__);
    }
}
} // namespace zorvpro
