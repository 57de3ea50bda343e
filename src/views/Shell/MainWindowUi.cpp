#include "views/Shell/MainWindowUi.h"

#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QIcon>
#include <QMainWindow>
#include <QStackedWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace zorvpro
{
namespace
{
QFrame* BorderFrame(const char* name, int height, QWidget* parent)
{
    auto* frame = new QFrame(parent);
    frame->setObjectName(QLatin1String(name));
    frame->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    frame->setMinimumSize(0, height);
    frame->setMaximumSize(16777215, height);
    frame->setFrameShape(QFrame::Box);
    frame->setFrameShadow(QFrame::Plain);
    return frame;
}
} // namespace

void MainWindowUi::setupUi(QMainWindow* window)
{
    if (window->objectName().isEmpty())
        window->setObjectName(QStringLiteral("zorvpro__MainWindow"));
    window->resize(1366, 768);
    window->setMinimumSize(1366, 768);
    window->setSizePolicy(QSizePolicy::MinimumExpanding, QSizePolicy::MinimumExpanding);
    window->setWindowIcon(QIcon(QStringLiteral(":/Resources/Icons/ZorvTessary.ico")));
    window->setStyleSheet(
        QStringLiteral("QSplitter::handle:horizontal {\nbackground: qlineargradient(x1:0, y1:0, "
                       "x2:1, y2:1,\n    stop:0 #eee, stop:1 #ccc);\nborder: 1px solid "
                       "#777;\nwidth: 13px;\nmargin-top: 2px;\nmargin-bottom: 2px;\nborder-radius: "
                       "4px;\n}"));

    centralWidget = new QWidget(window);
    centralWidget->setObjectName(QStringLiteral("centralWidget"));
    verticalLayout = new QVBoxLayout(centralWidget);
    verticalLayout->setObjectName(QStringLiteral("verticalLayout"));
    verticalLayout->setSpacing(0);
    verticalLayout->setContentsMargins(0, 0, 0, 0);

    toolbarFrame = BorderFrame("toolbarFrame", 60, centralWidget);
    verticalLayout->addWidget(toolbarFrame);

    gridLayout = new QGridLayout();
    gridLayout->setObjectName(QStringLiteral("gridLayout"));
    gridLayout->setSpacing(6);
    const int top = gridLayout->contentsMargins().top();
    gridLayout->setContentsMargins(10, top, 10, 0);
    stackedWidget = new QStackedWidget(centralWidget);
    stackedWidget->setObjectName(QStringLiteral("stackedWidget"));
    stackedWidget->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    stackedWidget->setFrameShape(QFrame::Box);
    gridLayout->addWidget(stackedWidget, 0, 0);
    verticalLayout->addLayout(gridLayout);

    frameBottomBorder = BorderFrame("frameBottomBorder", 8, centralWidget);
    verticalLayout->addWidget(frameBottomBorder);
    window->setCentralWidget(centralWidget);

    mainToolBar = new QToolBar(window);
    mainToolBar->setObjectName(QStringLiteral("mainToolBar"));
    mainToolBar->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    QFont font = mainToolBar->font();
    font.setPointSize(16);
    mainToolBar->setFont(font);
    mainToolBar->setContextMenuPolicy(Qt::PreventContextMenu);
    mainToolBar->setMovable(false);
    mainToolBar->setFloatable(false);
    mainToolBar->setAllowedAreas(Qt::RightToolBarArea | Qt::TopToolBarArea);
    window->addToolBar(Qt::TopToolBarArea, mainToolBar);
    mainToolBar->addSeparator();

    window->setWindowTitle(QCoreApplication::translate("MainWindow", "Zorv Tessary"));
}
} // namespace zorvpro
