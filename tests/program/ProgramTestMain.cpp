// GoogleTest entry point of the program suite: one real main window under the
// X server, started as main starts it.
#include "ProgramTestEnv.h"

#include "BadInputPhase.h"
#include "EndToEndPhases.h"

#include "tools/datagen/Archive.h"
#include "tools/datagen/Models.h"
#include "views/Shell/MainWindow.h"
#include "views/Shell/Startup.h"
#include "views/ZorvApp.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
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
} // namespace

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
    EXPECT_TRUE(answered);
    return title;
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

bool MakeFolders(const QString& root)
{
    const QString speakers = root + QStringLiteral("/data/Zorv/Zorv Tessary/Loudspeakers");
    return QDir().mkpath(speakers) && QDir().mkpath(root + QStringLiteral("/config")) &&
           QDir().mkpath(root + QStringLiteral("/Documents")) &&
           datagen::WriteDataSet(juce::File(speakers.toStdString()), datagen::MakeArrayDataSet());
}

bool PrepareFolders(const QString& root)
{
    g_home = root;
    if (!MakeFolders(root))
        return false;
    setenv("HOME", root.toLocal8Bit().constData(), 1);
    setenv("XDG_DATA_HOME", (root + QStringLiteral("/data")).toLocal8Bit().constData(), 1);
    setenv("XDG_CONFIG_HOME", (root + QStringLiteral("/config")).toLocal8Bit().constData(), 1);
    setenv("XDG_CACHE_HOME", (root + QStringLiteral("/cache")).toLocal8Bit().constData(), 1);
    return true;
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
        return programtest::RunPhase(phase, root, count, arguments.data());
    }
    ::testing::InitGoogleTest(&argc, argv);
    // Listing needs no display: ctest discovers the tests before the X server runs.
    if (::testing::GTEST_FLAG(list_tests))
        return RUN_ALL_TESTS();
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "xcb", 0);
    setenv("QT_SCALE_FACTOR", "1", 1);

    QTemporaryDir root;
    if (!root.isValid() || !programtest::PrepareFolders(root.path()))
    {
        std::fprintf(stderr, "cannot prepare the test folders\n");
        return 1;
    }
    PrepareApplicationAttributes(argc, argv);
    ZorvApp::Create(argc, argv);
    ZorvApp* app = ZorvApp::Instance();
    if (app == nullptr)
    {
        std::fprintf(stderr, "no application object\n");
        return 1;
    }
    int result = 1;
    {
        ProgramStart start(*app);
        programtest::g_window = start.Start();
        result = RUN_ALL_TESTS();
        programtest::g_window = nullptr;
        start.Finish();
    }
    app->Shutdown();
    return result;
}
