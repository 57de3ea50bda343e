#include "views/Shell/TabToolBarWidget.h"

#include "views/Common/StyleSheetRule.h"
#include "views/GridControl/BindableProperty.h"
#include "views/GridControl/IconRenderer.h"
#include "views/GridControl/PropertyErrors.h"

#include <QCoreApplication>
#include <QFont>
#include <QFrame>
#include <QIcon>
#include <QLabel>

namespace zorvpro
{
namespace
{
const QString kMenu = QStringLiteral("buttonMainMenu");
const QString kVenue = QStringLiteral("buttonVenueTab");
const QString kSpeaker = QStringLiteral("buttonSpeakerTab");
const QString kReport = QStringLiteral("buttonBomTab");
constexpr int kHamburgerIcon = 14;
constexpr int kTabWidth = 229;

QString Tr(const char* text)
{
    return QCoreApplication::translate("TabToolBarWidget", text);
}
} // namespace

TabToolBarWidget::TabToolBarWidget(QWidget* parent) : BoundPropertiesGrid(kMenu)
{
    try
    {
        createProperties();
        layoutProperties();
        widget()->setParent(parent);
    }
    catch (const std::exception& e)
    {
        RethrowLogged(e, __FILE__, "TabToolBarWidget", __LINE__);
    }
}

void TabToolBarWidget::createProperties()
{
    IconRenderer hamburger;
    for (const int theme : {1, 0})
        for (const int mode : {QIcon::Normal, QIcon::Active, QIcon::Disabled})
            hamburger.addFile(kHamburgerIcon, theme, mode, QIcon::Off);
    bindProperty(BindableProperty::createTabButton(kMenu, QString(), hamburger, QKeySequence(Tr("Alt+F"))));
    const IconRenderer none;
    bindProperty(BindableProperty::createTabButton(kVenue, Tr("VENUE"), none, QKeySequence()));
    bindProperty(
        BindableProperty::createTabButton(kSpeaker, Tr("SPEAKERS / ANALYSIS"), none, QKeySequence()));
    bindProperty(BindableProperty::createTabButton(kReport, Tr("REPORT"), none, QKeySequence()));
}

void TabToolBarWidget::layoutProperties()
{
    addWidgetToGrid(createLabel(QString(6, QLatin1Char(' ')), kFreeWidth), 0, 0);
    addWidgetToGrid(getProperty(kMenu)->widget(), 0, 1);
    addWidgetToGrid(createLabel(QString(14, QLatin1Char(' ')), kFreeWidth), 0, 2);
    const QString tabs[] = {kVenue, kSpeaker, kReport};
    for (int i = 0; i < 3; ++i)
    {
        addWidgetToGrid(getProperty(tabs[i])->widget(), 0, 3 + 2 * i);
        if (i < 2)
        {
            QFrame* separator = createSeparator(QFrame::VLine);
            separators << separator;
            addWidgetToGrid(separator, 0, 4 + 2 * i);
        }
    }
    getProperty(kMenu)->widget()->setToolTip(Tr("Menu"));
    getProperty(kVenue)->widget()->setToolTip(Tr("Open Venue tab"));
    getProperty(kSpeaker)->widget()->setToolTip(Tr("Open Speakers/Analysis tab"));
    getProperty(kReport)->widget()->setToolTip(Tr("Open Report tab"));
    QFont font = getProperty(kVenue)->widget()->font();
    font.setLetterSpacing(QFont::AbsoluteSpacing, 0.7);
    for (const QString& name : tabs)
    {
        QWidget* button = getProperty(name)->widget();
        button->setFont(font);
        button->setFixedWidth(kTabWidth);
    }
    updateProperty(kVenue, true);
}

void TabToolBarWidget::selectExclusively(const QString& name)
{
    updateBoundPropertyValue(name, true);
    for (const QString& other : {kVenue, kSpeaker, kReport})
        if (other != name)
            updateBoundPropertyValue(other, false);
}

void TabToolBarWidget::onPropertyEvent(BoundPropertyEvent event, const QString& propName,
                                       const QVariant& value)
{
    if (event != BoundPropertyEvent::ValueChanged)
        return;
    // The menu button opens its menu; it never becomes the selected tab.
    if (propName != kMenu)
        selectExclusively(propName);
    BoundPropertiesGrid::onPropertyEvent(event, propName, value);
}

void TabToolBarWidget::updateProperty(const QString& name, const QVariant& value)
{
    selectExclusively(name);
    BoundPropertiesGrid::updateProperty(name, true);
    (void)value;
}

void TabToolBarWidget::themeChanged(const int& theme)
{
    const bool light = theme == 1;
    widget()->setStyleSheet(makeStyleSheetRule(
        QStringLiteral("QFrame"),
        {{QStringLiteral("background-color"), light ? QStringLiteral("#FFFFFF") : QStringLiteral("#000000")},
         {QStringLiteral("font-family"), QStringLiteral("\"Gotham Bold\"")}}));
    for (QFrame* separator : separators)
        separator->setStyleSheet(makeStyleSheetRule(QStringLiteral("QFrame"),
                                                    {{QStringLiteral("color"), QStringLiteral("#777777")}}));
    BoundPropertiesGrid::themeChanged(theme);
}
} // namespace zorvpro
