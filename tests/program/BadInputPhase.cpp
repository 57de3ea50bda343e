#include "BadInputPhase.h"

#include "ProgramTestEnv.h"
#include "UserHands.h"
#include "views/Shell/MainWindow.h"
#include "views/Shell/Startup.h"

#include <QApplication>
#include <QMessageBox>
#include <QSplashScreen>
#include <QTableWidget>
#include <QTest>
#include <cstdio>

namespace zorvpro::programtest
{
namespace
{
void Check(bool ok, const char* what)
{
    PhaseCheck("bad-input", ok, what);
}
} // namespace

int RunBadInputPhase(const QString& folder, int argc, char** argv)
{
    setenv("QT_SCALE_FACTOR", "1", 1);
    const int code = RunProgram(
        argc, argv,
        [&folder](ProgramStart& start)
        {
            const QString named = QCoreApplication::arguments().value(1);
            MainWindow* window = nullptr;
            QString text, detail;
            bool splashShown = true;
            const QString answered =
                AnswerModal([&] { window = start.Start(); },
                            [&](QWidget* modal)
                            {
                                splashShown = false;
                                for (QWidget* top : QApplication::topLevelWidgets())
                                    if (qobject_cast<QSplashScreen*>(top) && top->isVisible())
                                        splashShown = true;
                                if (auto* box = qobject_cast<QMessageBox*>(modal))
                                {
                                    text = box->text();
                                    detail = box->informativeText();
                                }
                                PressButton(QStringLiteral("OK"))(modal);
                            });
            Check(answered == QStringLiteral("File Load Error"), "a File Load Error box");
            Check(text == QStringLiteral("The file could not be loaded."), "the load error's text");
            Check(!named.isEmpty() && detail.contains(named), "the box names the file");
            Check(!splashShown, "the splash gone before the box");
            SetWindowForPhase(window, folder);
            Check(window != nullptr && window->currentPage() == 0, "the start page, no project");
            if (window != nullptr)
            {
                // The readable data set still gives its array.
                StartOnSpeakerTab();
                QTest::mouseClick(Shown("Toolbar_AddEntity"), Qt::LeftButton);
                Check(QTest::qWaitFor([] { return ArrayList()->rowCount() == 1; }, kDeadline),
                      "an array added");
            }
            SetWindowForPhase(nullptr, folder);
            return 0;
        });
    return PhaseFailures() == 0 ? code : 1;
}
} // namespace zorvpro::programtest
