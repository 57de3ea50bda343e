#pragma once

// What every page's control table shares: a row names a control and says what the user
// does to it and what must follow; a walk of the live widget tree fails on any enabled control
// no row names, so a control without a proved effect cannot land unnoticed.

#include <QImage>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QVector3D>
#include <QWidget>
#include <array>
#include <functional>
#include <vector>

class QAbstractSlider;
class QKeySequence;
class QMenu;
class QTableWidget;

namespace zorvpro::acceptance
{
constexpr int kDeadline = 10000;

// Stands in for the desktop's opener of local files while it is installed.
class UrlOpener : public QObject
{
    Q_OBJECT
public:
    UrlOpener();
    ~UrlOpener() override;
    QUrl url;
public slots:
    void open(const QUrl& u) { url = u; }
};

// Empty when the effect was there, else what the user would see wrong.
using Check = std::function<QString(QWidget* control)>;

struct ControlRow
{
    const char* control; // object name, property item name or key sequence
    const char* action;
    Check check;
};

QString Expect(bool ok, const QString& what);

// The name a control is known by: its own, or for the edit of a property its property's
// ("Cluster_GainEdit" is "Cluster_Gain").
QString ControlName(QWidget* w);
bool IsInteractive(QWidget* w);
// The named control below root: a property's edit, a property's combo box, or the widget.
QWidget* Locate(const QString& name, QWidget* root);
// Runs each row on its control below root; a failure names the control. The names run.
QSet<QString> RunRows(QWidget* root, const std::vector<ControlRow>& rows);
// The names of the enabled, visible interactive controls below root, as a walk sees them now.
QSet<QString> Interactive(QWidget* root);
// Whether each bar of the shown scroll areas below root (root too) is shown just when its policy
// and range ask for it. A scroll area shows or hides its bars only a moment after a relayout set
// their ranges (a queued call), so a walk in between would see a bar on its way out or miss one due.
bool ScrollBarsSettled(QWidget* root);
// The names seen that named does not hold, sorted.
QStringList Unnamed(const QSet<QString>& seen, const QSet<QString>& named);
// The enabled, visible interactive controls below root that named does not hold.
QStringList Unnamed(QWidget* root, const QSet<QString>& named);
// The key sequences of the shortcuts and shortcut buttons below root that named does not hold.
QStringList UnnamedShortcuts(QWidget* root, const QSet<QString>& named);

int UndoSteps();
// Waits up to the deadline until the events posted to receiver so far have been delivered (a
// relayout, a zoom passed on) and settled holds; a load that slows the event loop cannot cut the
// wait short. Whether both came about.
bool DeliveredAnd(QObject* receiver, const std::function<bool()>& settled);
// What the named view shows once it has drawn what is pending; null when it is not shown.
QImage Frame(const char* view);
// Whether the named view comes to show something other than before within the deadline.
bool FrameChanges(const char* view, const QImage& before);
// The visible top-level window of that title, waiting for it up to the deadline.
QWidget* WaitForWindow(const QString& title);
// Opens the main window's menu through action (a click or a key), the window activated first, and
// runs use on it while it is open; false when no menu opened.
bool UseMenu(const std::function<void()>& action, const std::function<void(QMenu*)>& use);
// Clicks the menu entry with that object name; false when it is not in the menu.
bool ClickMenuEntry(QMenu* menu, const QString& name);
// Answers a file dialog by typing path into its name field and pressing Return.
void TypeFileName(QWidget* dialog, const QString& path);
// Runs action and answers the file dialog it opens with path, dropping unsaved changes should it
// ask first; false when no file dialog opened.
bool AnswerFileDialog(const std::function<void()>& action, const QString& path);
// The rows of the entity list of the page shown.
int ListRows();

// Makes the window (the main window when null) the one that takes the keys, as the desktop does
// for the window the user works in (windowtest::Activate): a field without the focus never
// commits what is typed, and a menu opened before Qt has the focus closes again.
void Activate(QWidget* window = nullptr);

// Common checks.
Check TypeMakesOneStep(const QString& text);
// Types text, ends with Return and moves on with Tab: one undo step, the field shows the change.
Check TypeAndMoveOnMakesOneStep(const QString& text);
Check ChooseMakesOneStep(int index);
// Two clicks on a switch, each one undo step: after each the saved project's first node of that
// type holds in key what the switch shows.
Check ToggleSaves(const char* node, const char* key);
// The named view's scale in pixels per metre; NaN when it is not shown.
double ViewScale(const char* view);
// Whether the named view shows the point inside its frame.
bool ShowsPoint(const char* view, const QVector3D& point);
// A click zooms the named view in (its scale grows) or out (it shrinks).
Check ClickZooms(const char* view, bool in);
// Zoom to fit, from a view zoomed in and from one zoomed out by the tool bar's own buttons: each
// fit comes to the same scale, the first zooming out and the second in, and shows every point.
Check ClickFits(const char* view, const std::function<std::vector<QVector3D>()>& points);
Check SlideChangesView(const char* view);

// The settings panels of the start page and the settings dialog.
// The text the named property's field shows.
QString Shown(const char* name);
// Types text into the field (a line edit or the notes); the saved file is checked afterwards.
Check TypeForFile(const QString& text);
// A click on a switch changes what the named field shows; a second click brings it back.
Check ClickConvertsField(const char* field);
// A click on the theme switch turns the colour of root's application settings title into the one
// of the theme the switch shows; a second click turns it back.
Check ClickSwitchesTheme(QWidget* (*root)());
// The text of the file's element key.
QString FileValue(const QByteArray& content, const char* key);
// The file's text; empty when it cannot be read.
QString FileText(const QString& path);
// Saves the project as a user does, through "Save Project As..." and its file dialog; the text.
QByteArray SavedProject();
// The element of the index-th node of that type ("QuadNode") in a saved file; empty when none.
QString SavedNode(const QByteArray& content, const char* type, int index = 0);
// The number a node's element holds; NaN when it has none.
double NodeNumber(const QString& node, const char* key);
// Where a saved node's transform puts its origin.
QVector3D NodePosition(const QString& node);
// A saved surface's corners P1 to P4 where its transform puts them.
std::array<QVector3D, 4> NodeCorners(const QString& node);
// What the settings rows type into the project's fields.
struct SettingsTyped
{
    QString venue, designer, version, notes, temperature, humidity, earHeight;
};
// The rows of the settings panel; root is the window whose colours the theme switch changes.
std::vector<ControlRow> SettingsRows(const SettingsTyped& typed, QWidget* (*root)());
// The saved file holds what the settings rows typed and the air absorption switched from airBefore.
void ExpectSettingsSaved(const QByteArray& content, const SettingsTyped& typed, bool airBefore);
// Presses the keys on the main window once it takes them.
void PressOnWindow(const QKeySequence& keys);

// Saves the project through "Save Project As..." into path; the file's text, empty when none.
QString SaveProjectAs(const QString& path);
// A name typed over the first row's name in an entity list is shown there and lands in the file
// saved afterwards.
Check RenameReachesFile(const QString& name);
// Turns the mouse wheel over the widget's middle by notches (negative: towards the user).
void Wheel(QWidget* widget, int notches);
// The wheel turned away from the user over a view zooms it in, the zoom slider rising; turned
// back, it zooms out again.
Check WheelZooms(const std::function<QAbstractSlider*()>& zoom);
// Keys pressed where the user types (the field with the focus), once the main window takes them.
void PressWhereTyping(const QKeySequence& keys);
// The visible entity list of the page shown.
QTableWidget* ShownList();
// Clicks into the named field until it keeps the focus, then types text over what it shows and
// leaves the entry open: no Return, no Tab. "list" is the name cell of the list's first row.
void TypeWithoutReturn(const char* name, const QString& text);
} // namespace zorvpro::acceptance
