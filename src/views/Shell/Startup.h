#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QApplication;
class QSplashScreen;

namespace zorvpro
{
class MainWindow;

// Before any application object: no shader disk cache, high-DPI scaling and
// pixmaps, and OpenGL ES unless "--auto_gl" is among the arguments.
void PrepareApplicationAttributes(int argc, char** argv);

// The program's start-up and shutdown around the event loop, in their fixed
// order (RunProgram takes them one after the other).
class ProgramStart
{
public:
    explicit ProgramStart(QApplication& application);
    ~ProgramStart();

    // Reads "--auto_gl" and "--dx"; an unknown option ends the process with
    // the parser's message and exit code. The "dx" flag goes to the
    // application object and is returned.
    bool ParseCommandLine();
    // Surface format, names, style, locale, splash, theme, logging, node
    // types and loudspeaker data, then the window with the file to open,
    // theme and tool-bar position; shows the window.
    MainWindow* Start();
    // The file a start-up opens: the file-open event's, else the last
    // argument when there is more than one argument and it exists.
    static QString FileToOpen(const QString& fromEvent, const QStringList& arguments);
    // The file the command line names, there or not: the last argument when
    // there is more than one and it is no option.
    static QString FileNamed(const QStringList& arguments);
    // Deletes the window, then the splash.
    void Finish();

    MainWindow* Window() const { return window.get(); }

private:
    QApplication& application;
    std::unique_ptr<QSplashScreen> splash;
    std::unique_ptr<MainWindow> window;
};

void InitLogging();

// The program's life in its fixed order: application attributes, the application object, the
// command line, then run (which calls Start and does what the process is for: the event loop in
// main, the tests in a test program), the start-up's finish and the application's shutdown. An
// exception escaping a step is logged and gives 1; no application object gives -1.
int RunProgram(int argc, char** argv, const std::function<int(ProgramStart&)>& run);
} // namespace zorvpro
