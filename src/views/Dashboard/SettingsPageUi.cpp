#include "views/Dashboard/SettingsPageUi.h"

#include <QCoreApplication>
#include <QDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSpacerItem>
#include <QVBoxLayout>

namespace zorvpro
{
namespace
{
QFrame* MakeFrame(const char* name, QWidget* parent, QSizePolicy::Policy horizontal,
                  QSizePolicy::Policy vertical)
{
    auto* frame = new QFrame(parent);
    frame->setObjectName(QString::fromLatin1(name));
    frame->setSizePolicy(horizontal, vertical);
    frame->setFrameShape(QFrame::NoFrame);
    frame->setFrameShadow(QFrame::Sunken);
    return frame;
}
} // namespace

void SettingsPageUi::setupUi(QDialog* dialog)
{
    if (dialog->objectName().isEmpty())
        dialog->setObjectName(QStringLiteral("zorvpro__SettingsPage"));
    dialog->resize(950, 650);
    dialog->setMinimumSize(950, 650);
    dialog->setMaximumSize(950, 650);
    dialog->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    dialog->setContextMenuPolicy(Qt::DefaultContextMenu);

    verticalLayout = new QVBoxLayout(dialog);
    verticalLayout->setObjectName(QStringLiteral("verticalLayout"));
    horizontalLayout = new QHBoxLayout();
    horizontalLayout->setObjectName(QStringLiteral("horizontalLayout"));
    projectPreferencesFrame =
        MakeFrame("projectPreferencesFrame", dialog, QSizePolicy::Expanding, QSizePolicy::Preferred);
    appSettingsFrame = MakeFrame("appSettingsFrame", dialog, QSizePolicy::Fixed, QSizePolicy::Preferred);
    appSettingsFrame->setMinimumWidth(260);
    horizontalLayout->addWidget(projectPreferencesFrame);
    horizontalLayout->addWidget(appSettingsFrame);
    verticalLayout->addLayout(horizontalLayout);

    okButtonFrame = MakeFrame("okButtonFrame", dialog, QSizePolicy::Preferred, QSizePolicy::Fixed);
    horizontalLayout_4 = new QHBoxLayout(okButtonFrame);
    horizontalLayout_4->setObjectName(QStringLiteral("horizontalLayout_4"));
    horizontalLayout_4->addItem(new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));
    buttonOk = new QPushButton(okButtonFrame);
    buttonOk->setObjectName(QStringLiteral("buttonOk"));
    buttonOk->setDefault(false);
    buttonOk->setAutoDefault(false);
    buttonOk->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    buttonOk->setFixedSize(75, 30);
    horizontalLayout_4->addWidget(buttonOk);
    horizontalLayout_4->addItem(new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));
    verticalLayout->addWidget(okButtonFrame);

    dialog->setWindowTitle(QCoreApplication::translate("zorvpro::SettingsPage", "Form"));
    buttonOk->setText(QCoreApplication::translate("zorvpro::SettingsPage", "Close"));
}
} // namespace zorvpro
