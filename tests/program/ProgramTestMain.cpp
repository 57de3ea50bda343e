// GoogleTest entry point of the program suite: one real main window under the
// X server, started as main starts it.
#include "ProgramTestEnv.h"

#include "BadInputPhase.h"
#include "EndToEndPhases.h"
#include "OpenedProjectPhase.h"

#include "views/Shell/MainWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <vector>

namespace zorvpro::programtest
{
namespace
{
MainWindow* g_window = nullptr;
QString g_home;
int g_phaseFailures = 0;
} // namespace

void PhaseCheck(const char* phase, bool ok, const char* what)
{
    if (!ok)
    {
        ++g_phaseFailures;
        std::fprintf(stderr, "%s check failed: %s\n", phase, what);
    }
}

int PhaseFailures()
{
    return g_phaseFailures;
}

MainWindow* Window()
{
    return g_window;
}

void SetWindowForPhase(MainWindow* window, const QString& home)
{
    g_window = window;
    g_home = home;
}

QString Home()
{
    return g_home;
}

QString Documents()
{
    return g_home + QStringLiteral("/Documents");
}

std::function<void(QWidget*)> PressButton(const QString& text)
{
    return [text](QWidget* modal)
    {
        if (text.isEmpty())
        {
            QTest::keyClick(modal, Qt::Key_Escape);
            return;
        }
        for (QAbstractButton* button : modal->findChildren<QAbstractButton*>())
            if (button->text().remove(QLatin1Char('&')) == text)
            {
                button->click();
                return;
            }
        ADD_FAILURE() << "no button " << text.toStdString() << " in " << modal->windowTitle().toStdString();
        modal->close();
    };
}
} // namespace zorvpro::programtest

int main(int argc, char** argv)
{
    using namespace zorvpro;
    // "--phase <n>": one end-to-end run, in the folders the caller prepared (ZORV_E2E_ROOT). The
    // program sees the arguments a user would give it: the phase's own are taken out.
    if (argc >= 3 && std::strcmp(argv[1], "--phase") == 0)
    {
        const int phase = std::atoi(argv[2]);
        std::vector<char*> arguments{argv[0]};
        arguments.insert(arguments.end(), argv + 3, argv + argc);
        int count = static_cast<int>(arguments.size());
        arguments.push_back(nullptr);
        const QString root = QString::fromLocal8Bit(std::getenv("ZORV_E2E_ROOT"));
        if (phase == 3)
            return programtest::RunBadInputPhase(root, count, arguments.data());
        if (phase == 4)
            return programtest::RunOpenedProjectPhase(root, count, arguments.data());
        return programtest::RunPhase(phase, root, count, arguments.data());
    }
    return windowtest::RunWindowSuite(argc, argv, {}, programtest::g_window, programtest::g_home);
}
