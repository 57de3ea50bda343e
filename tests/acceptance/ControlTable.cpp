#include "ControlTable.h"

#include "AcceptanceEnv.h"
#include "core/math/Vector3.h"
#include "views/Dashboard/OpenFileButton.h"
#include "views/Render/VenueView3D.h"
#include "views/Shell/MainWindow.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QDeadlineTimer>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QScrollBar>
#include <QShortcut>
#include <QTableWidget>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QWheelEvent>
#include <gtest/gtest.h>
#include <memory>
#include <utility>

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
    // An unnamed control is told by its class and the nearest named widget it sits in.
    if (name.isEmpty())
    {
        const QWidget* in = w->parentWidget();
        while (in != nullptr && in->objectName().isEmpty())
            in = in->parentWidget();
        return QStringLiteral("unnamed %1 in %2")
            .arg(QLatin1String(w->metaObject()->className()),
                 in != nullptr ? in->objectName() : QStringLiteral("no named widget"));
    }
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
    if (qobject_cast<QAbstractButton*>(w) || qobject_cast<QComboBox*>(w) || qobject_cast<QLineEdit*>(w) ||
        qobject_cast<QAbstractSlider*>(w) || qobject_cast<QPlainTextEdit*>(w) ||
        qobject_cast<QTextEdit*>(w) || qobject_cast<OpenFileButton*>(w))
        return true;
    // A table's headers are the table's own parts.
    if (qobject_cast<QHeaderView*>(w) != nullptr &&
        qobject_cast<QAbstractItemView*>(w->parentWidget()) != nullptr)
        return false;
    // A list or table takes the mouse when its rows can be picked or edited.
    if (auto* view = qobject_cast<QAbstractItemView*>(w))
        return view->selectionMode() != QAbstractItemView::NoSelection ||
               view->editTriggers() != QAbstractItemView::NoEditTriggers;
    // A scroll area's viewport is the area's own part.
    if (auto* area = qobject_cast<QAbstractScrollArea*>(w->parentWidget()))
        if (area->viewport() == w)
            return false;
    // Any other widget takes input when it takes the focus or follows the pointer: the views, the
    // colour scale.
    return w->focusPolicy() != Qt::NoFocus || w->hasMouseTracking();
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

QSet<QString> Interactive(QWidget* root)
{
    QSet<QString> names;
    for (QWidget* w : root->findChildren<QWidget*>())
    {
        if (!w->isVisible() || !w->isEnabled() || !IsInteractive(w))
            continue;
        // A part of a control that the control's row proves ("proxyButton" of a file tile).
        if (qobject_cast<OpenFileButton*>(w->parentWidget()) != nullptr)
            continue;
        names.insert(ControlName(w));
    }
    return names;
}

bool ScrollBarsSettled(QWidget* root)
{
    QList<QAbstractScrollArea*> areas = root->findChildren<QAbstractScrollArea*>();
    if (auto* own = qobject_cast<QAbstractScrollArea*>(root))
        areas << own;
    for (QAbstractScrollArea* area : areas)
    {
        if (!area->isVisible())
            continue;
        for (const auto& [bar, policy] :
             {std::pair(area->horizontalScrollBar(), area->horizontalScrollBarPolicy()),
              std::pair(area->verticalScrollBar(), area->verticalScrollBarPolicy())})
        {
            const bool due = policy == Qt::ScrollBarAlwaysOn ||
                             (policy == Qt::ScrollBarAsNeeded && bar->minimum() < bar->maximum());
            if (bar->isVisibleTo(area) != due)
                return false;
        }
    }
    return true;
}

QStringList Unnamed(const QSet<QString>& seen, const QSet<QString>& named)
{
    QStringList unnamed;
    for (const QString& name : seen)
        if (!named.contains(name))
            unnamed << name;
    unnamed.sort();
    return unnamed;
}

QStringList Unnamed(QWidget* root, const QSet<QString>& named)
{
    return Unnamed(Interactive(root), named);
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
    // The actions a page or any widget on it carries.
    QList<QWidget*> holders = root->findChildren<QWidget*>();
    holders << root;
    for (QWidget* w : holders)
        for (QAction* a : w->actions())
            for (const QKeySequence& key : a->shortcuts())
                if (a->isEnabled() && !named.contains(key.toString()) && !keys.contains(key.toString()))
                    keys << key.toString();
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

bool DeliveredAnd(QObject* receiver, const std::function<bool()>& settled)
{
    const auto delivered = std::make_shared<bool>(false); // outlives a call still posted at the deadline
    QMetaObject::invokeMethod(
        receiver, [delivered] { *delivered = true; }, Qt::QueuedConnection);
    return QTest::qWaitFor([&] { return *delivered && settled(); }, kDeadline);
}

QImage Frame(const char* view)
{
    auto* v = FindAs<view::VenueView3D>(QLatin1String(view));
    if (v == nullptr)
        return QImage();
    // Settled once the view has taken in every change; a view that never settles is compared as it
    // is at the deadline.
    (void)DeliveredAnd(v, [v] { return !v->NeedsRepaint(); });
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
    if (!here &&
        QTest::qWaitFor([&] { return !dialog->isVisible() || accept->text() != first; }, kDeadline) &&
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

Check ToggleSaves(const char* node, const char* key)
{
    return [node, key](QWidget* control)
    {
        auto* toggle = qobject_cast<QAbstractButton*>(control);
        if (toggle == nullptr)
            return QStringLiteral("not a switch");
        const int steps = UndoSteps();
        const bool before = toggle->isChecked();
        QString wrong;
        for (int click = 1; click <= 2; ++click)
        {
            QTest::mouseClick(control, Qt::LeftButton);
            // Switched at the first click, back at the second.
            if (toggle->isChecked() != (click == 1 ? !before : before))
                wrong +=
                    QStringLiteral("click %1 leaves the switch %2; ").arg(click).arg(toggle->isChecked());
            const QString expected = toggle->isChecked() ? QStringLiteral("true") : QStringLiteral("false");
            const QString saved = FileValue(SavedNode(SavedProject(), node).toUtf8(), key);
            if (saved != expected)
                wrong += QStringLiteral("click %1: %2 saved as \"%3\" with the switch %4; ")
                             .arg(click)
                             .arg(QLatin1String(key), saved, expected);
        }
        if (UndoSteps() != steps + 2)
            wrong += QStringLiteral("two clicks make %1 steps").arg(UndoSteps() - steps);
        return wrong;
    };
}

double ViewScale(const char* view)
{
    auto* v = FindAs<view::VenueView3D>(QLatin1String(view));
    return v != nullptr ? v->GetViewport().pixelsPerMeter() : qQNaN();
}

bool ShowsPoint(const char* view, const QVector3D& point)
{
    auto* v = FindAs<view::VenueView3D>(QLatin1String(view));
    return v != nullptr &&
           v->rect().contains(v->GetViewport().WorldToScreen(math::Vec3(point.x(), point.y(), point.z())));
}

Check ClickZooms(const char* view, bool in)
{
    return [view, in](QWidget* control)
    {
        const double before = ViewScale(view);
        QTest::mouseClick(control, Qt::LeftButton);
        (void)QTest::qWaitFor([&] { return ViewScale(view) != before; }, kDeadline); // checked below
        const double after = ViewScale(view);
        return Expect(in ? after > before : after < before,
                      QStringLiteral("%1 zooms from %2 to %3 pixels per metre")
                          .arg(QLatin1String(view))
                          .arg(before)
                          .arg(after));
    };
}

Check ClickFits(const char* view, const std::function<std::vector<QVector3D>()>& points)
{
    return [view, points](QWidget* control)
    {
        // The zoom buttons of the fit button's own tool bar.
        QWidget* bar = control->parentWidget();
        while (bar != nullptr && Find(QStringLiteral("Toolbar_SliderPlanAddButton"), bar) == nullptr)
            bar = bar->parentWidget();
        if (bar == nullptr)
            return QStringLiteral("no zoom buttons beside it");
        // Fitted once, then zoomed in well past the fit and fitted, then out well below it and fitted.
        QTest::mouseClick(control, Qt::LeftButton);
        const double fit = ViewScale(view);
        QString wrong;
        double fitted[2] = {};
        for (int pass = 0; pass < 2; ++pass)
        {
            const bool in = pass == 0;
            const QString zoom = in ? QStringLiteral("Toolbar_SliderPlanAddButton")
                                    : QStringLiteral("Toolbar_SliderPlanSubtractButton");
            for (int i = 0; i < 40 && (in ? ViewScale(view) < 1.5 * fit : ViewScale(view) > fit / 1.5); ++i)
                Click(zoom, bar);
            const double zoomed = ViewScale(view);
            QTest::mouseClick(control, Qt::LeftButton);
            (void)QTest::qWaitFor([&] { return ViewScale(view) != zoomed; }, kDeadline); // checked below
            fitted[pass] = ViewScale(view);
            if (in ? !(fitted[pass] < zoomed) : !(fitted[pass] > zoomed))
                wrong += QStringLiteral("after %1 the fit goes from %2 to %3 pixels per metre; ")
                             .arg(zoom)
                             .arg(zoomed)
                             .arg(fitted[pass]);
            for (const QVector3D& p : points())
                if (!ShowsPoint(view, p))
                    wrong += QStringLiteral("(%1, %2, %3) is not shown; ").arg(p.x()).arg(p.y()).arg(p.z());
        }
        // The zoom slider's steps leave the two fits a little apart.
        if (qAbs(fitted[0] - fitted[1]) > 0.02 * fitted[0])
            wrong +=
                QStringLiteral("the fits differ: %1 and %2 pixels per metre").arg(fitted[0]).arg(fitted[1]);
        return wrong;
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

Check ClickSwitchesTheme(QWidget* (*root)())
{
    return [root](QWidget* control)
    {
        auto* theme = qobject_cast<QAbstractButton*>(control);
        QLabel* title = nullptr;
        if (QWidget* panel = Find(QStringLiteral("ApplicationSettingsControl"), root()))
            for (auto* label : panel->findChildren<QLabel*>())
                if (label->text() == QLatin1String("APPLICATION SETTINGS"))
                    title = label;
        if (theme == nullptr || title == nullptr)
            return QStringLiteral("no theme switch or no settings title");
        // The title's text colour of each theme: on is light, off is dark.
        auto themed = [&]
        {
            const QColor expected(theme->isChecked() ? "#242424" : "#F8F8F8");
            return QTest::qWaitFor(
                [&] { return title->palette().color(title->foregroundRole()) == expected; }, kDeadline);
        };
        const bool first = themed();
        const bool wasLight = theme->isChecked();
        QTest::mouseClick(control, Qt::LeftButton);
        const bool switched = theme->isChecked() != wasLight && themed();
        QTest::mouseClick(control, Qt::LeftButton);
        const bool back = theme->isChecked() == wasLight && themed();
        return Expect(
            first && switched && back,
            QStringLiteral("the title shows %1 with the switch %2 (themed first %3, switched %4, back %5)")
                .arg(title->palette().color(title->foregroundRole()).name(),
                     theme->isChecked() ? "on" : "off")
                .arg(first)
                .arg(switched)
                .arg(back));
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

QByteArray SavedProject()
{
    // Gone first: what is read is what this save wrote.
    const QString path = Home() + QStringLiteral("/Documents/controls.tq");
    QFile::remove(path);
    QAction* saveAs = Window()->findChild<QAction*>(QStringLiteral("actionSaveAs"));
    if (saveAs == nullptr || !AnswerFileDialog([saveAs] { saveAs->trigger(); }, path))
        return QByteArray();
    // The keys go to the window again, as they do for the user once the dialog has gone.
    Activate();
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString SavedNode(const QByteArray& content, const char* type, int index)
{
    const QRegularExpression pattern(QStringLiteral("<%1>(.*?)</%1>").arg(QLatin1String(type)),
                                     QRegularExpression::DotMatchesEverythingOption);
    QRegularExpressionMatchIterator it = pattern.globalMatch(QString::fromUtf8(content));
    for (int i = 0; it.hasNext(); ++i)
    {
        const QRegularExpressionMatch match = it.next();
        if (i == index)
            return match.captured(1);
    }
    return QString();
}

double NodeNumber(const QString& node, const char* key)
{
    // A node's own elements come before its children's.
    const QString text = FileValue(node.toUtf8(), key);
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok ? value : qQNaN();
}

namespace
{
// A saved "| a b c d || ... |" matrix, row by row; empty when it does not hold 16 numbers.
QVector<double> NodeTransform(const QString& node)
{
    QVector<double> m;
    for (const QString& part : FileValue(node.toUtf8(), "Transform")
                                   .split(QRegularExpression(QStringLiteral("[|\\s]+")), Qt::SkipEmptyParts))
        m << part.toDouble();
    return m.size() == 16 ? m : QVector<double>();
}

QVector3D Transformed(const QVector<double>& m, const QVector3D& p)
{
    if (m.isEmpty())
        return QVector3D(qQNaN(), qQNaN(), qQNaN());
    QVector3D out;
    for (int r = 0; r < 3; ++r)
        out[r] = float(m[4 * r] * p.x() + m[4 * r + 1] * p.y() + m[4 * r + 2] * p.z() + m[4 * r + 3]);
    return out;
}
} // namespace

QVector3D NodePosition(const QString& node)
{
    return Transformed(NodeTransform(node), QVector3D());
}

std::array<QVector3D, 4> NodeCorners(const QString& node)
{
    const QVector<double> m = NodeTransform(node);
    std::array<QVector3D, 4> corners;
    const char* keys[] = {"P1", "P2", "P3", "P4"};
    for (int i = 0; i < 4; ++i)
    {
        // "(x,y,z)"
        const QStringList xyz = FileValue(node.toUtf8(), keys[i]).remove('(').remove(')').split(',');
        corners[i] = xyz.size() == 3
                         ? Transformed(m, QVector3D(xyz[0].toFloat(), xyz[1].toFloat(), xyz[2].toFloat()))
                         : QVector3D(qQNaN(), qQNaN(), qQNaN());
    }
    return corners;
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
        {"ColorTheme", "click twice", ClickSwitchesTheme(root)},
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

QString SaveProjectAs(const QString& path)
{
    QFile::remove(path);
    QAction* saveAs = Window()->findChild<QAction*>(QStringLiteral("actionSaveAs"));
    if (saveAs == nullptr || !AnswerFileDialog([saveAs] { saveAs->trigger(); }, path))
        return QString();
    return FileText(path);
}

Check RenameReachesFile(const QString& name)
{
    return [name](QWidget* control)
    {
        auto* list = qobject_cast<QTableWidget*>(control);
        QTableWidgetItem* item = list != nullptr ? list->item(0, 1) : nullptr;
        if (item == nullptr)
            return QStringLiteral("no list with a named row");
        Activate();
        // A double click as the desktop delivers it: a click, which chooses the row, then the
        // double click.
        const QPoint at = list->visualItemRect(item).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        if (!QTest::qWaitFor([&] { return list->selectedItems().contains(item); }, kDeadline))
            return QStringLiteral("a click does not choose the row");
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        QLineEdit* editor = nullptr;
        if (!QTest::qWaitFor(
                [&]
                {
                    editor = list->findChild<QLineEdit*>();
                    return editor != nullptr && editor->isVisible();
                },
                kDeadline))
            return QStringLiteral("a double click opens no name field");
        editor->selectAll();
        QTest::keyClicks(editor, name);
        QTest::keyClick(editor, Qt::Key_Return);
        const bool shown = QTest::qWaitFor([&] { return item->text() == name; }, kDeadline);
        const QString saved = SaveProjectAs(Home() + QStringLiteral("/Documents/Renamed.tq"));
        const QString element = QStringLiteral("<Name>%1</Name>").arg(name);
        return Expect(shown && saved.contains(element),
                      QStringLiteral("the row reads %1; the saved file %2 %3")
                          .arg(item->text(), saved.isEmpty() ? "is missing, so lacks" : "lacks", element));
    };
}

void Wheel(QWidget* widget, int notches)
{
    const QPoint at = widget->rect().center();
    QWheelEvent wheel(QPointF(at), QPointF(widget->mapToGlobal(at)), QPoint(), QPoint(0, 120 * notches),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &wheel);
}

Check WheelZooms(const std::function<QAbstractSlider*()>& zoom)
{
    return [zoom](QWidget* view)
    {
        QAbstractSlider* slider = zoom();
        if (slider == nullptr)
            return QStringLiteral("no zoom slider");
        const int before = slider->value();
        Wheel(view, 1);
        const bool in = QTest::qWaitFor([&] { return slider->value() > before; }, kDeadline);
        const int zoomed = slider->value();
        Wheel(view, -1);
        const bool out = QTest::qWaitFor([&] { return slider->value() < zoomed; }, kDeadline);
        return Expect(in && out, QStringLiteral("the zoom went from %1 to %2, then to %3")
                                     .arg(before)
                                     .arg(zoomed)
                                     .arg(slider->value()));
    };
}

// Keys pressed where the user types, once the main window takes them.
void PressWhereTyping(const QKeySequence& keys)
{
    Activate();
    ASSERT_TRUE(QTest::qWaitFor([] { return QGuiApplication::focusWindow() == Window()->windowHandle(); },
                                kDeadline));
    QWidget* focus = QApplication::focusWidget();
    QTest::keySequence(focus != nullptr ? focus : Window(), keys);
}

// The visible entity list of the page shown.
QTableWidget* ShownList()
{
    for (auto* table : Window()->findChildren<QTableWidget*>())
        if (table->isVisible())
            return table;
    return nullptr;
}

// Clicks into the named field until it keeps the focus, then types text over what it shows and
// leaves the entry open: no Return, no Tab. "list" is the name cell of the list's first row.
void TypeWithoutReturn(const char* name, const QString& text)
{
    if (QLatin1String(name) == QLatin1String("list"))
    {
        Activate();
        QTableWidget* list = ShownList();
        ASSERT_NE(list, nullptr);
        ASSERT_GT(list->rowCount(), 0);
        const QRect cell = list->visualRect(list->model()->index(0, 1));
        QLineEdit* editor = nullptr;
        ASSERT_TRUE(QTest::qWaitFor(
            [&]
            {
                editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
                if (editor == nullptr || editor->parentWidget() != list->viewport())
                {
                    editor = nullptr;
                    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
                }
                return editor != nullptr;
            },
            kDeadline))
            << "no editor opens on the list's name cell";
        editor->selectAll();
        QTest::keyClicks(editor, text);
        return;
    }
    QWidget* control = Locate(QLatin1String(name), Window());
    ASSERT_NE(control, nullptr) << name << " is not shown";
    ASSERT_TRUE(control->isEnabled()) << name << " is disabled";
    Activate(control->window());
    auto* notes = qobject_cast<QPlainTextEdit*>(control);
    QWidget* target = notes != nullptr ? notes->viewport() : control;
    // The field selects its number a moment after it takes the focus: it is typed over after that.
    ASSERT_TRUE(windowtest::ClickUntilFocused(target, control, kDeadline))
        << name << " does not keep the focus";
    if (notes != nullptr)
        notes->selectAll();
    else
        qobject_cast<QLineEdit*>(control)->selectAll();
    QTest::keyClicks(control, text);
}
} // namespace zorvpro::acceptance
