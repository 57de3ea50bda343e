#pragma once

// The program as a user meets it: started once per process by main's own start-up steps, with
// "--dx", in private home, data and config folders that hold the generated array data set. The
// helpers below only find widgets, press, type and read what is shown.

#include "../support/WindowTestSupport.h"

#include <QString>
#include <QWidget>
#include <functional>

namespace zorvpro
{
class MainWindow;
}

namespace zorvpro::acceptance
{
MainWindow* Window();
QString Home();

// The visible widget of that object name below root (the window when null); null when none.
QWidget* Find(const QString& name, QWidget* root = nullptr);
template <typename W> W* FindAs(const QString& name, QWidget* root = nullptr)
{
    return qobject_cast<W*>(Find(name, root));
}
// A left click in the middle of the named visible widget; false when there is none.
bool Click(const QString& name, QWidget* root = nullptr);
// The speaker page's frame that holds a tool bar ("planToolbarContainerFrame", ...).
QWidget* SpeakerFrame(const char* name);
// Replaces the text of a line edit as a user types it, ending with Return.
void Type(QWidget* edit, const QString& text);
// Calls an automation operation without arguments and returns its text.
QString Invoke(const char* method);
// A new project on the venue page with its one surface.
void NewProjectOnVenuePage();
// A new project on the speaker page with one array added from the plan tool bar, selected.
void NewProjectWithOneArray();
// Runs answer on the next modal window opened while action runs; its title.
using windowtest::AnswerModal;
} // namespace zorvpro::acceptance

namespace zorvpro::acceptance
{
// Runs action and answers "Discard" should it ask to save the changes.
void DiscardIfAsked(const std::function<void()>& action);
} // namespace zorvpro::acceptance
