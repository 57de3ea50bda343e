#pragma once

#include <QCoreApplication>

class QFrame;
class QGridLayout;
class QHBoxLayout;
class QTableView;
class QVBoxLayout;
class QWidget;

namespace zorvpro
{
class MyPropertyButton;

// The report page's widget tree, object names as the style rules and the
// automation interface expect them.
class BillOfMaterialsTabForm
{
public:
    void setupUi(QWidget* page);
    void retranslateUi(QWidget* page);

    QGridLayout* gridLayout = nullptr;
    QFrame* bomContentFrame = nullptr;
    QVBoxLayout* verticalLayout = nullptr;
    QFrame* optionsFrame = nullptr;
    QHBoxLayout* horizontalLayout = nullptr;
    MyPropertyButton* buttonCopy = nullptr;
    MyPropertyButton* buttonPreview = nullptr;
    QTableView* tableBomInfo = nullptr;
};
} // namespace zorvpro
