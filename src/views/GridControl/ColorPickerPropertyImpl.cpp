#include "views/GridControl/ColorPickerPropertyImpl.h"

#include "Utility/ApiChecker.h"
#include "core/Logger/OmbraxLogger.h"
#include "views/Common/StyleSheetRule.h"
#include "views/GridControl/IconPropertyImpl.h"
#include "views/GridControl/PropertyKind.h"
#include "views/GridControl/PropertyKindRegistry.h"

#include <QColorDialog>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolTip>
#include <stdexcept>

namespace zorvpro
{
namespace
{
constexpr int kColorPickerIcon = 9;

std::unique_ptr<IBindablePropertyImpl> CreateColorPicker(const QString& name)
{
    return std::make_unique<ColorPickerPropertyImpl>(name);
}

const bool kRegistered = PropertyKindRegistry::Register(PropertyKind::ColorPicker, &CreateColorPicker);

IconRenderer PaletteIcons()
{
    IconRenderer renderer;
    for (int theme : {1, 0})
        for (int mode : {QIcon::Normal, QIcon::Active, QIcon::Disabled, QIcon::Selected})
            renderer.addFile(kColorPickerIcon, theme, mode, QIcon::Off);
    return renderer;
}
} // namespace

ColorPickerPropertyImpl::ColorPickerPropertyImpl(const QString& name)
    : QWidget(nullptr), IBindablePropertyImpl(PropertyKind::ColorPicker)
{
    (void)kRegistered;
    label_ = new QLabel(this);
    button_ = new IconPropertyImpl("ColorPickerButton");
    CheckTextEmpty(name);
    CheckAlloc(label_);
    CheckAlloc(button_);
    button_->setParent(this);
    setName(name);
    setObjectName(name);

    buttonFocusPolicy_ = button_->focusPolicy();
    button_->setFocusPolicy(Qt::NoFocus);

    auto* layout = new QHBoxLayout(this);
    CheckAlloc(layout);
    layout->setContentsMargins(0, 0, 0, 0);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setFixedSize(35, 24);
    label_->setFixedSize(4, 24);
    label_->installEventFilter(this);
    label_->setObjectName("ChosenColorLabel");

    button_->setRenderer(PaletteIcons(), false);
    layout->addWidget(label_);
    layout->addWidget(button_);
    connect(button_, &QPushButton::clicked, this, [this] { pickColor(); });
    connect(button_, &MyPropertyButton::focusGained, this,
            [this] { raiseEvent(BoundPropertyEvent::FocusGained); });
    connect(button_, &MyPropertyButton::focusLost, this,
            [this] { raiseEvent(BoundPropertyEvent::FocusLost); });
    showColor(current_);
}

ColorPickerPropertyImpl::~ColorPickerPropertyImpl() = default;

void ColorPickerPropertyImpl::setSelected(bool selected)
{
    button_->setSelected(selected);
}

void ColorPickerPropertyImpl::showColor(const QColor& color)
{
    if (!color.isValid())
        return;
    current_ = color;
    const QString sheet = makeStyleSheetRule("QLabel", {{"background-color", color.name()}});
    // An unchanged sheet would only repolish the swatch.
    if (label_->styleSheet() != sheet)
        label_->setStyleSheet(sheet);
}

QColorDialog* ColorPickerPropertyImpl::dialog() const
{
    if (!dialog_)
    {
        dialog_ = std::make_unique<QColorDialog>();
        CheckAlloc(dialog_);
    }
    return dialog_.get();
}

void ColorPickerPropertyImpl::pickColor()
{
    QColorDialog* const dialog = this->dialog();
    dialog->setOption(QColorDialog::DontUseNativeDialog);
    dialog->setCurrentColor(current_);
    for (QPushButton* button : dialog->findChildren<QPushButton*>())
    {
        button->setCursor(Qt::PointingHandCursor);
        button->setMinimumSize(80, 24);
    }
    dialog->exec();
    const QColor selected = dialog->selectedColor();
    // A cancelled dialog has no selected colour: the last confirmed one stays.
    current_ = selected.isValid() ? selected : confirmed_;
    showColor(current_);
    confirmed_ = current_;
    raiseEvent(BoundPropertyEvent::ValueChanged);
}

void ColorPickerPropertyImpl::squish_set_display_value(const QVariant& value)
{
    setValue(value, true);
}

QVariant ColorPickerPropertyImpl::squish_display_value() const
{
    return squish_bound_value();
}

void ColorPickerPropertyImpl::setWidgetFocus(bool on)
{
    if (on)
        button_->setFocus(Qt::OtherFocusReason);
    else
        button_->clearFocus();
}

bool ColorPickerPropertyImpl::widgetHasFocus() const
{
    return button_->hasFocus();
}

QVariant ColorPickerPropertyImpl::currentValue() const
{
    return QVariant(current_);
}

void ColorPickerPropertyImpl::updateStyle(int theme)
{
    theme_ = theme;
    showColor(current_);
    button_->updateStyle(theme);
}

void ColorPickerPropertyImpl::setEditable(bool enabled, bool clearWhenDisabled)
{
    setEnabled(enabled);
    setFocusPolicy(enabled ? buttonFocusPolicy_ : Qt::NoFocus);
    if (!enabled && clearWhenDisabled)
        setValue(QColor(Qt::white), false);
    // The palette button follows the picker's enabled state in its look too.
    button_->updateStyle(theme_);
}

bool ColorPickerPropertyImpl::onSetBoundValue(const QVariant& value)
{
    if (value.userType() != QMetaType::QColor)
    {
        OmbraxLogger::LogException(std::logic_error("Bound property could not convert bound value"), __FILE__,
                                   "onSetBoundValue", __LINE__);
        return false;
    }
    showColor(value.value<QColor>());
    // A colour from the model is the confirmed one: cancelling the dialog
    // afterwards must report it, not an older colour.
    confirmed_ = current_;
    return true;
}

bool ColorPickerPropertyImpl::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == label_ && event->type() == QEvent::ToolTip)
    {
        QToolTip::hideText();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
} // namespace zorvpro
