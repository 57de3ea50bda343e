#include "ControlTable.h"

#include "AcceptanceEnv.h"
#include "views/Dashboard/OpenFileButton.h"
#include "views/Render/VenueView3D.h"
#include "views/Shell/MainWindow.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QDeadlineTimer>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QScrollBar>
#include <QShortcut>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace zorvpro::acceptance
{
UrlOpener::UrlOpener()
{
    QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "open");
}

UrlOpener::~UrlOpener()
{
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
}

QString Expect(bool ok, const QString& what)
{
    return ok ? QString() : what;
}

QString ControlName(QWidget* w)
{
    QString name = w->objectName();
    if (qobject_cast<QLineEdit*>(w) != nullptr && name.endsWith(QLatin1String("Edit")))
        name.chop(4);
    return name;
}

bool IsInteractive(QWidget* w)
{
    if (qobject_cast<QLineEdit*>(w) != nullptr && qobject_cast<QComboBox*>(w->parentWidget()) != nullptr)
        return false; // the line edit of a combo box is the combo box
    if (qobject_cast<QScrollBar*>(w) != nullptr)
        return false; // a scroll area's own bar
    if (auto* label = qobject_cast<QLabel*>(w))
        return label->text().contains(QLatin1String("<a "));
    return qobject_cast<QAbstractButton*>(w) || qobject_cast<QComboBox*>(w) || qobject_cast<QLineEdit*>(w) ||
           qobject_cast<QAbstractSlider*>(w) || qobject_cast<QPlainTextEdit*>(w) ||
           qobject_cast<QTextEdit*>(w) || qobject_cast<OpenFileButton*>(w);
}

QWidget* Locate(const QString& name, QWidget* root)
{
    QWidget* control = Find(name + QStringLiteral("Edit"), root);
    if (control == nullptr)
        control = Find(name, root);
    if (auto* combo = control != nullptr ? control->findChild<QComboBox*>() : nullptr)
        control = combo;
    return control;
}

QSet<QString> RunRows(QWidget* root, const std::vector<ControlRow>& rows)
{
    QSet<QString> named;
    for (const ControlRow& row : rows)
    {
        named.insert(QLatin1String(row.control));
        SCOPED_TRACE(row.control);
        // A key row ("Alt+F") is pressed on the page, not on a widget of its own.
        const QString name = QString::fromLatin1(row.control);
        const bool keys = !name.contains(QLatin1Char('_')) && Locate(name, root) == nullptr &&
                          QKeySequence(name).toString() == name;
        QWidget* control = keys ? root : Locate(name, root);
        if (control == nullptr || !control->isEnabled())
        {
            ADD_FAILURE() << row.control << ": not shown or disabled";
            continue;
        }
        const QString wrong = row.check(control);
        EXPECT_TRUE(wrong.isEmpty()) << row.control << " (" << row.action << "): " << wrong.toStdString();
    }
    return named;
}

QStringList Unnamed(QWidget* root, const QSet<QString>& named)
{
    QStringList unnamed;
    for (QWidget* w : root->findChildren<QWidget*>())
    {
        if (!w->isVisible() || !w->isEnabled() || !IsInteractive(w))
            continue;
        // A part of a control that the control's row proves ("proxyButton" of a file tile).
        if (qobject_cast<OpenFileButton*>(w->parentWidget()) != nullptr)
            continue;
        const QString name = ControlName(w);
        if (!named.contains(name) && !unnamed.contains(name))
            unnamed << name;
    }
    return unnamed;
}

QStringList UnnamedShortcuts(QWidget* root, const QSet<QString>& named)
{
    QStringList keys;
    for (QShortcut* s : root->findChildren<QShortcut*>())
        if (s->isEnabled() && !named.contains(s->key().toString()) && !keys.contains(s->key().toString()))
            keys << s->key().toString();
    for (QAbstractButton* b : root->findChildren<QAbstractButton*>())
        if (b->isVisible() && b->isEnabled() && !b->shortcut().isEmpty() &&
            !named.contains(b->shortcut().toString()) && !keys.contains(b->shortcut().toString()))
            keys << b->shortcut().toString();
    return keys;
}

void Activate(QWidget* window)
{
    (void)windowtest::Activate(window != nullptr ? window : Window()); // it fails the test itself
}

int UndoSteps()
{
    int size = -1;
    QObject* processor = Window()->findChild<QObject*>(QStringLiteral("SquishCommandProcessor"));
    QMetaObject::invokeMethod(processor, "getUndoStackSize", Qt::DirectConnection, Q_RETURN_ARG(int, size));
    return size;
}

QImage Frame(const char* view)
{
    auto* v = FindAs<view::VenueView3D>(QLatin1String(view));
    if (v == nullptr)
        return QImage();
    // A frame still pending after the last change arrives well within this.
    QSignalSpy swapped(v, &QOpenGLWidget::frameSwapped);
    swapped.wait(300);
    return v->grabFramebuffer();
}

bool FrameChanges(const char* view, const QImage& before)
{
    auto* v = FindAs<view::VenueView3D>(QLatin1String(view));
    return v != nullptr && !before.isNull() &&
           QTest::qWaitFor([&] { return v->grabFramebuffer() != before; }, kDeadline);
}

QWidget* WaitForWindow(const QString& title)
{
    QWidget* found = nullptr;
    (void)QTest::qWaitFor( // the caller is told by a null window
        [&]
        {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->isVisible() && w->windowTitle() == title)
                    found = w;
            return found != nullptr;
        },
        kDeadline);
    return found;
}

bool UseMenu(const std::function<void()>& action, const std::function<void(QMenu*)>& use)
{
    // A menu opened while Qt still holds a closed window as its focus is closed again by the
    // application's deactivation a moment later.
    Activate();
    bool used = false;
    const auto ran = std::make_shared<bool>(false); // outlives a use still posted at the deadline
    QTimer poll;
    const QDeadlineTimer deadline(kDeadline);
    QObject::connect(&poll, &QTimer::timeout,
                     [&]
                     {
                         auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                         if (menu == nullptr || used)
                         {
                             if (deadline.hasExpired())
                                 poll.stop();
                             return;
                         }
                         used = true;
                         poll.stop();
                         // Posted, not run in the timer: an entry's own dialog then runs in a
                         // loop where the other pollers' timers still fire.
                         QMetaObject::invokeMethod(
                             menu,
                             [menu, use, ran]
                             {
                                 use(menu);
                                 *ran = true;
                             },
                             Qt::QueuedConnection);
                     });
    poll.start(20);
    action();
    // Back once use has run, so what it found is there for the caller.
    (void)QTest::qWaitFor([&] { return (used && *ran) || deadline.hasExpired(); }, kDeadline);
    poll.stop();
    return used;
}

bool ClickMenuEntry(QMenu* menu, const QString& name)
{
    for (QAction* action : menu->actions())
        if (action->objectName() == name && action->isVisible())
        {
            QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, menu->actionGeometry(action).center());
            return true;
        }
    menu->close();
    return false;
}

void TypeFileName(QWidget* dialog, const QString& path)
{
    auto* files = qobject_cast<QFileDialog*>(dialog);
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    auto* buttons = dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
    ASSERT_TRUE(files != nullptr && name != nullptr && buttons != nullptr)
        << "no file dialog with a name field";
    QAbstractButton* accept = nullptr;
    for (QAbstractButton* button : buttons->buttons())
        if (buttons->buttonRole(button) == QDialogButtonBox::AcceptRole)
            accept = button;
    ASSERT_NE(accept, nullptr) << "the file dialog has no accept button";
    // In the dialog's folder the bare name is typed; a path elsewhere first turns the button
    // into "Open" for its folder, and a second press accepts.
    const QFileInfo file(path);
    const bool here = QFileInfo(files->directory().path()) == QFileInfo(file.absolutePath());
    name->selectAll();
    QTest::keyClicks(name, here ? file.fileName() : path);
    if (QCompleter* completer = name->completer())
        if (completer->popup() != nullptr && completer->popup()->isVisible())
            completer->popup()->hide(); // it would take the click meant for the button
    const QString first = accept->text();
    QTest::mouseClick(accept, Qt::LeftButton);
    if (!here && QTest::qWaitFor([&] { return !dialog->isVisible() || accept->text() != first; }, 3000) &&
        dialog->isVisible())
        QTest::mouseClick(accept, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog->isVisible(); }, kDeadline))
        << "the file dialog does not take " << path.toStdString() << " (it shows "
        << name->text().toStdString() << ")";
}

bool AnswerFileDialog(const std::function<void()>& action, const QString& path)
{
    bool answered = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout,
                     [&]
                     {
                         QWidget* modal = QApplication::activeModalWidget();
                         if (auto* box = qobject_cast<QMessageBox*>(modal))
                         {
                             if (QAbstractButton* discard = box->button(QMessageBox::Discard))
                                 discard->click();
                         }
                         else if (qobject_cast<QFileDialog*>(modal) != nullptr && !answered)
                         {
                             answered = true;
                             TypeFileName(modal, path);
                         }
                     });
    poll.start(20);
    action();
    (void)QTest::qWaitFor([&] { return answered && QApplication::activeModalWidget() == nullptr; },
                          kDeadline);
    poll.stop();
    return answered;
}

int ListRows()
{
    for (auto* table : Window()->findChildren<QTableWidget*>())
        if (table->isVisible())
            return table->rowCount();
    return -1;
}

namespace
{
// Types text; with moveOn the user then leaves the field with Tab and the step may come later.
Check TypeMakesOneStep(const QString& text, bool moveOn)
{
    return [text, moveOn](QWidget* control)
    {
        auto* edit = qobject_cast<QLineEdit*>(control);
        if (edit == nullptr)
            return QStringLiteral("not a line edit");
        const QString before = edit->text();
        const int steps = UndoSteps();
        Type(edit, text);
        bool stepped = UndoSteps() == steps + 1;
        if (moveOn)
        {
            // A number is committed as the field gives up the focus: the user moves on.
            QTest::keyClick(edit, Qt::Key_Tab);
            stepped = QTest::qWaitFor([&] { return UndoSteps() == steps + 1; }, kDeadline);
        }
        return Expect(stepped && edit->text() != before,
                      QStringLiteral("typing %1 over %2 left %3 and %4 steps")
                          .arg(text, before, edit->text())
                          .arg(UndoSteps() - steps));
    };
}
} // namespace

Check TypeMakesOneStep(const QString& text)
{
    return TypeMakesOneStep(text, false);
}

Check TypeAndMoveOnMakesOneStep(const QString& text)
{
    return TypeMakesOneStep(text, true);
}

Check ChooseMakesOneStep(int index)
{
    return [index](QWidget* control)
    {
        auto* combo = qobject_cast<QComboBox*>(control);
        if (combo == nullptr)
            return QStringLiteral("not a combo box");
        const int steps = UndoSteps();
        // Tabbed to, then the arrow keys, as a keyboard user picks an entry.
        Activate(combo->window());
        combo->setFocus(Qt::TabFocusReason);
        const int keys = index - combo->currentIndex();
        for (int i = 0; i < std::abs(keys); ++i)
            QTest::keyClick(combo, keys > 0 ? Qt::Key_Down : Qt::Key_Up);
        return Expect(QTest::qWaitFor([&] { return UndoSteps() == steps + 1; }, kDeadline),
                      QStringLiteral("choosing entry %1 makes no step").arg(index));
    };
}

Check ToggleMakesSteps()
{
    return [](QWidget* control)
    {
        const int steps = UndoSteps();
        QTest::mouseClick(control, Qt::LeftButton);
        QTest::mouseClick(control, Qt::LeftButton);
        return Expect(UndoSteps() == steps + 2,
                      QStringLiteral("two clicks make %1 steps").arg(UndoSteps() - steps));
    };
}

Check ClickChangesView(const char* view, bool twice)
{
    return [view, twice](QWidget* control)
    {
        const QImage before = Frame(view);
        QTest::mouseClick(control, Qt::LeftButton);
        const bool changed = FrameChanges(view, before);
        if (twice)
            QTest::mouseClick(control, Qt::LeftButton);
        return Expect(changed, QStringLiteral("%1 does not change").arg(view));
    };
}

Check SlideChangesView(const char* view)
{
    return [view](QWidget* control)
    {
        const QImage before = Frame(view);
        Activate(control->window());
        control->setFocus();
        for (int i = 0; i < 5; ++i)
            QTest::keyClick(control, Qt::Key_PageDown);
        const bool changed = FrameChanges(view, before);
        for (int i = 0; i < 5; ++i)
            QTest::keyClick(control, Qt::Key_PageUp);
        return Expect(changed, QStringLiteral("%1 does not zoom").arg(view));
    };
}
QString Shown(const char* name)
{
    auto* edit = FindAs<QLineEdit>(QLatin1String(name) + QStringLiteral("Edit"));
    return edit != nullptr ? edit->text() : QString();
}

// Typed into the start page; the value the saved file must hold under key.
Check TypeForFile(const QString& text)
{
    return [text](QWidget* control)
    {
        if (auto* notes = qobject_cast<QPlainTextEdit*>(control))
        {
            Activate(notes->window());
            QTest::mouseClick(notes->viewport(), Qt::LeftButton);
            notes->selectAll();
            QTest::keyClicks(notes, text);
        }
        else
            Type(control, text);
        return QString();
    };
}

// A click on a switch changes the text another field shows; a second click brings it back.
Check ClickConvertsField(const char* field)
{
    return [field](QWidget* control)
    {
        const QString before = Shown(field);
        QTest::mouseClick(control, Qt::LeftButton);
        const QString converted = Shown(field);
        QTest::mouseClick(control, Qt::LeftButton);
        return Expect(
            !before.isEmpty() && converted != before && Shown(field) == before,
            QStringLiteral("%1 shows %2, then %3, then %4").arg(field, before, converted, Shown(field)));
    };
}

Check ClickRepaints(QWidget* (*root)())
{
    return [root](QWidget* control)
    {
        const QImage before = root()->grab().toImage();
        QTest::mouseClick(control, Qt::LeftButton);
        const bool changed = QTest::qWaitFor([&] { return root()->grab().toImage() != before; }, kDeadline);
        const QImage other = root()->grab().toImage();
        QTest::mouseClick(control, Qt::LeftButton);
        // Back to the first colours (the switch itself now shows the focus).
        const bool back = QTest::qWaitFor([&] { return root()->grab().toImage() != other; }, kDeadline);
        return Expect(changed && back, QStringLiteral("the page does not change colour and back"));
    };
}

QString FileValue(const QByteArray& content, const char* key)
{
    const QRegularExpression pattern(QStringLiteral("<%1[^>]*>([^<]*)</%1>").arg(QLatin1String(key)));
    return pattern.match(QString::fromUtf8(content)).captured(1);
}

QString FileText(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

std::vector<ControlRow> SettingsRows(const SettingsTyped& typed, QWidget* (*root)())
{
    return {
        {"ProjectVenue", "type the venue", TypeForFile(typed.venue)},
        {"ProjectDesigner", "type the designer", TypeForFile(typed.designer)},
        {"ProjectVersion", "type the version", TypeForFile(typed.version)},
        {"ProjectNotes", "type the notes", TypeForFile(typed.notes)},
        {"Temperature", "type the temperature", TypeForFile(typed.temperature)},
        {"Humidity", "type the humidity", TypeForFile(typed.humidity)},
        {"EarHeight", "type the ear height", TypeForFile(typed.earHeight)},
        {"AirAbsorb", "click",
         [](QWidget* c)
         {
             QTest::mouseClick(c, Qt::LeftButton);
             return QString();
         }},
        {"MeasurementUnits", "click twice", ClickConvertsField("EarHeight")},
        {"TemperatureUnits", "click twice", ClickConvertsField("Temperature")},
        {"ColorTheme", "click twice", ClickRepaints(root)},
    };
}

void ExpectSettingsSaved(const QByteArray& content, const SettingsTyped& typed, bool airBefore)
{
    const struct
    {
        const char* control;
        const char* key;
        QString value;
    } saved[] = {
        {"ProjectVenue", "SettingsVenue", typed.venue},
        {"ProjectDesigner", "SettingsDesigner", typed.designer},
        {"ProjectVersion", "SettingsVersion", typed.version},
        {"ProjectNotes", "SettingsNotes", typed.notes},
        {"Temperature", "Temperature", typed.temperature},
        {"Humidity", "Humidity", typed.humidity},
        {"EarHeight", "DefaultEarHeight", typed.earHeight},
        {"AirAbsorb", "AirAbsorption", airBefore ? QStringLiteral("false") : QStringLiteral("true")},
    };
    for (const auto& s : saved)
        EXPECT_EQ(FileValue(content, s.key), s.value)
            << s.control << ": the saved file holds another " << s.key;
}

void PressOnWindow(const QKeySequence& keys)
{
    Activate();
    QTest::keySequence(Window(), keys);
}

} // namespace zorvpro::acceptance
