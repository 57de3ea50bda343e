// The creators of the icon, tab, colour-picker, multi-line and slider kinds.

#include "views/GridControl/BindableProperty.h"

#include "Utility/ApiChecker.h"
#include "views/GridControl/ColorPickerPropertyImpl.h"
#include "views/GridControl/IconPropertyImpl.h"
#include "views/GridControl/MultiLineEditPropertyImpl.h"
#include "views/GridControl/PropertyErrors.h"
#include "views/GridControl/SliderPropertyImpl.h"
#include "views/GridControl/TabPropertyImpl.h"

#include <memory>

namespace zorvpro
{
namespace
{
// Builds a property of the kind and hands its widget, as the expected class,
// to configure; failures are logged under the creator's name and thrown on.
template <typename Impl, typename Configure>
BindableProperty* Create(std::uint32_t kind, const QString& name, const char* creator, Configure configure)
{
    try
    {
        auto property = std::make_unique<BindableProperty>(kind, name);
        CheckAlloc(property);
        auto* impl = dynamic_cast<Impl*>(property->impl());
        CheckAlloc(impl);
        configure(*impl);
        return property.release();
    }
    catch (const std::exception& e)
    {
        RethrowLogged(e, __FILE__, creator, __LINE__);
    }
    catch (...)
    {
        RethrowLoggedUnknown(__FILE__, creator, __LINE__);
    }
}
} // namespace

BindableProperty* BindableProperty::createColorPickerButton(const QString& name)
{
    return Create<ColorPickerPropertyImpl>(PropertyKind::ColorPicker, name, "createColorPickerButton",
                                           [](ColorPickerPropertyImpl&) {});
}

BindableProperty* BindableProperty::createIconButton(const QString& name, const IconRenderer& icons,
                                                     bool checkable, const QKeySequence& shortcut)
{
    return Create<IconPropertyImpl>(PropertyKind::Icon, name, "createIconButton",
                                    [&](IconPropertyImpl& button)
                                    {
                                        button.setRenderer(icons, checkable);
                                        if (!shortcut.isEmpty())
                                            button.setShortcut(shortcut);
                                    });
}

BindableProperty* BindableProperty::createTabButton(const QString& name, const QString& text,
                                                    const IconRenderer& icons, const QKeySequence& shortcut)
{
    return Create<TabPropertyImpl>(PropertyKind::Tab, name, "createTabButton",
                                   [&](TabPropertyImpl& tab)
                                   {
                                       tab.setTextAndIcons(text, icons);
                                       if (!shortcut.isEmpty())
                                           tab.setShortcut(shortcut);
                                   });
}

BindableProperty* BindableProperty::createMultiLineEdit(const QString& name, int maxLength)
{
    return Create<MultiLineEditPropertyImpl>(PropertyKind::MultiLineEdit, name, "createMultiLineEdit",
                                             [&](MultiLineEditPropertyImpl& edit)
                                             { edit.setMaxLength(maxLength); });
}

BindableProperty* BindableProperty::createSlider(const QString& name, int minimum, int maximum)
{
    return Create<SliderPropertyImpl>(PropertyKind::Slider, name, "createSlider",
                                      [&](SliderPropertyImpl& slider)
                                      { slider.configure(minimum, maximum); });
}
} // namespace zorvpro
