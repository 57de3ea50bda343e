#pragma once

// The shell suites' world: the generated "TQR40V" module in the library, a
// project of its own per test, modal boxes answered and the desktop's URL
// handler replaced by a recorder.

#include "tests/bridge/BridgeTestSupport.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QMessageBox>
#include <QPixmap>
#include <QTimer>
#include <QUrl>
#include <QWidget>

namespace zorvpro::test
{

// Receives the URLs the code asks the desktop to open.
class UrlRecorder : public QObject
{
    Q_OBJECT

public:
    UrlRecorder() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "open"); }
    ~UrlRecorder() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }

    QList<QUrl> urls;

public slots:
    void open(const QUrl& url) { urls << url; }
};

// Runs action, which opens a modal box, and closes the first modal box that
// appears; returns its title and text ("" when none appeared).
template <typename Action> QStringList AnswerWarning(Action action)
{
    QStringList seen;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout,
                     [&]
                     {
                         if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                         {
                             seen = QStringList{box->windowTitle(), box->text()};
                             box->accept();
                         }
                     });
    poll.start(10);
    action();
    return seen;
}

// Saves a picture of a widget beside the test executables for a person to look at.
inline void SaveScreenshot(QWidget& widget, const QString& name)
{
    const QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/screenshots");
    QDir().mkpath(folder);
    widget.grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
}

} // namespace zorvpro::test
