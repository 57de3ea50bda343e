#include "views/Tabs/BaseComponents/ProjectPreferencesControl.h"

#include "views/Common/StyleSheetRule.h"
#include "views/GridControl/BindableProperty.h"
#include "views/GridControl/MyPropertyButton.h"
#include "views/GridControl/PropertyErrors.h"
#include "views/GridControl/UnitType.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QSpacerItem>
#include <limits>

namespace zorvpro
{
namespace
{
QString Tr(const char* text)
{
    return QCoreApplication::translate("ProjectPreferencesControl", text);
}

const QString kVenue = QStringLiteral("ProjectVenue");
const QString kDesigner = QStringLiteral("ProjectDesigner");
const QString kVersion = QStringLiteral("ProjectVersion");
const QString kNotes = QStringLiteral("ProjectNotes");
const QString kAirAbsorb = QStringLiteral("AirAbsorb");
const QString kTemperature = QStringLiteral("Temperature");
const QString kHumidity = QStringLiteral("Humidity");
const QString kEarHeight = QStringLiteral("EarHeight");

// 0 F and 120 F.
constexpr double kLowestTemperature = (0.0 - 32.0) / 1.8;
constexpr double kHighestTemperature = (120.0 - 32.0) / 1.8;
constexpr std::uint32_t kFree = BoundPropertiesGrid::kFreeWidth;

std::uint32_t Unit(UnitType type)
{
    return static_cast<std::uint32_t>(type);
}

QMap<QString, QString> Pairs(bool light, const char* lightValue, const char* darkValue, const char* key)
{
    return {{QString::fromLatin1(key), QString::fromLatin1(light ? lightValue : darkValue)}};
}
} // namespace

ProjectPreferencesControl::ProjectPreferencesControl()
    : BoundPropertiesGrid(QStringLiteral("ProjectPreferencesControl"))
{
    try
    {
        resetButton_ = BindableProperty::createButton(QStringLiteral("ResetButton"), Tr("Reset"), false);
        createProperties();
        layoutProperties();
    }
    catch (const std::exception& e)
    {
        RethrowLogged(e, __FILE__, "ProjectPreferencesControl", __LINE__);
    }
}

ProjectPreferencesControl::~ProjectPreferencesControl()
{
    delete resetButton_.data();
}

void ProjectPreferencesControl::createProperties()
{
    const double lowest = std::numeric_limits<double>::lowest();
    const double highest = std::numeric_limits<double>::max();
    for (const QString& name : {kVenue, kDesigner, kVersion})
        bindProperty(BindableProperty::createLineEdit(name, Unit(UnitType::Text), 50, lowest, highest, 2));
    bindProperty(BindableProperty::createMultiLineEdit(kNotes, 280));
    bindProperty(BindableProperty::createToggleSwitch(kAirAbsorb, Tr("OFF"), Tr("ON")));

    bindProperty(BindableProperty::createLineEdit(kTemperature, Unit(UnitType::Temperature), 50,
                                                  kLowestTemperature, kHighestTemperature, 1));
    updateProperty(kTemperature, 22.0);
    bindProperty(BindableProperty::createLineEdit(kHumidity, Unit(UnitType::Percent), 50, 0.0, 100.0, 0));
    updateProperty(kHumidity, 31);
    bindProperty(BindableProperty::createLineEdit(kEarHeight, Unit(UnitType::Length), 50, 0.0, 100.0, 2));
    updateProperty(kEarHeight, 1.0);

    for (const QString& name : {kVenue, kDesigner, kVersion, kNotes, kTemperature, kHumidity, kEarHeight})
        fields_.push_back(getProperty(name));
}

void ProjectPreferencesControl::layoutProperties()
{
    title_ = createLabel(Tr("PROJECT SETTINGS"), kFree);
    QFont font = title_->font();
    font.setLetterSpacing(QFont::AbsoluteSpacing, 2.0);
    title_->setFont(font);
    title_->setFixedHeight(28);
    addWidgetToGrid(title_, 0, 0, 1, 2);

    std::uint32_t row = 1;
    for (const auto& [label, name] : {std::pair<const char*, QString>{"Venue:", kVenue},
                                      {"Designer:", kDesigner},
                                      {"Version:", kVersion}})
    {
        addWidgetToGrid(createLabel(Tr(label), kFree), static_cast<int>(row), 0);
        QWidget* field = getProperty(name)->widget();
        field->setMaximumWidth(300);
        addWidgetToGrid(field, static_cast<int>(row), 1);
        if (name == kVenue)
            addWidgetToGrid(createLabel(QString(), kFree), static_cast<int>(row), 2);
        addSpacerRow(widget(), row, 0);
        ++row;
    }
    // row is 7 here.
    addWidgetToGrid(createLabel(Tr("Notes:"), kFree), static_cast<int>(row), 0, 5, 1, Qt::AlignTop);
    QWidget* notes = getProperty(kNotes)->widget();
    notes->setMaximumSize(300, 150);
    addWidgetToGrid(notes, static_cast<int>(row), 1, 5, 1, Qt::AlignTop);

    addWidgetToGrid(createLabel(Tr("Air Absorption:"), kFree), 1, 3);
    addWidgetToGrid(getProperty(kAirAbsorb)->widget(), 1, 5);
    getProperty(kAirAbsorb)->setValue(false, false);
    addWidgetToGrid(createLabel(Tr("Temperature:"), kFree), 3, 3);
    addWidgetToGrid(getProperty(kTemperature)->widget(), 3, 5, 1, 1, Qt::AlignRight);
    addWidgetToGrid(createLabel(Tr("Humidity:"), kFree), 5, 3, 1, 1, Qt::AlignTop);
    addWidgetToGrid(getProperty(kHumidity)->widget(), 5, 5, 1, 1, Qt::AlignRight);
    addWidgetToGrid(createLabel(Tr("Default Ear Height:"), kFree), 7, 3, 1, 1, Qt::AlignTop);
    addWidgetToGrid(getProperty(kEarHeight)->widget(), 7, 5, 1, 1, Qt::AlignRight);
    // As wide as allowed, or a grid short of room squeezes "-17.8" out of sight.
    for (const QString& name : {kTemperature, kHumidity, kEarHeight})
        getProperty(name)->widget()->setFixedWidth(70);

    addSpacerRow(widget(), row, 0);
    ++row;
    resetButton_->setObjectName(QStringLiteral("ResetButton"));
    resetButton_->setText(Tr("Restore Defaults"));
    resetButton_->setMinimumSize(120, 24);
    addWidgetToGrid(resetButton_, static_cast<int>(row), 3, 1, 3, Qt::AlignRight);
    QObject::connect(resetButton_, &MyPropertyButton::clicked, widget(), [this] { restoreDefaults(); });
    ++row;
    addItemToGrid(new QSpacerItem(1, 1, QSizePolicy::Minimum, QSizePolicy::Expanding), static_cast<int>(row),
                  0);
    widget()->layout()->setContentsMargins(16, 12, 16, 0);
}

void ProjectPreferencesControl::restoreDefaults()
{
    getProperty(kAirAbsorb)->setValue(false, true);
    getProperty(kTemperature)->setValue(22.0, true);
    getProperty(kHumidity)->setValue(50.0, true);
    getProperty(kEarHeight)->setValue(1.0, true);
}

void ProjectPreferencesControl::releaseFieldFocus()
{
    if (getProperty(kAirAbsorb)->widget()->hasFocus())
        return;
    for (BindableProperty* field : fields_)
        field->setWidgetFocus(false);
}

void ProjectPreferencesControl::onPropertyEvent(BoundPropertyEvent event, const QString& propName,
                                                const QVariant& value)
{
    if (event == BoundPropertyEvent::ValueChanged && propName == kAirAbsorb)
        releaseFieldFocus();
    BoundPropertiesGrid::onPropertyEvent(event, propName, value);
}

void ProjectPreferencesControl::themeChanged(const int& theme)
{
    const bool light = theme == 1;
    QMap<QString, QString> title = Pairs(light, "#000000", "#F8F8F8", "color");
    title.insert(QStringLiteral("font-family"), QStringLiteral("\"Gotham Bold\""));
    title.insert(QStringLiteral("font-size"), QStringLiteral("14px"));
    title.insert(QStringLiteral("margin"), QStringLiteral("0px 0px 16px 0px"));
    title_->setStyleSheet(makeStyleSheetRule(QString(), title));

    QMap<QString, QString> normal = Pairs(light, "#000000", "#F8F8F8", "color");
    normal.insert(QStringLiteral("border-radius"), QStringLiteral("12px"));
    normal.insert(QStringLiteral("background-color"), QString::fromLatin1(light ? "#e0e0e0" : "#3b3b3b"));
    QMap<QString, QString> hover = Pairs(light, "#F8F8F8", "#242424", "color");
    hover.insert(QStringLiteral("background-color"), QString::fromLatin1(light ? "#575757" : "#cccccc"));
    QMap<QString, QString> focus = Pairs(light, "1px solid #000000", "1px solid #FFFFFF", "outline");
    focus.insert(QStringLiteral("outline-style"), QStringLiteral("outset"));
    focus.insert(QStringLiteral("outline-radius"), QStringLiteral("10px"));
    focus.insert(QStringLiteral("border"), QStringLiteral("none"));
    const QMap<QString, QString> pressed{{QStringLiteral("border-style"), QStringLiteral("offset")},
                                         {QStringLiteral("border-width"), QStringLiteral("4px")}};
    resetButton_->setStyleSheet(makeStyleSheetRule(QStringLiteral("QPushButton"), normal) +
                                makeStyleSheetRule(QStringLiteral("QPushButton:hover"), hover) +
                                makeStyleSheetRule(QStringLiteral("QPushButton:focus"), focus) +
                                makeStyleSheetRule(QStringLiteral("QPushButton:pressed"), pressed));
    BoundPropertiesGrid::themeChanged(theme);
}
} // namespace zorvpro
