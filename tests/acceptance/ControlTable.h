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
#include <QWidget>
#include <functional>
#include <vector>

class QKeySequence;
class QMenu;

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
// The enabled, visible interactive controls below root that named does not hold.
QStringList Unnamed(QWidget* root, const QSet<QString>& named);
// The key sequences of the shortcuts and shortcut buttons below root that named does not hold.
QStringList UnnamedShortcuts(QWidget* root, const QSet<QString>& named);

int UndoSteps();
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
Check ToggleMakesSteps();
Check ClickChangesView(const char* view, bool twice);
Check SlideChangesView(const char* view);

// The settings panels of the start page and the settings dialog.
// The text the named property's field shows.
QString Shown(const char* name);
// Types text into the field (a line edit or the notes); the saved file is checked afterwards.
Check TypeForFile(const QString& text);
// A click on a switch changes what the named field shows; a second click brings it back.
Check ClickConvertsField(const char* field);
// A click changes the colours of root's window; a second click brings them back.
Check ClickRepaints(QWidget* (*root)());
// The text of the file's element key.
QString FileValue(const QByteArray& content, const char* key);
// The file's text; empty when it cannot be read.
QString FileText(const QString& path);
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
} // namespace zorvpro::acceptance
