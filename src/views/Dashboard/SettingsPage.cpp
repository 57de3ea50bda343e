#include "views/Dashboard/SettingsPage.h"

#include "Utility/ApiChecker.h"
#include "core/Logger/OmbraxLogger.h"
#include "data/Settings/WindowPlacement.h"
#include "views/Common/StyleSheetRule.h"
#include "views/Dashboard/SettingsPageUi.h"
#include "views/GridControl/BindableProperty.h"
#include "views/GridControl/MyPropertyButton.h"
#include "views/Tabs/BaseComponents/ApplicationSettingsControl.h"
#include "views/Tabs/BaseComponents/ProjectPreferencesControl.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <stdexcept>

namespace zorvpro
{
namespace
{
constexpr int kWidth = 950;
constexpr int kHeight = 650;

void PutInto(QFrame* frame, QWidget* panel)
{
    auto* layout = new QHBoxLayout(frame);
    CheckAlloc(layout);
    layout->addWidget(panel);
}
} // namespace

SettingsPage::SettingsPage(QWidget* parent) : QDialog(parent)
{
    try
    {
        ui = std::make_unique<SettingsPageUi>();
        appSettings = std::make_unique<ApplicationSettingsControl>();
        projectPreferences = std::make_unique<ProjectPreferencesControl>();
        CheckAlloc(ui);
        CheckAlloc(appSettings);
        CheckAlloc(projectPreferences);
        ui->setupUi(this);
        PutInto(ui->projectPreferencesFrame, projectPreferences->widget());
        PutInto(ui->appSettingsFrame, appSettings->widget());

        setWindowFlags((windowFlags() | Qt::WindowCloseButtonHint) & ~Qt::WindowContextHelpButtonHint);
        setWindowTitle(tr("Settings"));
        setWindowModality(Qt::NonModal);
        setModal(false);
        setFixedSize(kWidth, kHeight);
        ui->buttonOk->setFixedSize(75, 30);
        connect(ui->buttonOk, &QPushButton::clicked, this, &QDialog::close);
    }
    catch (const std::exception& e)
    {
        OmbraxLogger::LogException(e, __FILE__, "SettingsPage", __LINE__);
        throw std::runtime_error(e.what());
    }
}

// The panels go before the dialog's own widgets; their frames know when a
// container deleted them first.
SettingsPage::~SettingsPage() = default;

ApplicationSettingsControl* SettingsPage::GetApplicationSettingsControl() const
{
    return appSettings.get();
}

ProjectPreferencesControl* SettingsPage::GetProjectPreferencesControl() const
{
    return projectPreferences.get();
}

void SettingsPage::setVisible(bool visible)
{
    QDialog::setVisible(visible);
    DeferWindowPlacement(this, visible);
    if (visible)
        projectPreferences->getProperty(QStringLiteral("ProjectVenue"))->setWidgetFocus(true);
}

void SettingsPage::keyPressEvent(QKeyEvent* event)
{
    switch (event->key())
    {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void SettingsPage::themeChanged(const int& theme)
{
    const bool light = theme == 1;
    ui->buttonOk->setStyleSheet(
        makeStyleSheetRule(QStringLiteral("QPushButton"),
                           {{QStringLiteral("border-radius"), QStringLiteral("15px")}}) +
        makeStyleSheetRule(QStringLiteral("QPushButton:pressed"),
                           {{QStringLiteral("border-style"), QStringLiteral("offset")},
                            {QStringLiteral("border-width"), QStringLiteral("4px")}}));
    ui->buttonOk->setFixedSize(75, 30);
    const QString frameRule = makeStyleSheetRule(
        QString(),
        {{QStringLiteral("background-color"), light ? QStringLiteral("#FFFFFF") : QStringLiteral("#000000")},
         {QStringLiteral("border"), QStringLiteral("none")}});
    ui->appSettingsFrame->setStyleSheet(frameRule);
    ui->projectPreferencesFrame->setStyleSheet(frameRule);
    appSettings->themeChanged(theme);
    projectPreferences->themeChanged(theme);
}

QSize SettingsPage::sizeHint() const
{
    return QSize(kWidth, kHeight);
}
} // namespace zorvpro
