#include "views/Tabs/BaseComponents/ApplicationSettingsControl.h"

#include "views/Common/StyleSheetRule.h"
#include "views/GridControl/BindableProperty.h"
#include "views/GridControl/PropertyErrors.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QSpacerItem>

namespace zorvpro
{
namespace
{
QString Tr(const char* text)
{
    return QCoreApplication::translate("ApplicationSettingsControl", text);
}

constexpr std::uint32_t kFree = BoundPropertiesGrid::kFreeWidth;
} // namespace

ApplicationSettingsControl::ApplicationSettingsControl()
    : BoundPropertiesGrid(QStringLiteral("ApplicationSettingsControl"))
{
    try
    {
        createProperties();
        layoutProperties();
    }
    catch (const std::exception& e)
    {
        RethrowLogged(e, __FILE__, "ApplicationSettingsControl", __LINE__);
    }
}

void ApplicationSettingsControl::createProperties()
{
    bindProperty(BindableProperty::createToggleSwitch(QStringLiteral("MeasurementUnits"), Tr("Metric (m/kg)"),
                                                      Tr("Imperial (ft/lbs)")));
    bindProperty(BindableProperty::createToggleSwitch(QStringLiteral("TemperatureUnits"),
                                                      Tr("Celsius (\u00B0C)"), Tr("Fahrenheit (\u00B0F)")));
    bindProperty(BindableProperty::createToggleSwitch(QStringLiteral("ToolbarLocation"), Tr("Docked Top"),
                                                      Tr("Docked Right")));
    bindProperty(BindableProperty::createToggleSwitch(QStringLiteral("ColorTheme"), Tr("Dark"), Tr("Light")));
}

void ApplicationSettingsControl::layoutProperties()
{
    title_ = createLabel(Tr("APPLICATION SETTINGS"), kFree);
    QFont font = title_->font();
    font.setLetterSpacing(QFont::AbsoluteSpacing, 2.0);
    title_->setFont(font);
    title_->setFixedHeight(28);

    std::uint32_t row = 0;
    addSpacerRow(widget(), row, 0);
    addWidgetToGrid(title_, static_cast<int>(row), 0, 1, 1, Qt::AlignLeft);

    auto switchRow = [this](const char* label, const char* name, int labelRow)
    {
        addWidgetToGrid(createLabel(Tr(label), kFree), labelRow, 0);
        QWidget* toggle = getProperty(QString::fromLatin1(name))->widget();
        addWidgetToGrid(toggle, labelRow + 1, 0);
        return toggle;
    };
    QWidget* measurement = switchRow("Measurement Units:", "MeasurementUnits", 2);
    measurement->setMaximumWidth(231);
    measurement->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    switchRow("Temperature Units:", "TemperatureUnits", 4);
    getProperty(QStringLiteral("ToolbarLocation"))->setValue(false, true);
    switchRow("Color Theme:", "ColorTheme", 6);
    addItemToGrid(new QSpacerItem(1, 1, QSizePolicy::Minimum, QSizePolicy::Expanding), 8, 0);
    widget()->layout()->setContentsMargins(8, 8, 20, 0);
}

void ApplicationSettingsControl::themeChanged(const int& theme)
{
    const bool light = theme == 1;
    title_->setStyleSheet(makeStyleSheetRule(
        QString(), {{QStringLiteral("color"), light ? QStringLiteral("#242424") : QStringLiteral("#F8F8F8")},
                    {QStringLiteral("font-family"), QStringLiteral("\"Gotham Bold\"")},
                    {QStringLiteral("font-size"), QStringLiteral("14px")}}));
    widget()->setStyleSheet(makeStyleSheetRule(
        QStringLiteral("QLabel"), {{QStringLiteral("margin"), QStringLiteral("8px 0px 0px 0px")}}));
    BoundPropertiesGrid::themeChanged(theme);
}
} // namespace zorvpro
