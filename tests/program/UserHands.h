#pragma once

// What a user does with the keyboard and mouse in the main window, shared by
// the window tests.

#include <QString>
#include <QWidget>
#include <functional>

class QPushButton;
class QTableWidget;

namespace zorvpro::programtest
{
// The shown widget of that object name, or null.
QWidget* ShownWidget(const char* name);
template <typename T = QWidget> T* Shown(const char* name)
{
    return qobject_cast<T*>(ShownWidget(name));
}

// Lets every report the widgets queued arrive.
void Settle();
// Opens the drop-down list with the mouse, walks to the option with the
// arrow keys and takes it with Return.
void Choose(const char* name, const QString& option);
// Opens the drop-down list with the mouse and closes it with Escape.
void OpenAndClose(const char* name);
// Clicks into the field, types over its number and presses Return.
void Type(const char* name, const QString& text);
// The tab bar's button of that name.
QPushButton* TabButton(const char* name);
// Shows the window normal, at that size, on the screen.
void ShowAt(int width, int height);
// Makes the window the one that takes the keys (windowtest::Activate); fails the test otherwise.
void ActivateWindow();
// "New Project" from the menu, dropping the project's changes when asked: the start page.
void BackToStartPage();
// Starts a new project from the start page: the venue tab.
void StartProject();
// Starts a new project from the start page and shows the speaker tab with the window active.
void StartOnSpeakerTab();
// The speaker tab's list of arrays.
QTableWidget* ArrayList();
// Clicks the name of the list row, with the keys held.
void ClickRow(int row, Qt::KeyboardModifiers keys = Qt::NoModifier);
// Saves with the Save command; the saved file's bytes.
QByteArray SaveAndRead();
// Saves under a new name through the Save As dialog.
void SaveAs(const QString& path);
// Answers a save or open dialog with the path, typed into its name field.
std::function<void(QWidget*)> TypeFileName(const QString& path);
} // namespace zorvpro::programtest
