#pragma once

class QDialog;
class QGroupBox;
class QHBoxLayout;
class QListWidget;
class QPushButton;
class QVBoxLayout;

namespace zorvpro
{
// The widgets of the log window, named as style rules and automation find them.
struct DiagnosticDialogUi
{
    QVBoxLayout* verticalLayout = nullptr;
    QGroupBox* groupBox = nullptr;
    QHBoxLayout* horizontalLayout = nullptr;
    QListWidget* lstLogMessages = nullptr;
    QVBoxLayout* verticalLayout_2 = nullptr;
    QPushButton* btnPause = nullptr;
    QPushButton* btnCopy = nullptr;
    QPushButton* btnClear = nullptr;
    QHBoxLayout* horizontalLayout_2 = nullptr;
    QPushButton* btnClose = nullptr;

    // Builds the widgets into the dialog, which owns them from then on.
    void setupUi(QDialog* dialog);
    void retranslateUi(QDialog* dialog);
};
} // namespace zorvpro
