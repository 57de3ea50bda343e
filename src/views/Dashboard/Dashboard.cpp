#include "views/Dashboard/Dashboard.h"

#include "Utility/ApiChecker.h"
#include "core/Logger/OmbraxLogger.h"
#include "views/Common/StyleSheetRule.h"
#include "views/Dashboard/DashboardForm.h"
#include "views/Dashboard/OpenFileButton.h"
#include "views/GridControl/BindableProperty.h"
#include "views/GridControl/MyPropertyButton.h"
#include "views/Tabs/BaseComponents/ApplicationSettingsControl.h"
#include "views/Tabs/BaseComponents/ProjectPreferencesControl.h"

#include <QLabel>
#include <QLayout>
#include <QTimer>
#include <QVBoxLayout>
#include <stdexcept>

namespace zorvpro
{
Dashboard::Dashboard(QWidget* parent) : QWidget(parent)
{
    try
    {
        m_form = std::make_unique<DashboardForm>();
        m_appSettings = std::make_unique<ApplicationSettingsControl>();
        m_projectPreferences = std::make_unique<ProjectPreferencesControl>();
        CheckAlloc(m_form);
        m_form->setupUi(this);

        CheckAlloc(m_projectPreferences);
        auto* preferencesLayout = new QVBoxLayout(m_form->projPrefFrame);
        preferencesLayout->addWidget(m_projectPreferences->widget());

        CheckAlloc(m_appSettings);
        auto* settingsLayout = new QVBoxLayout(m_form->appSettingsFrame);
        settingsLayout->addWidget(m_appSettings->widget());
        if (QLayout* layout = m_appSettings->widget()->layout())
            layout->setAlignment(Qt::AlignCenter);

        m_form->continueButton->setMinimumSize(200, 40);
        connect(m_form->continueButton, &QPushButton::clicked, this, &Dashboard::onContinueButtonClicked);

        for (OpenFileButton* tile : {m_form->openDocButton, m_form->recDoc1Button, m_form->recDoc2Button,
                                     m_form->recDoc3Button, m_form->recDoc4Button})
        {
            CheckAlloc(tile);
            if (!m_tiles.empty())
                tile->setButtonType(OpenFileButton::RecentFile);
            m_tiles.push_back(tile);
            connect(tile, &OpenFileButton::onOpenFileButtonClicked, this,
                    [this](OpenFileButton::ButtonType, const QFileInfo& file)
                    {
                        // The open tile's empty file gives an empty path: ask for a file.
                        emit onOpenFileClicked(file.filePath().isEmpty() ? QString()
                                                                         : file.absoluteFilePath());
                    });
        }
    }
    catch (const std::exception& e)
    {
        OmbraxLogger::LogException(e, __FILE__, "Dashboard", __LINE__);
        throw std::runtime_error(e.what());
    }
}

Dashboard::~Dashboard()
{
    // The grids' frames are Qt children of the form's frames; the grids know
    // when their frame is already gone.
    m_appSettings.reset();
    m_projectPreferences.reset();
    m_form.reset();
    m_tiles.clear();
}

void Dashboard::setVisible(bool visible)
{
    QWidget::setVisible(visible);
    QTimer::singleShot(0, this,
                       [this]
                       {
                           BindableProperty* venue =
                               m_projectPreferences
                                   ? m_projectPreferences->getProperty(QStringLiteral("ProjectVenue"))
                                   : nullptr;
                           if (venue != nullptr)
                               venue->setWidgetFocus(true);
                       });
}

void Dashboard::updateRecentFiles(const QStringList& paths)
{
    int next = 0;
    for (OpenFileButton* tile : m_tiles)
    {
        if (tile->getButtonType() != OpenFileButton::RecentFile)
            continue;
        if (next < paths.size())
            tile->setFileInfo(QFileInfo(paths.at(next++)));
        else
            tile->setFileInfo(QFileInfo());
    }
}

void Dashboard::themeChanged(const int& theme)
{
    const bool light = theme == 1;
    auto pick = [light](const char* l, const char* d) { return QString::fromLatin1(light ? l : d); };
    const QString bg = QStringLiteral("background-color");
    const QString fg = QStringLiteral("color");

    m_form->continueButton->setStyleSheet(
        makeStyleSheetRule(QStringLiteral("QPushButton"),
                           {{bg, pick("#575757", "#cccccc")},
                            {QStringLiteral("border-radius"), QStringLiteral("20px")},
                            {fg, pick("#F8F8F8", "#000000")}}) +
        makeStyleSheetRule(QStringLiteral("QPushButton:hover"),
                           {{bg, pick("#242424", "#F8F8F8")}, {fg, pick("#FFFFFF", "#000000")}}) +
        makeStyleSheetRule(QStringLiteral("QPushButton:focus"),
                           {{QStringLiteral("border"), QStringLiteral("none")},
                            {QStringLiteral("outline"), pick("1px solid #000000", "1px solid #FFFFFF")},
                            {QStringLiteral("outline-radius"), QStringLiteral("18px")},
                            {QStringLiteral("outline-style"), QStringLiteral("outset")}}));

    const QString labelRule =
        makeStyleSheetRule(QStringLiteral("QLabel"), {{fg, QStringLiteral("#777777")},
                                                      {QStringLiteral("font-size"), QStringLiteral("20px")}});
    m_form->createProjlabel->setStyleSheet(labelRule);
    m_form->openProjLabel->setStyleSheet(labelRule);

    const QMap<QString, QString> frame = {{bg, pick("#FFFFFF", "#000000")},
                                          {QStringLiteral("border"), QStringLiteral("none")}};
    m_form->projPrefFrame->setStyleSheet(makeStyleSheetRule(QString(), frame));
    m_form->appSettingsFrame->setStyleSheet(makeStyleSheetRule(QString(), frame));
    m_form->existingProjFrame->setStyleSheet(makeStyleSheetRule(QStringLiteral("QFrame"), frame));

    m_appSettings->themeChanged(theme);
    m_projectPreferences->themeChanged(theme);
    for (OpenFileButton* tile : m_tiles)
        tile->themeChanged(theme);
}
} // namespace zorvpro
