// A value typed into a field and not yet confirmed with Return or Tab belongs to the project: every
// command that saves, sends, reports or leaves the project takes it as leaving the field would,
// and once it is saved nothing asks about it again.
#include "AcceptanceEnv.h"
#include "ControlTable.h"
#include "DesignerListener.h"

#include "views/Shell/MainWindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <gtest/gtest.h>

namespace zorvpro::acceptance
{
namespace
{

QString Path(const char* name)
{
    return Home() + QStringLiteral("/Documents/") + QLatin1String(name);
}

QByteArray Content(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool Modified()
{
    return Window()->windowTitle().contains(QLatin1Char('*'));
}

// Runs action, answering every question with answer and a file dialog with path; the titles of
// the questions asked.
QStringList Answering(const std::function<void()>& action, QMessageBox::StandardButton answer,
                      const QString& path = QString())
{
    QStringList asked;
    bool busy = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout,
                     [&]
                     {
                         QWidget* modal = QApplication::activeModalWidget();
                         if (busy || modal == nullptr)
                             return;
                         busy = true;
                         if (auto* box = qobject_cast<QMessageBox*>(modal))
                         {
                             asked << box->windowTitle();
                             if (QAbstractButton* button = box->button(answer))
                                 button->click();
                             else
                                 box->reject();
                         }
                         else if (qobject_cast<QFileDialog*>(modal) != nullptr)
                         {
                             if (path.isEmpty())
                                 qobject_cast<QFileDialog*>(modal)->reject();
                             else
                                 TypeFileName(modal, path);
                         }
                         busy = false;
                     });
    poll.start(20);
    action();
    // The caller checks what the command left behind.
    (void)QTest::qWaitFor([] { return QApplication::activeModalWidget() == nullptr; }, kDeadline);
    poll.stop();
    return asked;
}

// The number the file's element key holds (its first one), NaN when none.
double FileNumber(const QByteArray& file, const char* key)
{
    bool ok = false;
    const double value = FileValue(file, key).toDouble(&ok);
    return ok ? value : std::nan("");
}

QString SavedText(const QByteArray& file, const char* key, const QString& expected)
{
    const QString value = FileValue(file, key);
    return Expect(
        value == expected,
        QStringLiteral("the file holds %1 \"%2\", not \"%3\"").arg(QLatin1String(key), value, expected));
}

QString SavedNear(const QByteArray& file, const char* key, double expected)
{
    const double value = FileNumber(file, key);
    return Expect(
        std::fabs(value - expected) < 1e-6,
        QStringLiteral("the file holds %1 %2, not %3").arg(QLatin1String(key)).arg(value).arg(expected));
}

bool OnStartPage()
{
    return Find(QStringLiteral("continueButton")) != nullptr;
}

// Shows the venue or the speaker page with the first entity of its list chosen (an array is added
// when the speaker page has none).
void ShowPage(const char* page)
{
    const bool venue = QLatin1String(page) == QLatin1String("venue");
    ASSERT_TRUE(Click(venue ? QStringLiteral("buttonVenueTab") : QStringLiteral("buttonSpeakerTab")));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return Find(venue ? QStringLiteral("openGLPlan") : QStringLiteral("openGLPlanSpkr")) &&
                   ShownList();
        },
        kDeadline));
    QTableWidget* list = ShownList();
    if (list->rowCount() == 0 && !venue)
    {
        ASSERT_TRUE(Click(QStringLiteral("Toolbar_AddEntity"), SpeakerFrame("planToolbarContainerFrame")));
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return list->rowCount() > 0; }, kDeadline))
        << page << ": an empty list";
    // The list takes clicks once the selection the program made has settled.
    ASSERT_TRUE(QTest::qWaitFor(
        [&]
        {
            if (list->selectionModel()->isRowSelected(0, QModelIndex()))
                return true;
            QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                              list->visualRect(list->model()->index(0, 1)).center());
            return false;
        },
        kDeadline));
}

struct Field
{
    const char* control; // the field, or "list" for the name cell of the list's first row
    const char* page;    // "start", "venue" or "speaker"
    const char* typed;
    // Empty when the saved file holds what was typed, else what it holds instead.
    std::function<QString(const QByteArray& file)> saved;
};

constexpr double kRadiansPerDegree = 3.14159265358979323846 / 180.0;

TEST(OpenEntry, EveryFieldTypedWithoutReturnIsSavedByCtrlS)
{
    const QString path = Path("OpenEntryFields.tq");
    QFile::remove(path);
    const Field fields[] = {
        {"ProjectVenue", "start", "Hall Ost",
         [](const QByteArray& f) { return SavedText(f, "SettingsVenue", QStringLiteral("Hall Ost")); }},
        {"EarHeight", "start", "1.7",
         [](const QByteArray& f) { return SavedNear(f, "DefaultEarHeight", 1.7); }},
        {"Quad_Rotation", "venue", "12",
         [](const QByteArray& f) { return SavedNear(f, "RotationZ", 12 * kRadiansPerDegree); }},
        {"list", "venue", "Balcony",
         [](const QByteArray& f)
         { return Expect(f.contains("<Name>Balcony</Name>"), "no surface named Balcony"); }},
        {"Cluster_Gain", "speaker", "-6",
         [](const QByteArray& f) { return SavedNear(f, "ClusterGain", -6); }},
        {"Cluster_Delay", "speaker", "3",
         [](const QByteArray& f) { return SavedNear(f, "ClusterDelay", 3); }},
        {"Beam_SteeringAngle1", "speaker", "6",
         [](const QByteArray& f) { return SavedNear(f, "Steering0", 6 * kRadiansPerDegree); }},
        {"list", "speaker", "Stage left hang",
         [](const QByteArray& f)
         { return Expect(f.contains("<Name>Stage left hang</Name>"), "no array named Stage left hang"); }},
        {"Spl_Max_dB", "speaker", "111",
         [](const QByteArray& f) { return SavedNear(f, "SplHighValue", 111); }},
        {"Beam_Comments", "speaker", "front fill",
         [](const QByteArray& f) { return SavedText(f, "UserNote", QStringLiteral("front fill")); }},
    };
    // A fresh start page: the project it starts gets its file from the first Ctrl+S.
    DiscardIfAsked([] { PressWhereTyping(QKeySequence::New); });
    for (const Field& field : fields)
    {
        SCOPED_TRACE(field.control);
        if (QLatin1String(field.page) != QLatin1String("start"))
        {
            // The start page's fields are the settings of the project it starts.
            if (OnStartPage())
            {
                ASSERT_TRUE(Click(QStringLiteral("continueButton")));
            }
            ShowPage(field.page);
        }
        TypeWithoutReturn(field.control, QLatin1String(field.typed));
        const QByteArray before = Content(path);
        const QStringList asked =
            Answering([] { PressWhereTyping(QKeySequence::Save); }, QMessageBox::Cancel, path);
        EXPECT_TRUE(asked.isEmpty()) << field.control << ": Ctrl+S asks " << asked.join(", ").toStdString();
        EXPECT_TRUE(QTest::qWaitFor([&] { return Content(path) != before; }, kDeadline))
            << field.control << ": Ctrl+S leaves " << path.toStdString() << " as it was";
        const QString wrong = field.saved(Content(path));
        EXPECT_TRUE(wrong.isEmpty()) << field.control << " typed " << field.typed << ": "
                                     << wrong.toStdString();
        EXPECT_FALSE(Modified()) << field.control << ": still changed after Ctrl+S ("
                                 << Window()->windowTitle().toStdString() << ")";
    }
    // Saved is saved: leaving asks nothing, though the notes, still in the focus, report their text
    // again as they lose it.
    const QStringList asked = Answering([] { PressWhereTyping(QKeySequence::New); }, QMessageBox::Cancel);
    EXPECT_TRUE(asked.isEmpty()) << "Ctrl+N after the saves asks " << asked.join(", ").toStdString();
}

const QString kSaveChanges = QStringLiteral("Save changes?");

// Ends with the project saved to path: asked once, answered "Save", and the file holds the gain.
QString SavedAfterQuestion(const QStringList& asked, const QString& path, double gain)
{
    const QString wrong = SavedNear(Content(path), "ClusterGain", gain);
    if (!wrong.isEmpty())
        return wrong;
    return Expect(asked == QStringList{kSaveChanges},
                  QStringLiteral("asked \"%1\" instead of \"%2\" once").arg(asked.join(", "), kSaveChanges));
}

struct Command
{
    const char* name;
    const char* field; // typed into on the speaker page; "ProjectVenue" in the settings window
    const char* typed;
    // Runs the command; empty when it took the value, else what it did instead.
    std::function<QString(const QString& path)> run;
};

TEST(OpenEntry, EveryCommandThatEndsTheWorkTakesTheValueBeingTyped)
{
    const QString path = Path("OpenEntryCommands.tq");
    QFile::remove(path);
    const Command commands[] = {
        {"Save As (Ctrl+Shift+S)", "Cluster_Gain", "-6",
         [](const QString& file)
         {
             const QStringList asked =
                 Answering([] { PressWhereTyping(QKeySequence(QStringLiteral("Ctrl+Shift+S"))); },
                           QMessageBox::Cancel, file);
             return Expect(asked.isEmpty() && !Modified(), QStringLiteral("asked %1").arg(asked.join(", "))) +
                    SavedNear(Content(file), "ClusterGain", -6);
         }},
        {"Exit (Ctrl+W)", "Cluster_Gain", "-5",
         [](const QString& file)
         {
             // "Cancel" keeps the window and the change, which Ctrl+S then saves.
             const QStringList asked = Answering(
                 [] { PressWhereTyping(QKeySequence(QStringLiteral("Ctrl+W"))); }, QMessageBox::Cancel);
             if (asked != QStringList{kSaveChanges} || !Window()->isVisible() || !Modified())
                 return QStringLiteral("asked \"%1\"; the window shown %2, changed %3")
                     .arg(asked.join(", "))
                     .arg(Window()->isVisible())
                     .arg(Modified());
             PressWhereTyping(QKeySequence::Save);
             return SavedNear(Content(file), "ClusterGain", -5);
         }},
        {"New (Ctrl+N)", "Cluster_Gain", "-4",
         [](const QString& file)
         {
             const QStringList asked =
                 Answering([] { PressWhereTyping(QKeySequence::New); }, QMessageBox::Save);
             return SavedAfterQuestion(asked, file, -4) +
                    Expect(Find(QStringLiteral("continueButton")) != nullptr,
                           QStringLiteral(" no start page"));
         }},
        {"Open (Ctrl+O)", "Cluster_Gain", "-3",
         [](const QString& file)
         {
             const QStringList asked =
                 Answering([] { PressWhereTyping(QKeySequence::Open); }, QMessageBox::Save, file);
             return SavedAfterQuestion(asked, file, -3) +
                    Expect(!Modified(), QStringLiteral(" the opened project shows as changed"));
         }},
        {"recent file (menu)", "Cluster_Gain", "-2",
         [](const QString& file)
         {
             bool chosen = false;
             const QStringList asked = Answering(
                 [&]
                 {
                     // The tab bar's frame carries the button's name too: the button is inside.
                     const QString button = QStringLiteral("buttonMainMenu");
                     UseMenu([&] { Click(button, Find(button)); },
                             [&](QMenu* menu)
                             {
                                 for (QAction* a : menu->actions())
                                     if (a->isVisible() && a->data().toString() == file && !chosen)
                                     {
                                         chosen = true;
                                         QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier,
                                                           menu->actionGeometry(a).center());
                                     }
                                 if (!chosen)
                                     menu->close();
                             });
                 },
                 QMessageBox::Save);
             if (!chosen)
                 return QStringLiteral("the menu offers no entry for the file");
             return SavedAfterQuestion(asked, file, -2);
         }},
        {"Send to KVD", "Beam_SteeringAngle1", "6",
         [](const QString&)
         {
             DesignerListener designer;
             if (!designer.Listen())
                 return QStringLiteral("127.0.0.1:10003 stays busy");
             Click(QStringLiteral("buttonSendToKVD"));
             if (!QTest::qWaitFor([&] { return designer.closed; }, kDeadline))
                 return QStringLiteral("nothing reached port 10003");
             const QString steering =
                 QRegularExpression(QStringLiteral("name=\"SteerAngle\" value=\"([^\"]*)\""))
                     .match(QString::fromUtf8(designer.received))
                     .captured(1);
             return Expect(std::fabs(steering.toDouble() - 6.0) < 1e-9,
                           QStringLiteral("the XML says SteerAngle \"%1\"").arg(steering));
         }},
        {"report copy", "ProjectVenue", "Hall West",
         [](const QString&)
         {
             QApplication::clipboard()->clear();
             Click(QStringLiteral("buttonCopy"));
             const QString copied = QApplication::clipboard()->text();
             Click(QStringLiteral("buttonOk"), WaitForWindow(QStringLiteral("Settings")));
             return Expect(copied.contains(QStringLiteral("Venue:\tHall West\n")),
                           QStringLiteral("the clipboard holds %1").arg(copied.left(80)));
         }},
    };
    NewProjectWithOneArray();
    for (const Command& command : commands)
    {
        SCOPED_TRACE(command.name);
        if (QLatin1String(command.field) == QLatin1String("ProjectVenue"))
        {
            // The report page, with the project's settings typed into the settings window.
            ASSERT_TRUE(Click(QStringLiteral("buttonBomTab")));
            PressWhereTyping(QKeySequence(QStringLiteral("Ctrl+Shift+P")));
            ASSERT_NE(WaitForWindow(QStringLiteral("Settings")), nullptr);
        }
        else
        {
            // Back from the start page: the project just saved, from its tile.
            if (OnStartPage())
            {
                ASSERT_TRUE(Click(QStringLiteral("recDoc1Button")));
                ASSERT_TRUE(QTest::qWaitFor([] { return !OnStartPage(); }, kDeadline));
            }
            ShowPage("speaker");
        }
        TypeWithoutReturn(command.field, QLatin1String(command.typed));
        const QString wrong = command.run(path);
        EXPECT_TRUE(wrong.isEmpty()) << command.name << " after typing " << command.field << " "
                                     << command.typed << ": " << wrong.toStdString();
    }
}
} // namespace
} // namespace zorvpro::acceptance
