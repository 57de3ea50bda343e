// Every control of the dialogs a user opens: the settings dialog, the about box and the log
// window, with what the user does and what must follow.
#include "AcceptanceEnv.h"
#include "ControlTable.h"

#include "views/Shell/MainWindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace zorvpro::acceptance
{
namespace
{
QWidget* g_dialog = nullptr;

QWidget* Dialog()
{
    return g_dialog;
}

void ToVenuePage()
{
    ASSERT_TRUE(QTest::qWaitFor([] { return Find(QStringLiteral("continueButton")) != nullptr; }, kDeadline));
    ASSERT_TRUE(Click(QStringLiteral("continueButton")));
    ASSERT_TRUE(QTest::qWaitFor([] { return Find(QStringLiteral("openGLPlan")) != nullptr; }, kDeadline));
}

QWidget* OpenByKeys(const char* keys, const QString& title)
{
    PressOnWindow(QKeySequence(QString::fromLatin1(keys)));
    return WaitForWindow(title);
}

// "&About Zorv Tessary" in the menu's "&Help".
void OpenAboutBox()
{
    const bool opened =
        UseMenu([] { Click(QStringLiteral("buttonMainMenu"), Find(QStringLiteral("buttonMainMenu"))); },
                [](QMenu* menu)
                {
                    for (QAction* a : menu->actions())
                        if (a->menu() != nullptr)
                        {
                            menu->setActiveAction(a);
                            EXPECT_TRUE(QTest::qWaitFor([&] { return a->menu()->isVisible(); }, kDeadline) &&
                                        ClickMenuEntry(a->menu(), QStringLiteral("actionAbout")))
                                << "actionAbout: not in the shown \"&Help\" menu";
                        }
                });
    EXPECT_TRUE(opened) << "the main menu does not open";
}

Check ClickCloses()
{
    return [](QWidget* control)
    {
        QWidget* window = control->window();
        QTest::mouseClick(control, Qt::LeftButton);
        return Expect(QTest::qWaitFor([&] { return !window->isVisible(); }, kDeadline),
                      QStringLiteral("%1 stays open").arg(window->windowTitle()));
    };
}

const SettingsTyped kTyped = {QStringLiteral("Saal 2"),  QStringLiteral("Ida Ruiz"), QStringLiteral("r3"),
                              QStringLiteral("Balcony"), QStringLiteral("27"),       QStringLiteral("44"),
                              QStringLiteral("1.7")};

TEST(Controls, EveryControlOfTheSettingsDialogHasItsEffect)
{
    ToVenuePage();
    const QString path = Home() + QStringLiteral("/Documents/Settings.tq");
    ASSERT_TRUE(AnswerFileDialog([] { PressOnWindow(QKeySequence(QStringLiteral("Ctrl+Shift+S"))); }, path));
    g_dialog = OpenByKeys("Ctrl+Shift+P", QStringLiteral("Settings"));
    ASSERT_NE(g_dialog, nullptr) << "Ctrl+Shift+P: no \"Settings\" window";
    Activate(g_dialog);
    auto* air = FindAs<QAbstractButton>(QStringLiteral("AirAbsorb"), g_dialog);
    ASSERT_NE(air, nullptr);
    const bool airBefore = air->isChecked();
    QSet<QString> named = RunRows(g_dialog, SettingsRows(kTyped, Dialog));
    named << QStringLiteral("ResetButton") << QStringLiteral("buttonOk");
    const QStringList unnamed = Unnamed(g_dialog, named);
    EXPECT_TRUE(unnamed.isEmpty()) << "enabled controls without a row: " << unnamed.join(", ").toStdString();
    EXPECT_TRUE(UnnamedShortcuts(g_dialog, named).isEmpty())
        << "shortcuts without a row: " << UnnamedShortcuts(g_dialog, named).join(", ").toStdString();

    // buttonOk closes it; what was typed is the project's and is saved with it.
    EXPECT_TRUE(ClickCloses()(Find(QStringLiteral("buttonOk"), g_dialog)).isEmpty()) << "buttonOk";
    EXPECT_TRUE(UseMenu(
        [] { Click(QStringLiteral("buttonMainMenu"), Find(QStringLiteral("buttonMainMenu"))); },
        [](QMenu* menu)
        { EXPECT_TRUE(ClickMenuEntry(menu, QStringLiteral("actionSave"))) << "actionSave not in the menu"; }))
        << "the main menu does not open";
    EXPECT_TRUE(QTest::qWaitFor([&] { return FileText(path).contains(kTyped.venue); }, kDeadline))
        << "Ctrl+S after the settings: the file holds no \"Saal 2\"; the folder holds "
        << QDir(Home() + QStringLiteral("/Documents"))
               .entryList(QDir::Files)
               .join(QLatin1Char(' '))
               .toStdString()
        << "; the title is " << Window()->windowTitle().toStdString();
    ExpectSettingsSaved(FileText(path).toUtf8(), kTyped, airBefore);

    // ResetButton brings the defaults back into the fields.
    g_dialog = OpenByKeys("Ctrl+Shift+P", QStringLiteral("Settings"));
    ASSERT_NE(g_dialog, nullptr);
    const QString typed = Shown("Humidity");
    ASSERT_TRUE(Click(QStringLiteral("ResetButton"), g_dialog));
    EXPECT_TRUE(QTest::qWaitFor([&] { return Shown("Humidity") != typed; }, kDeadline))
        << "ResetButton: Humidity still shows " << typed.toStdString();
    Click(QStringLiteral("buttonOk"), g_dialog);
}

TEST(Controls, EveryControlOfTheAboutBoxHasItsEffect)
{
    ToVenuePage();
    OpenAboutBox();
    g_dialog = WaitForWindow(QStringLiteral("About Zorv Tessary"));
    ASSERT_NE(g_dialog, nullptr) << "actionAbout: no \"About Zorv Tessary\" window";
    const QSet<QString> named = RunRows(
        g_dialog,
        {
            {"licenseLbl", "click the link",
             [](QWidget* control)
             {
                 // The link is the label's only text: the user clicks along it.
                 UrlOpener opener;
                 for (int x = 2; x < control->width() && opener.url.isEmpty(); x += 4)
                     QTest::mouseClick(control, Qt::LeftButton, Qt::NoModifier,
                                       QPoint(x, control->height() / 2));
                 const QString file = opener.url.toLocalFile();
                 return Expect(QFile::exists(file) && QFile(file).size() > 0,
                               QStringLiteral("no license file opened (%1)").arg(opener.url.toString()));
             }},
            {"buttonOk", "click", ClickCloses()},
        });
    // Walked as it opens again: the table names all it offers.
    OpenAboutBox();
    ASSERT_EQ(WaitForWindow(QStringLiteral("About Zorv Tessary")), g_dialog);
    const QStringList unnamed = Unnamed(g_dialog, named);
    EXPECT_TRUE(unnamed.isEmpty()) << "enabled controls without a row: " << unnamed.join(", ").toStdString();
    EXPECT_TRUE(UnnamedShortcuts(g_dialog, named).isEmpty())
        << "shortcuts without a row: " << UnnamedShortcuts(g_dialog, named).join(", ").toStdString();
}

TEST(Controls, EveryControlOfTheLogWindowHasItsEffect)
{
    ToVenuePage();
    // No control of the window opens it: an automation client reaches it by name.
    ASSERT_TRUE(QMetaObject::invokeMethod(Window(), "showLoggingWindow"));
    g_dialog = WaitForWindow(QStringLiteral("Diagnostics"));
    ASSERT_NE(g_dialog, nullptr) << "no \"Diagnostics\" window";
    auto* list = g_dialog->findChild<QListWidget*>(QStringLiteral("lstLogMessages"));
    ASSERT_NE(list, nullptr);
    // A project that cannot be read is logged as an error while the window shows.
    const QString broken = Home() + QStringLiteral("/Documents/Broken.tq");
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("<Project><Venue><Quad>x") > 0);
    file.close();
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout,
                     []
                     {
                         if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                             if (box->windowTitle() == QStringLiteral("File Load Error"))
                                 box->close();
                     });
    poll.start(20);
    AnswerFileDialog([] { PressOnWindow(QKeySequence(QKeySequence::Open)); }, broken);
    poll.stop();
    ASSERT_TRUE(QTest::qWaitFor([&] { return list->count() > 0; }, kDeadline)) << "no log line is shown";

    const QSet<QString> named = RunRows(
        g_dialog,
        {
            {"btnPause", "click",
             [](QWidget* control)
             {
                 auto* pause = qobject_cast<QAbstractButton*>(control);
                 QTest::mouseClick(pause, Qt::LeftButton);
                 return Expect(
                     pause->text() == QStringLiteral("Resume") &&
                         Find(QStringLiteral("btnCopy"), Dialog())->isEnabled() &&
                         Find(QStringLiteral("btnClear"), Dialog())->isEnabled(),
                     QStringLiteral("it reads \"%1\"; copy and clear stay disabled").arg(pause->text()));
             }},
            {"btnCopy", "click",
             [list](QWidget* control)
             {
                 QApplication::clipboard()->setText(QStringLiteral("before"));
                 QStringList rows;
                 for (int i = 0; i < list->count(); ++i)
                     rows << list->item(i)->text();
                 QTest::mouseClick(control, Qt::LeftButton);
                 return Expect(
                     QApplication::clipboard()->text() == rows.join(QLatin1Char('\n')),
                     QStringLiteral("the clipboard holds \"%1\"").arg(QApplication::clipboard()->text()));
             }},
            {"lstLogMessages", "click the top line",
             [list](QWidget*)
             {
                 // The newest line is on top: the load error of the project just opened.
                 QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                                   list->visualItemRect(list->item(0)).center());
                 return Expect(
                     list->currentRow() == 0 && list->item(0)->isSelected() &&
                         list->item(0)->text().contains(QStringLiteral("Unable to read project file")),
                     QStringLiteral("the top line is %1: %2")
                         .arg(list->item(0)->isSelected() ? "chosen" : "not chosen", list->item(0)->text()));
             }},
            {"btnClear", "click",
             [list](QWidget* control)
             {
                 QTest::mouseClick(control, Qt::LeftButton);
                 return Expect(list->count() == 0, QStringLiteral("%1 lines stay").arg(list->count()));
             }},
        });
    // Walked while it shows, paused, with every button enabled.
    const QStringList unnamed = Unnamed(g_dialog, named + QSet<QString>{QStringLiteral("btnClose")});
    EXPECT_TRUE(unnamed.isEmpty()) << "enabled controls without a row: " << unnamed.join(", ").toStdString();
    EXPECT_TRUE(UnnamedShortcuts(g_dialog, named).isEmpty())
        << "shortcuts without a row: " << UnnamedShortcuts(g_dialog, named).join(", ").toStdString();
    RunRows(g_dialog, {{"btnClose", "click", ClickCloses()}});
}
} // namespace
} // namespace zorvpro::acceptance
