#pragma once

class QFrame;
class QGridLayout;
class QMainWindow;
class QStackedWidget;
class QToolBar;
class QVBoxLayout;
class QWidget;

namespace zorvpro
{
// The main window's widget tree; the names are used by style sheets and by
// the automation interface.
struct MainWindowUi
{
    QWidget* centralWidget = nullptr;
    QVBoxLayout* verticalLayout = nullptr;
    QFrame* toolbarFrame = nullptr;
    QGridLayout* gridLayout = nullptr;
    QStackedWidget* stackedWidget = nullptr;
    QFrame* frameBottomBorder = nullptr;
    QToolBar* mainToolBar = nullptr;

    void setupUi(QMainWindow* window);
};
} // namespace zorvpro
