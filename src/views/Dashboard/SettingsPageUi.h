#pragma once

class QDialog;
class QFrame;
class QHBoxLayout;
class QPushButton;
class QVBoxLayout;

namespace zorvpro
{
// The widgets of the settings dialog, named as style rules and window
// placement find them.
struct SettingsPageUi
{
    QVBoxLayout* verticalLayout = nullptr;
    QHBoxLayout* horizontalLayout = nullptr;
    QFrame* projectPreferencesFrame = nullptr;
    QFrame* appSettingsFrame = nullptr;
    QFrame* okButtonFrame = nullptr;
    QHBoxLayout* horizontalLayout_4 = nullptr;
    QPushButton* buttonOk = nullptr;

    // Builds the widgets into the dialog, which owns them from then on.
    void setupUi(QDialog* dialog);
};
} // namespace zorvpro
