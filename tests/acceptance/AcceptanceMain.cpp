// GoogleTest entry point of the acceptance suite: one real main window under the X server, made
// by the start-up steps main runs, started with "--dx".
#include "AcceptanceEnv.h"
#include "ControlTable.h"

#include "views/Shell/MainWindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace zorvpro::acceptance
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

QString Home()
{
    return g_home;
}

QWidget* Find(const QString& name, QWidget* root)
{
    QWidget* from = root != nullptr ? root : static_cast<QWidget*>(g_window);
    for (QWidget* widget : from->findChildren<QWidget*>(name))
        if (widget->isVisible())
            return widget;
    return nullptr;
}

bool Click(const QString& name, QWidget* root)
{
    QWidget* widget = Find(name, root);
    if (widget == nullptr)
        return false;
    QTest::mouseClick(widget, Qt::LeftButton);
    return true;
}

QWidget* SpeakerFrame(const char* name)
{
    return g_window->findChild<QWidget*>(QStringLiteral("tabButtonSpeaker"))
        ->findChild<QWidget*>(QLatin1String(name));
}

void Type(QWidget* edit, const QString& text)
{
    auto* line = qobject_cast<QLineEdit*>(edit);
    ASSERT_NE(line, nullptr);
    ASSERT_TRUE(windowtest::Activate(line));
    QTest::mouseDClick(line, Qt::LeftButton);
    line->selectAll();
    QTest::keyClicks(line, text);
    QTest::keyClick(line, Qt::Key_Return);
}

QString Invoke(const char* method)
{
    QString result;
    QObject* processor = g_window->findChild<QObject*>(QStringLiteral("SquishCommandProcessor"));
    if (processor != nullptr)
        QMetaObject::invokeMethod(processor, method, Qt::DirectConnection, Q_RETURN_ARG(QString, result));
    return result;
}

void DiscardIfAsked(const std::function<void()>& action)
{
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout,
                     []
                     {
                         if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                             if (QAbstractButton* discard = box->button(QMessageBox::Discard))
                                 discard->click();
                     });
    poll.start(20);
    action();
    poll.stop();
}

namespace
{
// From wherever the last test left the window: "New Project" from the menu (dropping the changes
// when asked), then a new project from the start page.
void StartNewProject()
{
    if (Find(QStringLiteral("continueButton")) == nullptr)
    {
        QAction* newProject = g_window->findChild<QAction*>(QStringLiteral("actionNew"));
        ASSERT_NE(newProject, nullptr);
        DiscardIfAsked([newProject] { newProject->trigger(); });
    }
    ASSERT_TRUE(QTest::qWaitFor([] { return Find(QStringLiteral("continueButton")) != nullptr; }, 10000));
    ASSERT_TRUE(Click(QStringLiteral("continueButton")));
}
} // namespace

void NewProjectOnVenuePage()
{
    StartNewProject();
    if (::testing::Test::HasFatalFailure())
        return;
    ASSERT_TRUE(QTest::qWaitFor(
        [] { return Find(QStringLiteral("openGLPlan")) != nullptr && ListRows() == 1; }, 10000));
}

void NewProjectWithOneArray()
{
    StartNewProject();
    if (::testing::Test::HasFatalFailure())
        return;
    ASSERT_TRUE(Click(QStringLiteral("buttonSpeakerTab")));
    ASSERT_TRUE(QTest::qWaitFor(
        [] { return Find(QStringLiteral("Toolbar_AddEntity"), SpeakerFrame("planToolbarContainerFrame")); },
        10000));
    ASSERT_TRUE(Click(QStringLiteral("Toolbar_AddEntity"), SpeakerFrame("planToolbarContainerFrame")));
    ASSERT_TRUE(QTest::qWaitFor(
        []
        {
            auto* send = FindAs<QAbstractButton>(QStringLiteral("buttonSendToKVD"));
            return send != nullptr && send->isEnabled();
        },
        10000))
        << "one array is added and selected";
}
} // namespace zorvpro::acceptance

int main(int argc, char** argv)
{
    using namespace zorvpro;
    // The program's own command line, with the debug option a user can give.
    return windowtest::RunWindowSuite(argc, argv, {"--dx"}, acceptance::g_window, acceptance::g_home);
}
