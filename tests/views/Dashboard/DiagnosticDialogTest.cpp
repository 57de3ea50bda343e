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
// window; once it has seen a line, the window's copy is at most one event away.
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

    // Logs a line from this thread and waits until the logger has written it.
    bool Log(const QString& text)
    {
        const int from = seen.size();
        OmbraxLogger::Log(LogLevel::Error, text);
        return WaitForWritten(text, from);
    }

    // Waits for a line ending in text among those seen from index from on.
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
    LogWindow()
    {
        list = dialog.findChild<QListWidget*>("lstLogMessages");
        pause = dialog.findChild<QPushButton*>("btnPause");
        copy = dialog.findChild<QPushButton*>("btnCopy");
        clear = dialog.findChild<QPushButton*>("btnClear");
        close = dialog.findChild<QPushButton*>("btnClose");
    }

    bool Show()
    {
        dialog.show();
        return QTest::qWaitForWindowExposed(&dialog);
    }

    QStringList Rows() const
    {
        QStringList rows;
        for (int row = 0; row < list->count(); ++row)
            rows << list->item(row)->text();
        return rows;
    }

    // The tail of each row, without the writer's time and level prefix.
    QStringList Texts() const
    {
        QStringList texts;
        for (const QString& row : Rows())
            texts << row.mid(row.indexOf("): ") + 3);
        return texts;
    }

    DiagnosticDialog dialog;
    QListWidget* list;
    QPushButton *pause, *copy, *clear, *close;
};

TEST(LogWindow, BuiltAsNamedAndNeverEndsTheApplication)
{
    LogWindow window;
    DiagnosticDialog& dialog = window.dialog;
    EXPECT_EQ(dialog.objectName(), "zorvpro__DiagnosticDialog");
    EXPECT_EQ(dialog.windowTitle(), "Diagnostics");
    EXPECT_EQ(dialog.size(), QSize(864, 537));
    ASSERT_TRUE(window.list && window.pause && window.copy && window.clear && window.close);
    EXPECT_EQ(window.list->font().family(), "Courier New");
    EXPECT_EQ(window.list->font().pointSize(), 12);
    auto* group = dialog.findChild<QGroupBox*>("groupBox");
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->title(), "Log Messages");
    EXPECT_EQ(group->font().weight(), 75);
    EXPECT_EQ(window.pause->text(), "Pause");
    EXPECT_FALSE(window.copy->isEnabled());
    EXPECT_FALSE(window.clear->isEnabled());

    // Closed by its title bar as the last window, inside the application's
    // own loop, it neither quits nor announces the last window gone.
    QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);
    ASSERT_TRUE(window.Show());
    QTimer::singleShot(0, &dialog,
                       [&]
                       {
                           dialog.close();
                           QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(42); });
                       });
    EXPECT_EQ(QCoreApplication::exec(), 42);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(lastClosed.count(), 0);
}

TEST(LogWindow, LinesWhileShownAndRunningOnlyNewestFirstOncePerLine)
{
    LineProbe probe;
    LogWindow window;
    ASSERT_TRUE(probe.Log("before the first showing"));
    // Showing and hiding many times, or showing a shown window, never connects twice.
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

    // Close hides and keeps the rows; nothing logged meanwhile appears.
    QTest::mouseClick(window.close, Qt::LeftButton);
    EXPECT_FALSE(window.dialog.isVisible());
    ASSERT_TRUE(probe.Log("while hidden"));
    ASSERT_TRUE(window.Show());
    ASSERT_TRUE(probe.Log("third"));
    EXPECT_EQ(window.Texts(), (QStringList{"third", "second", "first"}));

    // Escape hides too.
    QTest::keyClick(&window.dialog, Qt::Key_Escape);
    EXPECT_FALSE(window.dialog.isVisible());
    ASSERT_TRUE(probe.Log("after escape"));
    EXPECT_EQ(window.list->count(), 3);
}

TEST(LogWindow, PauseDropsLinesAndOffersCopyAndClear)
{
    LineProbe probe;
    LogWindow window;
    ASSERT_TRUE(window.Show());
    QApplication::clipboard()->setText("stale");
    ASSERT_TRUE(probe.Log("one"));
    ASSERT_TRUE(probe.Log("two"));

    QTest::mouseClick(window.copy, Qt::LeftButton);
    EXPECT_EQ(QApplication::clipboard()->text(), "stale") << "Copy works only while paused";
    QTest::mouseClick(window.pause, Qt::LeftButton);
    EXPECT_EQ(window.pause->text(), "Resume");
    EXPECT_TRUE(window.copy->isEnabled());
    EXPECT_TRUE(window.clear->isEnabled());
    ASSERT_TRUE(probe.Log("while paused"));
    EXPECT_EQ(window.Texts(), (QStringList{"two", "one"}));

    QTest::mouseClick(window.copy, Qt::LeftButton);
    EXPECT_EQ(QApplication::clipboard()->text(), window.Rows().join("\n"));
    EXPECT_TRUE(QApplication::clipboard()->text().endsWith("one"));

    // Hidden and shown again, the window is still paused.
    QTest::mouseClick(window.close, Qt::LeftButton);
    ASSERT_TRUE(window.Show());
    EXPECT_EQ(window.pause->text(), "Resume");
    QTest::mouseClick(window.clear, Qt::LeftButton);
    EXPECT_EQ(window.list->count(), 0);
    QTest::mouseClick(window.copy, Qt::LeftButton);
    EXPECT_EQ(QApplication::clipboard()->text(), "");

    QTest::mouseClick(window.pause, Qt::LeftButton);
    EXPECT_EQ(window.pause->text(), "Pause");
    EXPECT_FALSE(window.copy->isEnabled());
    EXPECT_FALSE(window.clear->isEnabled());
    ASSERT_TRUE(probe.Log("resumed"));
    EXPECT_EQ(window.Texts(), (QStringList{"resumed"}));
}

TEST(LogWindow, KeepsTheNewest5000LinesFromAnyThreadOnTheGuiThread)
{
    LineProbe probe;
    LogWindow window;
    ASSERT_TRUE(window.Show());
    std::atomic<int> offGuiInserts{0};
    QObject::connect(
        window.list->model(), &QAbstractItemModel::rowsInserted, window.list,
        [&]
        {
            if (QThread::currentThread() != qApp->thread())
                ++offGuiInserts;
        },
        Qt::DirectConnection);

    // Lines logged from a second thread, then one emitted from a thread
    // directly, as the writer thread does.
    std::thread logging(
        []
        {
            for (int i = 1; i <= 5001; ++i)
                OmbraxLogger::Log(LogLevel::Error, QString("line %1").arg(i));
        });
    logging.join();
    ASSERT_TRUE(probe.WaitForWritten("line 5001"));
    std::thread([] { emit OmbraxLogger::Instance()->logEventRx("straight from a thread"); }).join();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.list->item(0)->text() == "straight from a thread"; }));

    EXPECT_EQ(offGuiInserts.load(), 0);
    ASSERT_EQ(window.list->count(), 5000);
    EXPECT_TRUE(window.list->item(1)->text().endsWith("line 5001"));
    EXPECT_TRUE(window.list->item(4999)->text().endsWith("line 3"));
}

TEST(LogWindow, ThemedScreenshots)
{
    LineProbe probe;
    const QString folder = QCoreApplication::applicationDirPath() + "/screenshots";
    ASSERT_TRUE(QDir().mkpath(folder));
    AppThemeAdapter::instance()->configure(qApp);
    struct Shot
    {
        UiTypes::UiTheme theme;
        const char* file;
        const char* background;
    };
    for (const Shot& shot : {Shot{UiTypes::UiTheme::Day, "log_window_light.png", "#F8F8F8"},
                             Shot{UiTypes::UiTheme::Night, "log_window_dark.png", "#141414"}})
    {
        AppSettings::Instance().GetUiSettings()->setTheme(shot.theme);
        LogWindow window;
        ASSERT_TRUE(window.Show());
        ASSERT_TRUE(probe.Log("Loaded 3 loudspeaker data sets"));
        ASSERT_TRUE(probe.Log("Calculation finished in 412 ms"));
        QTest::mouseClick(window.pause, Qt::LeftButton);
        EXPECT_EQ(window.Texts(),
                  (QStringList{"Calculation finished in 412 ms", "Loaded 3 loudspeaker data sets"}));
        const QImage image = window.dialog.grab().toImage();
        EXPECT_TRUE(image.save(folder + "/" + shot.file));
        EXPECT_EQ(image.pixelColor(2, image.height() - 2), QColor(shot.background)) << shot.file;
    }
}
} // namespace
} // namespace zorvpro
