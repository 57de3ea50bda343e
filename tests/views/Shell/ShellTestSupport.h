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

// Stands in for the application-wide theme sheet while pages are pictured:
// page colours, text fields and buttons. Cleared again when it goes.
class ApplicationStyle
{
public:
    explicit ApplicationStyle(int theme)
    {
        const bool l = theme == 1;
        qApp->setStyleSheet(QString("QWidget { font-size: 12px; background-color: %1; color: %2; } "
                                    "QLineEdit, QPlainTextEdit { border: 0.5px solid %3; color: %4; } "
                                    "QLineEdit { border: none; border-bottom: 0.5px solid %3; } "
                                    "QPushButton { background-color: %5; border-radius: 12px; color: %6; }")
                                .arg(l ? "#F8F8F8" : "#141414", l ? "#575757" : "#aaaaaa",
                                     l ? "#aaaaaa" : "#777777", l ? "#000000" : "#FFFFFF",
                                     l ? "#e0e0e0" : "#3b3b3b", l ? "#000000" : "#F8F8F8"));
    }
    ~ApplicationStyle() { qApp->setStyleSheet(QString()); }
};

// Saves a picture of a widget beside the test executables for a person to look at.
inline void SaveScreenshot(QWidget& widget, const QString& name)
{
    const QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/screenshots");
    QDir().mkpath(folder);
    widget.grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
}

} // namespace zorvpro::test
