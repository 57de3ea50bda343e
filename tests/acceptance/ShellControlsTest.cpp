// The tab bar, every entry of the main menu and every shortcut of the window, with what the user
// does and what must follow. Each menu entry runs once from the menu and once by its keys.
#include "AcceptanceEnv.h"
#include "ControlTable.h"

#include "views/Shell/MainWindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

namespace zorvpro::acceptance
{
namespace
{
QWidget* TabBar()
{
    return Find(QStringLiteral("buttonMainMenu")); // the bar's frame, which holds its buttons
}

bool PageShown(const char* page)
{
    return QTest::qWaitFor(
        [page]
        {
            QWidget* w = Window()->findChild<QWidget*>(QLatin1String(page));
            return w != nullptr && w->isVisible();
        },
        kDeadline);
}

Check ClickShowsPage(const char* page)
{
    return [page](QWidget* control)
    {
        QTest::mouseClick(control, Qt::LeftButton);
        auto* tab = qobject_cast<QAbstractButton*>(control);
        return Expect(PageShown(page) && tab != nullptr && tab->isChecked(),
                      QStringLiteral("%1 is not shown with its tab marked").arg(page));
    };
}

QString Path(const char* name)
{
    return Home() + QStringLiteral("/Documents/") + QLatin1String(name);
}

QByteArray Content(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// An effect of a menu entry; trigger reaches it from the menu or by its keys.
using Effect = std::function<QString(const std::function<void()>& trigger)>;

void AddSurface()
{
    Click(QStringLiteral("Toolbar_AddEntity"));
}

QString SaveAsWritesTheFile(const std::function<void()>& trigger, const char* name)
{
    const QString path = Path(name);
    AddSurface();
    const int rows = ListRows();
    if (!AnswerFileDialog(trigger, path))
        return QStringLiteral("no file dialog");
    return Expect(
        Content(path).contains("<Project") && Window()->windowTitle().contains(QFileInfo(path).baseName()) &&
            ListRows() == rows,
        QStringLiteral("%1 not written or not the project's file (title %2; the folder holds %3)")
            .arg(path, Window()->windowTitle(),
                 QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files).join(QLatin1Char(' '))));
}

struct Entry
{
    const char* action; // the menu entry's object name
    const char* keys;   // its shortcut; null when it has none
    Effect effect;
};

std::vector<Entry> Entries()
{
    return {
        {"actionSaveAs", "Ctrl+Shift+S",
         [](const std::function<void()>& trigger)
         {
             static int n = 0;
             return SaveAsWritesTheFile(trigger, ++n == 1 ? "KeysSaveAs.tq" : "MenuSaveAs.tq");
         }},
        {"actionSave", "Ctrl+S",
         [](const std::function<void()>& trigger)
         {
             // The project has its file from "Save As"; a new surface must reach it.
             const QString path = Path("MenuSaveAs.tq");
             const QByteArray before = Content(path);
             AddSurface();
             trigger();
             return Expect(QTest::qWaitFor([&]
                                           { return Content(path) != before && !Content(path).isEmpty(); },
                                           kDeadline),
                           QStringLiteral("%1 is not rewritten").arg(path));
         }},
        {"actionOpen", "Ctrl+O",
         [](const std::function<void()>& trigger)
         {
             // The first saved file has fewer surfaces than the project shown.
             AddSurface();
             const int shown = ListRows();
             if (!AnswerFileDialog(trigger, Path("KeysSaveAs.tq")))
                 return QStringLiteral("no file dialog");
             return Expect(
                 QTest::qWaitFor([&] { return ListRows() != shown && ListRows() > 0; }, kDeadline) &&
                     Window()->windowTitle().contains(QStringLiteral("KeysSaveAs")),
                 QStringLiteral("KeysSaveAs.tq is not shown (title %1, %2 rows)")
                     .arg(Window()->windowTitle())
                     .arg(ListRows()));
         }},
        {"actionSettings", "Ctrl+Shift+P",
         [](const std::function<void()>& trigger)
         {
             trigger();
             QWidget* dialog = WaitForWindow(QStringLiteral("Settings"));
             if (dialog == nullptr)
                 return QStringLiteral("no \"Settings\" window");
             Click(QStringLiteral("buttonOk"), dialog);
             return Expect(QTest::qWaitFor([&] { return !dialog->isVisible(); }, kDeadline),
                           QStringLiteral("its OK button leaves it open"));
         }},
        {"actionAbout", nullptr,
         [](const std::function<void()>& trigger)
         {
             trigger();
             QWidget* dialog = WaitForWindow(QStringLiteral("About Zorv Tessary"));
             if (dialog == nullptr)
                 return QStringLiteral("no \"About Zorv Tessary\" window");
             Click(QStringLiteral("buttonOk"), dialog);
             return Expect(QTest::qWaitFor([&] { return !dialog->isVisible(); }, kDeadline),
                           QStringLiteral("its OK button leaves it open"));
         }},
        {"actionHelp", "F1",
         [](const std::function<void()>& trigger)
         {
             UrlOpener opener;
             trigger();
             return Expect(opener.url.isLocalFile() && QFile::exists(opener.url.toLocalFile()) &&
                               Content(opener.url.toLocalFile()).contains("<"),
                           QStringLiteral("no help page opened (%1)").arg(opener.url.toString()));
         }},
        {"actionExit", "Ctrl+W",
         [](const std::function<void()>& trigger)
         {
             // With a change unsaved it asks; "Cancel" keeps the window and the change.
             AddSurface();
             const int rows = ListRows();
             const QString title = AnswerModal(trigger,
                                               [](QWidget* modal)
                                               {
                                                   if (auto* box = qobject_cast<QMessageBox*>(modal))
                                                       box->button(QMessageBox::Cancel)->click();
                                               });
             return Expect(title == QStringLiteral("Save changes?") && Window()->isVisible() &&
                               ListRows() == rows,
                           QStringLiteral("asked \"%1\"; the window or the change is gone").arg(title));
         }},
        {"actionNew", "Ctrl+N",
         [](const std::function<void()>& trigger)
         {
             DiscardIfAsked(trigger);
             const bool start =
                 QTest::qWaitFor([] { return Find(QStringLiteral("continueButton")) != nullptr; }, kDeadline);
             // Back to a new project on the venue page for the next row.
             Click(QStringLiteral("continueButton"));
             return Expect(start && PageShown("openGLPlan") && ListRows() == 1,
                           QStringLiteral("no start page, or the new project is not empty"));
         }},
    };
}

void FromMenu(const char* name)
{
    const bool used =
        UseMenu([] { Click(QStringLiteral("buttonMainMenu"), TabBar()); },
                [name](QMenu* menu)
                {
                    QMenu* from = menu;
                    // "&About" and "&Launch Help" sit in the "&Help" menu.
                    if (QLatin1String(name) == QLatin1String("actionAbout") ||
                        QLatin1String(name) == QLatin1String("actionHelp"))
                        for (QAction* a : menu->actions())
                            if (a->menu() != nullptr)
                            {
                                menu->setActiveAction(a);
                                // The entry below is looked for whether or not the menu opened.
                                (void)QTest::qWaitFor([&] { return a->menu()->isVisible(); }, kDeadline);
                                from = a->menu();
                            }
                    EXPECT_TRUE(ClickMenuEntry(from, QLatin1String(name))) << name << " not in the menu";
                });
    EXPECT_TRUE(used) << "the main menu does not open";
}

void ByKeys(const char* keys)
{
    Activate();
    const QKeySequence sequence(QString::fromLatin1(keys));
    QTest::keySequence(Window(), sequence);
}

// The entries of the menu (and its sub-menus) as the user finds them: by name, a recent file by
// what it opens.
QStringList MenuEntries(QMenu* menu)
{
    QStringList names;
    for (QAction* a : menu->actions())
    {
        if (a->isSeparator() || !a->isVisible() || !a->isEnabled())
            continue;
        if (a->menu() != nullptr)
            names << MenuEntries(a->menu());
        else if (!a->objectName().isEmpty())
            names << a->objectName();
        else if (!a->data().toString().isEmpty())
            names << QStringLiteral("recent file");
        else
            names << a->text();
    }
    return names;
}

void ToVenuePage()
{
    ASSERT_TRUE(QTest::qWaitFor([] { return Find(QStringLiteral("continueButton")) != nullptr; }, kDeadline));
    ASSERT_TRUE(Click(QStringLiteral("continueButton")));
    ASSERT_TRUE(PageShown("openGLPlan"));
}

TEST(Controls, EveryTabButtonShowsItsPage)
{
    ToVenuePage();
    const QSet<QString> named =
        RunRows(TabBar(),
                {
                    {"buttonSpeakerTab", "click", ClickShowsPage("tabButtonSpeaker")},
                    {"buttonBomTab", "click", ClickShowsPage("tabButtonBom")},
                    {"buttonVenueTab", "click", ClickShowsPage("openGLPlan")},
                    {"buttonMainMenu", "click",
                     [](QWidget* control)
                     {
                         QStringList entries;
                         UseMenu([control] { QTest::mouseClick(control, Qt::LeftButton); },
                                 [&](QMenu* menu)
                                 {
                                     entries = MenuEntries(menu);
                                     menu->close();
                                 });
                         return Expect(entries.contains(QStringLiteral("actionNew")),
                                       QStringLiteral("the menu does not open"));
                     }},
                    {"Alt+F", "keys",
                     [](QWidget*)
                     {
                         const bool opened =
                             UseMenu([] { ByKeys("Alt+F"); }, [](QMenu* menu) { menu->close(); });
                         return Expect(opened, QStringLiteral("the menu does not open"));
                     }},
                });
    EXPECT_TRUE(Unnamed(TabBar(), named).isEmpty())
        << "enabled controls without a row: " << Unnamed(TabBar(), named).join(", ").toStdString();
    EXPECT_TRUE(UnnamedShortcuts(TabBar(), named).isEmpty())
        << "shortcuts without a row: " << UnnamedShortcuts(TabBar(), named).join(", ").toStdString();
}

TEST(Controls, EveryMenuEntryAndItsKeysHaveTheirEffect)
{
    ToVenuePage();
    QSet<QString> named{QStringLiteral("recent file")};
    for (const Entry& entry : Entries())
    {
        named << QLatin1String(entry.action);
        if (entry.keys != nullptr)
        {
            named << QLatin1String(entry.keys);
            const QString fromKeys = entry.effect([&] { ByKeys(entry.keys); });
            EXPECT_TRUE(fromKeys.isEmpty())
                << entry.keys << " (" << entry.action << "): " << fromKeys.toStdString();
        }
        const QString fromMenu = entry.effect([&] { FromMenu(entry.action); });
        EXPECT_TRUE(fromMenu.isEmpty()) << entry.action << " (menu): " << fromMenu.toStdString();
    }

    // A saved file is offered again: its entry opens it.
    AddSurface();
    QStringList entries;
    QString opened;
    bool used = false;
    DiscardIfAsked(
        [&]
        {
            used = UseMenu([] { Click(QStringLiteral("buttonMainMenu"), TabBar()); },
                           [&](QMenu* menu)
                           {
                               entries = MenuEntries(menu);
                               for (QAction* a : menu->actions())
                                   if (a->isVisible() && a->objectName().isEmpty() &&
                                       !a->data().toString().isEmpty())
                                   {
                                       opened = a->data().toString();
                                       QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier,
                                                         menu->actionGeometry(a).center());
                                       return;
                                   }
                               menu->close();
                           });
        });
    EXPECT_TRUE(used) << "recent file: the main menu does not open";
    EXPECT_FALSE(opened.isEmpty()) << "recent file: no entry after saving";
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return Window()->windowTitle().contains(QFileInfo(opened).baseName()); }, kDeadline))
        << "recent file: " << opened.toStdString() << " is not opened (title "
        << Window()->windowTitle().toStdString() << ")";

    QStringList unnamed;
    for (const QString& entry : entries)
        if (!named.contains(entry))
            unnamed << entry;
    EXPECT_TRUE(unnamed.isEmpty()) << "menu entries without a row: " << unnamed.join(", ").toStdString();
    QStringList keys;
    for (QAction* a : Window()->actions())
        if (!a->shortcut().isEmpty() && !named.contains(a->shortcut().toString()))
            keys << a->shortcut().toString();
    EXPECT_TRUE(keys.isEmpty()) << "window shortcuts without a row: " << keys.join(", ").toStdString();
}
} // namespace
} // namespace zorvpro::acceptance
