#include "views/Dashboard/DiagnosticDialog.h"
#include "core/Logger/OmbraxLogger.h"
#include "data/Settings/AppSettings.h"
#include "views/Adapters/Theme/AppThemeAdapter.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>

namespace zorvpro
{
namespace
{
// Sees every line the logger hands out, queued onto the GUI thread like the
// window; once it has seen a line, the window has had its copy too.
class LineProbe : public QObject
{
public:
    LineProbe()
    {
        OmbraxLogger::RegisterListener(OmbraxLogger::Instance());
        connect(
            OmbraxLogger::Instance(), &OmbraxLogger::logEventRx, this,
            [this](const QString& line) { seen << line; }, Qt::QueuedConnection);
    }

    bool Log(const QString& text)
    {
        const int from = seen.size();
        OmbraxLogger::Log(LogLevel::Error, text);
        return WaitForWritten(text, from);
    }

    bool WaitForWritten(const QString& text, int from = 0)
    {
        const bool written = QTest::qWaitFor(
            [&]
            {
                return std::any_of(seen.begin() + from, seen.end(),
                                   [&](const QString& line) { return line.endsWith(text); });
            });
        QCoreApplication::processEvents();
        return written;
    }

    QStringList seen;
};

struct LogWindow
{
    bool Show()
    {
        dialog.show();
        return QTest::qWaitForWindowExposed(&dialog);
    }

    QPushButton* Button(const char* name) const { return dialog.findChild<QPushButton*>(name); }

    // The rows without the writer's time and level prefix.
    QStringList Texts() const
    {
        QStringList texts;
        for (int row = 0; row < list->count(); ++row)
            texts << list->item(row)->text().section("): ", 1);
        return texts;
    }

    DiagnosticDialog dialog;
    QListWidget* list = dialog.findChild<QListWidget*>("lstLogMessages");
};

TEST(LogWindow, BuiltAsNamedAndNeverEndsTheApplication)
{
    LogWindow window;
    EXPECT_EQ(window.dialog.objectName(), "zorvpro__DiagnosticDialog");
    EXPECT_EQ(window.dialog.windowTitle(), "Diagnostics");
    EXPECT_EQ(window.dialog.size(), QSize(864, 537));
    ASSERT_NE(window.list, nullptr);
    EXPECT_EQ(window.list->font().family(), "Courier New");
    EXPECT_EQ(window.dialog.findChild<QGroupBox*>("groupBox")->title(), "Log Messages");
    EXPECT_EQ(window.Button("btnPause")->text(), "Pause");
    EXPECT_FALSE(window.Button("btnCopy")->isEnabled());
    EXPECT_FALSE(window.Button("btnClear")->isEnabled());

    // Closed by its title bar as the last window, inside the application's
    // own loop, it neither quits nor announces the last window gone.
    QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);
    ASSERT_TRUE(window.Show());
    QTimer::singleShot(0, &window.dialog,
                       [&]
                       {
                           window.dialog.close();
                           QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(42); });
                       });
    EXPECT_EQ(QCoreApplication::exec(), 42);
    EXPECT_FALSE(window.dialog.isVisible());
    EXPECT_EQ(lastClosed.count(), 0);
}

TEST(LogWindow, LinesWhileShownAndRunningOnlyNewestFirstOncePerLine)
{
    LineProbe probe;
    LogWindow window;
    ASSERT_TRUE(probe.Log("before the first showing"));
    // Shown and hidden many times, or shown while shown: still one connection.
    for (int cycle = 0; cycle < 3; ++cycle)
    {
        ASSERT_TRUE(window.Show());
        window.dialog.hide();
    }
    ASSERT_TRUE(window.Show());
    ASSERT_TRUE(window.Show());
    ASSERT_TRUE(probe.Log("first"));
    ASSERT_TRUE(probe.Log("second"));
    EXPECT_EQ(window.Texts(), (QStringList{"second", "first"}));

    // Close and Escape hide and keep the rows; nothing logged meanwhile appears.
    QTest::mouseClick(window.Button("btnClose"), Qt::LeftButton);
    ASSERT_TRUE(probe.Log("while hidden"));
    ASSERT_TRUE(window.Show());
    ASSERT_TRUE(probe.Log("third"));
    QTest::keyClick(&window.dialog, Qt::Key_Escape);
    EXPECT_FALSE(window.dialog.isVisible());
    ASSERT_TRUE(probe.Log("after escape"));
    EXPECT_EQ(window.Texts(), (QStringList{"third", "second", "first"}));
}

// Saves a screenshot of the window in the current theme and checks its background.
void CheckLook(QWidget& window, const char* file, const char* background)
{
    const QString folder = QCoreApplication::applicationDirPath() + "/screenshots";
    const QImage image = window.grab().toImage();
    EXPECT_TRUE(QDir().mkpath(folder) && image.save(folder + "/" + file));
    EXPECT_EQ(image.pixelColor(2, image.height() - 2), QColor(background)) << file;
}

TEST(LogWindow, PauseDropsLinesAndOffersCopyAndClear)
{
    LineProbe probe;
    AppThemeAdapter::instance()->configure(qApp);
    LogWindow window;
    QPushButton *pause = window.Button("btnPause"), *copy = window.Button("btnCopy");
    QClipboard* clipboard = QApplication::clipboard();
    ASSERT_TRUE(window.Show());
    clipboard->setText("stale");
    ASSERT_TRUE(probe.Log("Loaded 3 loudspeaker data sets"));
    ASSERT_TRUE(probe.Log("Calculation finished in 412 ms"));
    QTest::mouseClick(copy, Qt::LeftButton);
    EXPECT_EQ(clipboard->text(), "stale") << "Copy works only while paused";

    QTest::mouseClick(pause, Qt::LeftButton);
    EXPECT_EQ(pause->text(), "Resume");
    EXPECT_TRUE(copy->isEnabled() && window.Button("btnClear")->isEnabled());
    ASSERT_TRUE(probe.Log("while paused"));
    QTest::mouseClick(copy, Qt::LeftButton);
    EXPECT_EQ(clipboard->text(), window.list->item(0)->text() + "\n" + window.list->item(1)->text());
    EXPECT_TRUE(clipboard->text().endsWith("data sets"));
    CheckLook(window.dialog, "log_window_light.png", "#F8F8F8");
    AppSettings::Instance().GetUiSettings()->setTheme(UiTypes::UiTheme::Night);
    CheckLook(window.dialog, "log_window_dark.png", "#141414");

    // Hidden and shown again, still paused; Clear, then Copy gives no text.
    QTest::mouseClick(window.Button("btnClose"), Qt::LeftButton);
    ASSERT_TRUE(window.Show());
    EXPECT_EQ(pause->text(), "Resume");
    QTest::mouseClick(window.Button("btnClear"), Qt::LeftButton);
    QTest::mouseClick(copy, Qt::LeftButton);
    EXPECT_EQ(clipboard->text(), "");

    QTest::mouseClick(pause, Qt::LeftButton);
    EXPECT_FALSE(copy->isEnabled() || window.Button("btnClear")->isEnabled());
    ASSERT_TRUE(probe.Log("resumed"));
    EXPECT_EQ(window.Texts(), (QStringList{"resumed"}));
}

TEST(LogWindow, KeepsTheNewest5000LinesFromAnyThreadOnTheGuiThread)
{
    LineProbe probe;
    LogWindow window;
    ASSERT_TRUE(window.Show());
    std::atomic<int> offGuiInserts{0};
    QObject::connect(window.list->model(), &QAbstractItemModel::rowsInserted, window.list,
                     [&] { offGuiInserts += QThread::currentThread() != qApp->thread() ? 1 : 0; });
    std::thread(
        []
        {
            for (int i = 1; i <= 5001; ++i)
                OmbraxLogger::Log(LogLevel::Error, QString("line %1").arg(i));
        })
        .join();
    ASSERT_TRUE(probe.WaitForWritten("line 5001"));
    // Emitted from a thread of its own, as the writer thread emits.
    std::thread([] { emit OmbraxLogger::Instance()->logEventRx("straight from a thread"); }).join();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.list->item(0)->text() == "straight from a thread"; }));

    EXPECT_EQ(offGuiInserts.load(), 0);
    ASSERT_EQ(window.list->count(), 5000);
    EXPECT_TRUE(window.list->item(1)->text().endsWith("line 5001"));
    EXPECT_TRUE(window.list->item(4999)->text().endsWith("line 3"));
}

} // namespace
} // namespace zorvpro
