#include "WindowTestSupport.h"

#include "tools/datagen/Archive.h"
#include "tools/datagen/Models.h"
#include "views/Shell/MainWindow.h"
#include "views/Shell/Startup.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace zorvpro::windowtest
{
bool MakeFolders(const QString& root)
{
    const QString speakers = root + QStringLiteral("/data/Zorv/Zorv Tessary/Loudspeakers");
    return QDir().mkpath(speakers) && QDir().mkpath(root + QStringLiteral("/config")) &&
           QDir().mkpath(root + QStringLiteral("/Documents")) &&
           datagen::WriteDataSet(juce::File(speakers.toStdString()), datagen::MakeArrayDataSet());
}

namespace
{
// The variables by which the program finds its folders, for folders below root.
std::vector<std::pair<const char*, QString>> FolderVariables(const QString& root)
{
    return {{"HOME", root},
            {"XDG_DATA_HOME", root + QStringLiteral("/data")},
            {"XDG_CONFIG_HOME", root + QStringLiteral("/config")},
            {"XDG_CACHE_HOME", root + QStringLiteral("/cache")}};
}
} // namespace

bool UseFolders(const QString& root)
{
    if (!MakeFolders(root))
        return false;
    for (const auto& [name, value] : FolderVariables(root))
        setenv(name, value.toLocal8Bit().constData(), 1);
    return true;
}

QProcessEnvironment FolderEnvironment(const QString& root)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const auto& [name, value] : FolderVariables(root))
        env.insert(QLatin1String(name), value);
    return env;
}

int RunWindowSuite(int argc, char** argv, const std::vector<const char*>& options, MainWindow*& window,
                   QString& home)
{
    ::testing::InitGoogleTest(&argc, argv);
    // Listing needs no display: ctest discovers the tests before the X server runs.
    if (::testing::GTEST_FLAG(list_tests))
        return RUN_ALL_TESTS();
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "xcb", 0);
    setenv("QT_SCALE_FACTOR", "1", 1);
    QTemporaryDir root;
    home = root.path();
    if (!root.isValid() || !UseFolders(home))
    {
        std::fprintf(stderr, "cannot prepare the test folders\n");
        return 1;
    }
    std::vector<char*> args{argv[0]};
    for (const char* option : options)
        args.push_back(const_cast<char*>(option));
    const int count = static_cast<int>(args.size());
    args.push_back(nullptr);
    return RunProgram(count, args.data(),
                      [&window](ProgramStart& start)
                      {
                          window = start.Start();
                          if (!QTest::qWaitForWindowExposed(window))
                              std::fprintf(stderr, "the main window was not shown\n");
                          const int result = RUN_ALL_TESTS();
                          window = nullptr;
                          return result;
                      });
}

bool Activate(QWidget* window)
{
    QWidget* w = window->window();
    QWindow* handle = w->windowHandle();
    if (handle == nullptr || !w->isVisible())
    {
        ADD_FAILURE() << w->windowTitle().toStdString() << " is not shown and cannot take the keys";
        return false;
    }
    const auto active = [&]
    { return QGuiApplication::focusWindow() == handle && QApplication::activeWindow() == w; };
    // Asked for only while Qt does not have it: a request for the window that has the focus moves
    // the keyboard focus out of the field that holds it, which commits what was typed there. A
    // request the server drops is made again.
    QDeadlineTimer again(0);
    const bool done = QTest::qWaitFor(
        [&]
        {
            if (active())
                return true;
            if (again.hasExpired())
            {
                w->raise();
                handle->requestActivate();
                again.setRemainingTime(250);
            }
            return false;
        },
        20000);
    // The focus left in a window closed since comes back to this one, as the desktop gives it.
    if (done && QApplication::focusWidget() != nullptr && QApplication::focusWidget()->window() != w)
        w->setFocus(Qt::ActiveWindowFocusReason);
    const QWindow* focus = QGuiApplication::focusWindow();
    EXPECT_TRUE(done) << w->windowTitle().toStdString() << " does not take the keys; Qt's focus is on "
                      << (focus != nullptr ? focus->objectName().toStdString() : std::string("no window"));
    return done;
}

QString AnswerModal(const std::function<void()>& action, const std::function<void(QWidget*)>& answer)
{
    QString title;
    bool answered = false;
    QTimer poll;
    const QDeadlineTimer deadline(20000);
    QObject::connect(&poll, &QTimer::timeout,
                     [&]
                     {
                         QWidget* modal = QApplication::activeModalWidget();
                         if (modal == nullptr || answered)
                         {
                             if (deadline.hasExpired() && !answered)
                             {
                                 poll.stop();
                                 ADD_FAILURE() << "no modal window opened";
                             }
                             return;
                         }
                         answered = true;
                         poll.stop();
                         title = modal->windowTitle();
                         answer(modal);
                     });
    poll.start(20);
    action();
    poll.stop();
    EXPECT_TRUE(answered) << "no modal window opened";
    return title;
}
} // namespace zorvpro::windowtest
