#include "views/Dashboard/DashboardForm.h"

#include "views/Dashboard/OpenFileButton.h"
#include "views/GridControl/MyPropertyButton.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpacerItem>
#include <QVBoxLayout>

namespace zorvpro
{
namespace
{
QFont BoldFont(int points)
{
    QFont font;
    font.setFamily(QStringLiteral("Gotham Bold"));
    if (points > 0)
        font.setPointSize(points);
    return font;
}

QFrame* BoxFrame(QWidget* parent, const char* name)
{
    auto* frame = new QFrame(parent);
    frame->setObjectName(QString::fromLatin1(name));
    frame->setFrameShape(QFrame::Box);
    frame->setFrameShadow(QFrame::Sunken);
    frame->setFocusPolicy(Qt::NoFocus);
    return frame;
}

QSpacerItem* FixedHeight(int height)
{
    return new QSpacerItem(20, height, QSizePolicy::Minimum, QSizePolicy::Fixed);
}
} // namespace

void DashboardForm::setupUi(QWidget* page)
{
    if (page->objectName().isEmpty())
        page->setObjectName(QStringLiteral("zorvpro__Dashboard"));
    page->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    page->setMinimumSize(0, 0);

    horizontalLayout_3 = new QHBoxLayout(page);
    horizontalLayout_3->setObjectName(QStringLiteral("horizontalLayout_3"));
    horizontalLayout_3->addItem(new QSpacerItem(0, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));
    verticalLayout_4 = new QVBoxLayout();
    verticalLayout_4->setObjectName(QStringLiteral("verticalLayout_4"));
    horizontalLayout_3->addLayout(verticalLayout_4);
    horizontalLayout_3->addItem(new QSpacerItem(0, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));

    verticalLayout_4->addItem(FixedHeight(20));
    framePropertiesFrame = new QFrame(page);
    framePropertiesFrame->setObjectName(QStringLiteral("framePropertiesFrame"));
    verticalLayout_4->addWidget(framePropertiesFrame);
    verticalLayout_4->addItem(FixedHeight(10));
    frameOpenPrjectContainer1 = new QFrame(page);
    frameOpenPrjectContainer1->setObjectName(QStringLiteral("frameOpenPrjectContainer1"));
    verticalLayout_4->addWidget(frameOpenPrjectContainer1);
    verticalLayout_4->addItem(FixedHeight(35));

    verticalLayout_3 = new QVBoxLayout(framePropertiesFrame);
    verticalLayout_3->setObjectName(QStringLiteral("verticalLayout_3"));
    createProjlabel = new QLabel(framePropertiesFrame);
    createProjlabel->setObjectName(QStringLiteral("createProjlabel"));
    createProjlabel->setFont(BoldFont(18));
    createProjlabel->setMargin(0);
    createProjlabel->setMaximumHeight(30);
    verticalLayout_3->addWidget(createProjlabel);
    horizontalLayout_2 = new QHBoxLayout();
    horizontalLayout_2->setObjectName(QStringLiteral("horizontalLayout_2"));
    horizontalLayout_2->setContentsMargins(-1, 16, -1, -1);
    projPrefFrame = BoxFrame(framePropertiesFrame, "projPrefFrame");
    projPrefFrame->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    horizontalLayout_2->addWidget(projPrefFrame);
    appSettingsFrame = BoxFrame(framePropertiesFrame, "appSettingsFrame");
    appSettingsFrame->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    horizontalLayout_2->addWidget(appSettingsFrame);
    verticalLayout_3->addLayout(horizontalLayout_2);

    verticalLayout_2 = new QVBoxLayout(frameOpenPrjectContainer1);
    verticalLayout_2->setObjectName(QStringLiteral("verticalLayout_2"));
    openProjLabel = new QLabel(frameOpenPrjectContainer1);
    openProjLabel->setObjectName(QStringLiteral("openProjLabel"));
    openProjLabel->setFont(BoldFont(20));
    openProjLabel->setMaximumHeight(30);
    verticalLayout_2->addWidget(openProjLabel);
    frameOpenProjectContainer2 = new QFrame(frameOpenPrjectContainer1);
    frameOpenProjectContainer2->setObjectName(QStringLiteral("frameOpenProjectContainer2"));
    frameOpenProjectContainer2->setFont(BoldFont(0));
    frameOpenProjectContainer2->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    frameOpenProjectContainer2->setMaximumHeight(180);
    verticalLayout_2->addWidget(frameOpenProjectContainer2);

    horizontalLayout = new QHBoxLayout(frameOpenProjectContainer2);
    horizontalLayout->setObjectName(QStringLiteral("horizontalLayout"));
    horizontalLayout->setContentsMargins(0, -1, -1, -1);
    existingProjFrame = BoxFrame(frameOpenProjectContainer2, "existingProjFrame");
    existingProjFrame->setFixedSize(800, 160);
    existingProjFrame->setFont(BoldFont(0));
    horizontalLayout->addWidget(existingProjFrame);
    horizontalLayout->addItem(new QSpacerItem(200, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));
    verticalFrame = new QFrame(frameOpenProjectContainer2);
    verticalFrame->setObjectName(QStringLiteral("verticalFrame"));
    horizontalLayout->addWidget(verticalFrame, 0, Qt::AlignRight);

    horizontalLayout_4 = new QHBoxLayout(existingProjFrame);
    horizontalLayout_4->setObjectName(QStringLiteral("horizontalLayout_4"));
    horizontalLayout_4->setSpacing(10);
    horizontalLayout_4->setContentsMargins(10, 10, 10, 10);
    const std::pair<OpenFileButton**, const char*> tiles[] = {{&openDocButton, "openDocButton"},
                                                              {&recDoc1Button, "recDoc1Button"},
                                                              {&recDoc2Button, "recDoc2Button"},
                                                              {&recDoc3Button, "recDoc3Button"},
                                                              {&recDoc4Button, "recDoc4Button"}};
    for (const auto& [tile, name] : tiles)
    {
        *tile = new OpenFileButton(existingProjFrame);
        (*tile)->setObjectName(QString::fromLatin1(name));
        (*tile)->setFocusPolicy(Qt::TabFocus);
        (*tile)->setFrameShape(QFrame::Box);
        (*tile)->setFrameShadow(QFrame::Raised);
        horizontalLayout_4->addWidget(*tile);
    }
    openDocButton->setFont(BoldFont(0));

    verticalLayout = new QVBoxLayout(verticalFrame);
    verticalLayout->setObjectName(QStringLiteral("verticalLayout"));
    verticalLayout->setContentsMargins(-1, -1, 0, -1);
    continueButton = new MyPropertyButton(verticalFrame);
    continueButton->setObjectName(QStringLiteral("continueButton"));
    continueButton->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    continueButton->setMinimumWidth(40);
    continueButton->setCursor(Qt::PointingHandCursor);
    continueButton->setFlat(false);
    continueButton->setDefault(false);
    verticalLayout->addWidget(continueButton);
    verticalLayout->addItem(new QSpacerItem(20, 40, QSizePolicy::Minimum, QSizePolicy::Expanding));

    retranslateUi(page);
}

void DashboardForm::retranslateUi(QWidget* page)
{
    const char* context = "zorvpro::Dashboard";
    page->setWindowTitle(QString());
    createProjlabel->setText(QCoreApplication::translate(context, "Create New Project"));
    openProjLabel->setText(QCoreApplication::translate(context, "Open Existing Project"));
    continueButton->setText(QCoreApplication::translate(context, "Continue"));
}
} // namespace zorvpro
