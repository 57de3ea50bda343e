#pragma once

class QFrame;
class QHBoxLayout;
class QLabel;
class QVBoxLayout;
class QWidget;

namespace zorvpro
{
class MyPropertyButton;
class OpenFileButton;

// The start page's widget tree, with the object names the style rules use.
class DashboardForm
{
public:
    void setupUi(QWidget* page);
    void retranslateUi(QWidget* page);

    QHBoxLayout* horizontalLayout_3 = nullptr;
    QVBoxLayout* verticalLayout_4 = nullptr;
    QFrame* framePropertiesFrame = nullptr;
    QVBoxLayout* verticalLayout_3 = nullptr;
    QLabel* createProjlabel = nullptr;
    QHBoxLayout* horizontalLayout_2 = nullptr;
    QFrame* projPrefFrame = nullptr;
    QFrame* appSettingsFrame = nullptr;
    QFrame* frameOpenPrjectContainer1 = nullptr;
    QVBoxLayout* verticalLayout_2 = nullptr;
    QLabel* openProjLabel = nullptr;
    QFrame* frameOpenProjectContainer2 = nullptr;
    QHBoxLayout* horizontalLayout = nullptr;
    QFrame* existingProjFrame = nullptr;
    QHBoxLayout* horizontalLayout_4 = nullptr;
    OpenFileButton* openDocButton = nullptr;
    OpenFileButton* recDoc1Button = nullptr;
    OpenFileButton* recDoc2Button = nullptr;
    OpenFileButton* recDoc3Button = nullptr;
    OpenFileButton* recDoc4Button = nullptr;
    QFrame* verticalFrame = nullptr;
    QVBoxLayout* verticalLayout = nullptr;
    MyPropertyButton* continueButton = nullptr;
};
} // namespace zorvpro
