#include "views/Dashboard/DiagnosticDialogUi.h"

#include <QCoreApplication>
#include <QDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QSpacerItem>
#include <QVBoxLayout>

namespace zorvpro
{
namespace
{
QPushButton* MakeButton(const char* name, QWidget* parent)
{
    auto* button = new QPushButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}
} // namespace

void DiagnosticDialogUi::setupUi(QDialog* dialog)
{
    if (dialog->objectName().isEmpty())
        dialog->setObjectName(QStringLiteral("zorvpro__DiagnosticDialog"));
    dialog->resize(864, 537);

    verticalLayout = new QVBoxLayout(dialog);
    verticalLayout->setObjectName(QStringLiteral("verticalLayout"));

    groupBox = new QGroupBox(dialog);
    groupBox->setObjectName(QStringLiteral("groupBox"));
    QFont bold;
    bold.setBold(true);
    bold.setWeight(75);
    groupBox->setFont(bold);
    groupBox->setFlat(false);
    groupBox->setCheckable(false);

    horizontalLayout = new QHBoxLayout(groupBox);
    horizontalLayout->setObjectName(QStringLiteral("horizontalLayout"));
    lstLogMessages = new QListWidget(groupBox);
    lstLogMessages->setObjectName(QStringLiteral("lstLogMessages"));
    QFont fixed;
    fixed.setFamily(QStringLiteral("Courier New"));
    fixed.setPointSize(12);
    fixed.setBold(false);
    fixed.setWeight(50);
    lstLogMessages->setFont(fixed);
    // Rows are plain lines of one height: the list never measures them one by one.
    lstLogMessages->setUniformItemSizes(true);
    horizontalLayout->addWidget(lstLogMessages);

    verticalLayout_2 = new QVBoxLayout();
    verticalLayout_2->setObjectName(QStringLiteral("verticalLayout_2"));
    btnPause = MakeButton("btnPause", groupBox);
    btnCopy = MakeButton("btnCopy", groupBox);
    btnClear = MakeButton("btnClear", groupBox);
    verticalLayout_2->addWidget(btnPause);
    verticalLayout_2->addWidget(btnCopy);
    verticalLayout_2->addWidget(btnClear);
    verticalLayout_2->addItem(new QSpacerItem(20, 40, QSizePolicy::Minimum, QSizePolicy::Expanding));
    horizontalLayout->addLayout(verticalLayout_2);
    verticalLayout->addWidget(groupBox);

    horizontalLayout_2 = new QHBoxLayout();
    horizontalLayout_2->setObjectName(QStringLiteral("horizontalLayout_2"));
    horizontalLayout_2->addItem(new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));
    btnClose = MakeButton("btnClose", dialog);
    horizontalLayout_2->addWidget(btnClose);
    verticalLayout->addLayout(horizontalLayout_2);

    retranslateUi(dialog);
}

void DiagnosticDialogUi::retranslateUi(QDialog* dialog)
{
    const char* context = "zorvpro::DiagnosticDialog";
    dialog->setWindowTitle(QCoreApplication::translate(context, "Diagnostics"));
    groupBox->setTitle(QCoreApplication::translate(context, "Log Messages"));
    btnPause->setText(QCoreApplication::translate(context, "Pause"));
    btnCopy->setText(QCoreApplication::translate(context, "Copy"));
    btnClear->setText(QCoreApplication::translate(context, "Clear"));
    btnClose->setText(QCoreApplication::translate(context, "Close"));
}
} // namespace zorvpro
