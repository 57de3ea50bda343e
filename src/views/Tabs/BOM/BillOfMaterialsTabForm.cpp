#include "views/Tabs/BOM/BillOfMaterialsTabForm.h"

#include "views/GridControl/MyPropertyButton.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QSpacerItem>
#include <QTableView>
#include <QVBoxLayout>

namespace zorvpro
{
void BillOfMaterialsTabForm::setupUi(QWidget* page)
{
    if (page->objectName().isEmpty())
        page->setObjectName(QStringLiteral("zorvpro__BillOfMaterialsTab"));
    page->resize(900, 842);
    page->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);

    gridLayout = new QGridLayout(page);
    gridLayout->setObjectName(QStringLiteral("gridLayout"));
    gridLayout->setSpacing(0);
    gridLayout->setContentsMargins(0, 0, 0, 0);
    bomContentFrame = new QFrame(page);
    bomContentFrame->setObjectName(QStringLiteral("bomContentFrame"));
    gridLayout->addWidget(bomContentFrame, 0, 0);

    verticalLayout = new QVBoxLayout(bomContentFrame);
    verticalLayout->setObjectName(QStringLiteral("verticalLayout"));
    verticalLayout->setSpacing(25);
    verticalLayout->setContentsMargins(25, 20, 25, 5);

    optionsFrame = new QFrame(bomContentFrame);
    optionsFrame->setObjectName(QStringLiteral("optionsFrame"));
    horizontalLayout = new QHBoxLayout(optionsFrame);
    horizontalLayout->setObjectName(QStringLiteral("horizontalLayout"));
    horizontalLayout->setSpacing(0);
    horizontalLayout->setContentsMargins(0, 0, 0, 0);
    horizontalLayout->addItem(new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));
    buttonCopy = new MyPropertyButton(optionsFrame);
    buttonCopy->setObjectName(QStringLiteral("buttonCopy"));
    horizontalLayout->addWidget(buttonCopy);
    horizontalLayout->addItem(new QSpacerItem(20, 0, QSizePolicy::Minimum, QSizePolicy::Minimum));
    buttonPreview = new MyPropertyButton(optionsFrame);
    buttonPreview->setObjectName(QStringLiteral("buttonPreview"));
    horizontalLayout->addWidget(buttonPreview);
    verticalLayout->addWidget(optionsFrame);

    tableBomInfo = new QTableView(bomContentFrame);
    tableBomInfo->setObjectName(QStringLiteral("tableBomInfo"));
    tableBomInfo->setMinimumHeight(629);
    verticalLayout->addWidget(tableBomInfo);
    verticalLayout->addItem(new QSpacerItem(20, 40, QSizePolicy::Minimum, QSizePolicy::Expanding));

    QWidget::setTabOrder(buttonCopy, buttonPreview);
    QWidget::setTabOrder(buttonPreview, tableBomInfo);
    retranslateUi(page);
}

void BillOfMaterialsTabForm::retranslateUi(QWidget* page)
{
    const char* context = "zorvpro::BillOfMaterialsTab";
    page->setWindowTitle(QCoreApplication::translate(context, "Form"));
    buttonCopy->setText(QCoreApplication::translate(context, "Copy to Excel"));
    buttonPreview->setText(QCoreApplication::translate(context, "Preview"));
}
} // namespace zorvpro
