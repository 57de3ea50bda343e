#include "views/GridControl/LineEditPropertyImpl.h"

#include "Utility/ApiChecker.h"
#include "core/Logger/OmbraxLogger.h"
#include "data/Settings/AppSettings.h"
#include "views/Common/CommitFocusedEdit.h"
#include "views/Common/StyleSheetRule.h"
#include "views/GridControl/BindableProperty.h"
#include "views/GridControl/MyLineEdit.h"
#include "views/GridControl/PropertyErrors.h"
#include "views/GridControl/PropertyKindRegistry.h"

#include <QApplication>
#include <QDoubleValidator>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace zorvpro
{
namespace
{
std::unique_ptr<IBindablePropertyImpl> CreateLineEdit(const QString& name)
{
    return std::make_unique<LineEditPropertyImpl>(name);
}

const bool kRegistered = PropertyKindRegistry::Register(PropertyKind::LineEdit, &CreateLineEdit);

UnitSettings& UnitPrefs()
{
    return *AppSettings::Instance().GetUnitSettings();
}
} // namespace

LineEditPropertyImpl::LineEditPropertyImpl(const QString& name)
    : QWidget(nullptr), IBindablePropertyImpl(PropertyKind::LineEdit),
      minimum_(std::numeric_limits<double>::lowest()), maximum_(std::numeric_limits<double>::max())
{
    (void)kRegistered;
    try
    {
        edit_ = new MyLineEdit(this);
        unitLabel_ = new QLabel(this);
        CheckAlloc(edit_);
        CheckAlloc(unitLabel_);
        CheckTextEmpty(name);
        auto* layout = new QHBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        setContentsMargins(0, 0, 0, 0);
        layout->addWidget(edit_);
        layout->addWidget(unitLabel_);
        edit_->setAlignment(Qt::AlignLeft);
        editFocusPolicy_ = edit_->focusPolicy();
        setObjectName(name);
        setName(name);
        edit_->setObjectName(name + QStringLiteral("Edit"));
        MarkProjectField(edit_);
        unitLabel_->setObjectName(name + QStringLiteral("Label"));
        unitLabel_->hide();
        connect(edit_, &QLineEdit::returnPressed, this, &LineEditPropertyImpl::handleReturnPressed);
        connect(edit_, &MyLineEdit::focusGained, this, [this] { handleFocusIn(nullptr); });
        connect(edit_, &MyLineEdit::focusLost, this, [this] { handleFocusOut(nullptr); });
        connect(edit_, &QLineEdit::textEdited, this, [this] { edited_ = true; });
    }
    catch (const std::exception& e)
    {
        RethrowLogged(e, __FILE__, "LineEditPropertyImpl", __LINE__);
    }
}

void LineEditPropertyImpl::setUnitType(std::uint32_t unitType)
{
    try
    {
        unitLabel_->hide();
        QObject::disconnect(unitsConnection_);
        if (unitType == static_cast<std::uint32_t>(UnitType::Text))
        {
            unitType_ = unitType;
            handleUnitsChanged();
            return;
        }
        // Refuses a number without a unit before anything changes.
        (void)Units::Label(unitType, 0);
        edit_->setStyleSheet(makeStyleSheetRule(
            QStringLiteral("QLineEdit"), {{QStringLiteral("font-family"), QStringLiteral("\"Gotham\"")}}));
        edit_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        if (edit_->validator() == nullptr)
        {
            // Refuses only what is no number; range and decimals are ours.
            auto* validator = new QDoubleValidator(this);
            CheckAlloc(validator);
            edit_->setValidator(validator);
        }
        unitLabel_->setVisible(unitType != static_cast<std::uint32_t>(UnitType::Number));
        switch (static_cast<UnitType>(unitType))
        {
        case UnitType::Temperature:
            unitsConnection_ = connect(&UnitPrefs(), &UnitSettings::temperatureUnitsChanged, this,
                                       &LineEditPropertyImpl::handleUnitsChanged);
            break;
        case UnitType::Length:
        case UnitType::Mass:
            unitsConnection_ = connect(&UnitPrefs(), &UnitSettings::measurementUnitsChanged, this,
                                       &LineEditPropertyImpl::handleUnitsChanged);
            break;
        default:
            break;
        }
        unitType_ = unitType;
        handleUnitsChanged();
    }
    catch (const std::exception& e)
    {
        RethrowLogged(e, __FILE__, "setUnitType", __LINE__);
    }
}

void LineEditPropertyImpl::setMaxLength(int length)
{
    if (length < 1)
        throw std::logic_error("Max length must be greater than 0");
    edit_->setMaxLength(length);
}

void LineEditPropertyImpl::setMinimum(double value)
{
    if (!(value < maximum_))
        throw std::logic_error("Min must be less than max");
    minimum_ = value;
}

void LineEditPropertyImpl::setMaximum(double value)
{
    if (!(minimum_ < value))
        throw std::logic_error("Max must be greater than min");
    maximum_ = value;
}

void LineEditPropertyImpl::setPrecision(int precision)
{
    if (precision < 0)
        throw std::logic_error("Precision must be greater than or equal to 0");
    precision_ = precision;
}

QString LineEditPropertyImpl::formatValue(double value) const
{
    const QLocale numbers = locale();
    const QString text = numbers.toString(value, 'f', precision_);
    if (text.startsWith(QLatin1Char('-')) && text.mid(1) == numbers.toString(0.0, 'f', precision_))
        return text.mid(1);
    return text;
}

std::uint32_t LineEditPropertyImpl::indexOfEventEnumeration() const
{
    if (unitType_ == static_cast<std::uint32_t>(UnitType::Temperature))
        return static_cast<std::uint32_t>(UnitPrefs().getTemperatureUnits());
    return static_cast<std::uint32_t>(UnitPrefs().getMeasurementUnits());
}

bool LineEditPropertyImpl::doesRequireConversion() const
{
    if (unitType_ == static_cast<std::uint32_t>(UnitType::Angle))
        return true;
    if (unitType_ == static_cast<std::uint32_t>(UnitType::Temperature))
        return UnitPrefs().getTemperatureUnits() == TemperatureType::F;
    return UnitPrefs().getMeasurementUnits() == MeasurementType::Imperial;
}

double LineEditPropertyImpl::toModel(double value) const
{
    return doesRequireConversion() ? Units::DisplayToModel(unitType_, value) : value;
}

double LineEditPropertyImpl::toDisplay(double value) const
{
    return doesRequireConversion() ? Units::ModelToDisplay(unitType_, value) : value;
}

void LineEditPropertyImpl::handleUnitsChanged()
{
    if (!isNumeric())
        return;
    if (!edit_->text().isEmpty())
    {
        bool ok = false;
        const double shown = locale().toDouble(edit_->text(), &ok);
        // Half-typed text ("-") has no value to convert; it stays as typed.
        if (ok)
        {
            const double value = doesRequireConversion() ? Units::ModelToDisplay(unitType_, shown)
                                                         : Units::DisplayToModel(unitType_, shown);
            edit_->setText(formatValue(value));
            displayValue_ = value;
        }
    }
    unitLabel_->setText(Units::Label(unitType_, static_cast<int>(indexOfEventEnumeration())));
}

bool LineEditPropertyImpl::onSetBoundValue(const QVariant& value)
{
    const QString text = value.toString();
    bool ok = value.userType() == QMetaType::QString;
    double number = 0.0;
    if (isNumeric())
    {
        number = text.toDouble(&ok);
        // Nothing the user could type back: refused like any other non-number.
        ok = ok && std::isfinite(number);
    }
    if (!ok)
    {
        OmbraxLogger::LogException(std::logic_error("Property Control got an invalid property type"),
                                   __FILE__, "onSetBoundValue", __LINE__);
        return false;
    }
    if (!isNumeric())
    {
        edit_->setText(text);
        edited_ = false;
        return true;
    }
    const double shown = toDisplay(number);
    edit_->setText(edit_->hasFocus() ? locale().toString(shown, 'g', 6) : formatValue(shown));
    displayValue_ = shown;
    edited_ = false;
    return true;
}

QVariant LineEditPropertyImpl::currentValue() const
{
    if (!isNumeric())
        return edit_->text();
    return toModel(displayValue_);
}

void LineEditPropertyImpl::focusInEvent(QFocusEvent* event)
{
    handleFocusIn(event);
}

void LineEditPropertyImpl::focusOutEvent(QFocusEvent* event)
{
    handleFocusOut(event);
}

void LineEditPropertyImpl::handleFocusIn(QFocusEvent* event)
{
    if (edit_->isReadOnly())
        return;
    textAtFocusIn_ = edit_->text();
    if (isNumeric())
    {
        // After the edit has placed its cursor: the full-precision number,
        // all selected, ready to be typed over. Keys that came first are the user's
        // entry and stay; so does the text of an edit the focus has left again.
        QTimer::singleShot(0, this,
                           [this]
                           {
                               if (edited_ || !edit_->hasFocus())
                                   return;
                               QString text = locale().toString(displayValue_, 'g', 6);
                               if (text.contains(QStringLiteral("e-")))
                                   text = locale().toString(0.0, 'g', 6);
                               edit_->setText(text);
                               edit_->selectAll();
                           });
    }
    raiseEvent(BoundPropertyEvent::FocusGained);
    edit_->setAttribute(Qt::WA_MacShowFocusRect, false);
    if (event != nullptr)
        QWidget::focusInEvent(event);
}

void LineEditPropertyImpl::showCommitted(double value)
{
    const QString text = formatValue(value);
    edit_->setText(text);
    displayValue_ = locale().toDouble(text);
}

void LineEditPropertyImpl::handleFocusOut(QFocusEvent* event)
{
    // Typing undone in the field to the text it was given is no change.
    bool commit = edited_ && edit_->isModified();
    if (isNumeric())
    {
        if (edit_->text().isEmpty())
            edit_->setText(textAtFocusIn_);
        bool ok = false;
        const double typed = locale().toDouble(edit_->text(), &ok);
        const double low = toDisplay(minimum_);
        const double high = toDisplay(maximum_);
        if (!ok)
        {
            // Text that is no number is not committed as zero: the last
            // committed value comes back.
            edit_->setText(formatValue(displayValue_));
            commit = false;
        }
        else if (low > typed)
        {
            showCommitted(low);
        }
        else if (typed > high)
        {
            showCommitted(high);
        }
        else
        {
            edit_->setText(formatValue(typed));
            displayValue_ = typed;
        }
    }
    if (commit)
        raiseEvent(BoundPropertyEvent::ValueChanged);
    raiseEvent(BoundPropertyEvent::FocusLost);
    if (event != nullptr)
        QWidget::focusOutEvent(event);
    edited_ = false;
    // Committed: nothing is left for a command to take (see HasPendingEdit), nor for the field to
    // undo: the Undo key now undoes the project's step.
    ForgetTyping(edit_);
}

void LineEditPropertyImpl::handleReturnPressed()
{
    if (!isNumeric())
    {
        raiseEvent(BoundPropertyEvent::ValueChanged);
        edited_ = false;
        ForgetTyping(edit_);
        return;
    }
    // Leaving commits; coming back selects the committed number again.
    QTimer::singleShot(0, this, [this] { edit_->clearFocus(); });
    QTimer::singleShot(0, this, [this] { edit_->setFocus(Qt::OtherFocusReason); });
}

void LineEditPropertyImpl::squish_set_display_value(const QVariant& value)
{
    if (value.userType() != QMetaType::QString)
    {
        OmbraxLogger::LogException(std::logic_error("QVariant is not of type String expected by API."),
                                   __FILE__, "squish_set_display_value", __LINE__);
        return;
    }
    edit_->selectAll();
    for (const QChar c : value.toString())
    {
        const int key = c.toLatin1();
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(edit_, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(edit_, &release);
    }
}

QVariant LineEditPropertyImpl::squish_display_value() const
{
    return edit_->text();
}

void LineEditPropertyImpl::setWidgetFocus(bool on)
{
    if (on)
        edit_->setFocus(Qt::OtherFocusReason);
    else
        edit_->clearFocus();
}

bool LineEditPropertyImpl::widgetHasFocus() const
{
    return edit_->hasFocus();
}

void LineEditPropertyImpl::updateStyle(int theme)
{
    const bool light = theme == 1;
    QMap<QString, QString> normal = {
        {QStringLiteral("border"), QStringLiteral("none")},
        {QStringLiteral("border-bottom"),
         light ? QStringLiteral("0.5px solid #aaaaaa") : QStringLiteral("0.5px solid #777777")},
        {QStringLiteral("color"), light ? QStringLiteral("#000000") : QStringLiteral("#FFFFFF")}};
    if (isNumeric())
        normal.insert(QStringLiteral("font-family"), QStringLiteral("Gotham Book"));
    const QMap<QString, QString> disabled = {
        {QStringLiteral("border"), QStringLiteral("none")},
        {QStringLiteral("border-bottom"),
         light ? QStringLiteral("0.5px solid #aaaaaa") : QStringLiteral("0.5px solid #575757")},
        {QStringLiteral("color"), light ? QStringLiteral("#aaaaaa") : QStringLiteral("#575757")}};
    edit_->setStyleSheet(makeStyleSheetRule(QStringLiteral("QLineEdit"), normal) + QLatin1Char(' ') +
                         makeStyleSheetRule(QStringLiteral("QLineEdit:disabled"), disabled));
}

void LineEditPropertyImpl::setEditable(bool enabled, bool clearWhenDisabled)
{
    edit_->setReadOnly(!enabled);
    setEnabled(enabled);
    edit_->setFocusPolicy(enabled ? editFocusPolicy_ : Qt::NoFocus);
    if (!enabled && clearWhenDisabled)
    {
        if (edit_->hasFocus())
            edit_->clearFocus();
        edit_->setText(QString());
    }
}

BindableProperty* BindableProperty::createLineEdit(const QString& name, std::uint32_t unitType, int maxLength,
                                                   double minimum, double maximum, int precision)
{
    try
    {
        auto property = std::make_unique<BindableProperty>(PropertyKind::LineEdit, name);
        auto* edit = dynamic_cast<LineEditPropertyImpl*>(property->impl());
        CheckAlloc(edit);
        edit->setUnitType(unitType);
        if (maxLength < 1)
            throw std::logic_error("Max length must be greater than 0");
        edit->setMaxLength(maxLength);
        edit->setMinimum(minimum);
        edit->setMaximum(maximum);
        edit->setPrecision(precision);
        return property.release();
    }
    catch (const std::exception& e)
    {
        RethrowLogged(e, __FILE__, "createLineEdit", __LINE__);
    }
}
} // namespace zorvpro
