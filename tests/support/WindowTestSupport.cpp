#include "WindowTestSupport.h"

#include "LoopWait.h"

#include "tools/datagen/Archive.h"
#include "tools/datagen/Models.h"
#include "views/Shell/MainWindow.h"
#include "views/Shell/Startup.h"

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>
#include <xcb/xcb.h>

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

namespace
{
// Follows the X focus as Qt's X platform reads it: focus events of the pointer kind are ignored,
// and a window losing the focus with no other taking it leaves a timer running that deactivates
// the application a moment later.
class FocusWatch : public QAbstractNativeEventFilter
{
public:
    bool nativeEventFilter(const QByteArray& type, void* message, long*) override
    {
        if (type != "xcb_generic_event_t")
            return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        const uint8_t kind = event->response_type & 0x7f;
        if (kind != XCB_FOCUS_IN && kind != XCB_FOCUS_OUT)
            return false;
        const auto* focus = reinterpret_cast<const xcb_focus_in_event_t*>(event);
        if (focus->detail == XCB_NOTIFY_DETAIL_POINTER)
            return false;
        focusIn = kind == XCB_FOCUS_IN;
        window = focus->event;
        return false;
    }
    // Whether the last focus event Qt takes gave the focus to that window.
    bool Holds(WId w) const { return focusIn && window == w; }

private:
    bool focusIn = false;
    WId window = 0;
};

FocusWatch& Watch()
{
    static FocusWatch* watch = []
    {
        auto* w = new FocusWatch;
        QCoreApplication::instance()->installNativeEventFilter(w);
        return w;
    }();
    return *watch;
}
} // namespace

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
    // A parent that starts the program more than once names the folder the starts share.
    QTemporaryDir root;
    const QString kept = qEnvironmentVariable(kKeptHomeVariable);
    home = kept.isEmpty() ? root.path() : kept;
    if ((kept.isEmpty() && !root.isValid()) || !UseFolders(home))
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
                          (void)Watch(); // from the first focus event on
                          window = start.Start();
                          if (!LoopWaitForExposed(window))
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
    // Qt may still name the window its focus after the X focus has gone (to the root, when a box
    // closed), until its timer deactivates the application: so the last focus event must have
    // gone to the window itself. Asked for only then: a request for the window that has the focus
    // moves the keyboard focus out of the field holding it, which commits what was typed there.
    const auto active = [&]
    {
        return Watch().Holds(handle->winId()) && QGuiApplication::focusWindow() == handle &&
               QApplication::activeWindow() == w;
    };
    // A request the server drops is made again.
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

bool ClickUntilFocused(QWidget* target, QWidget* holder, int deadlineMs)
{
    int held = 0;
    return QTest::qWaitFor(
        [&]
        {
            if (holder->hasFocus())
                return ++held >= 3;
            held = 0;
            QTest::mouseClick(target, Qt::LeftButton);
            return false;
        },
        deadlineMs);
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
