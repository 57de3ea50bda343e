// Start-up as the user and the desktop see it: resources, options, the file
// to open, the style and the number format.
#include "ProgramTestEnv.h"

#include "views/Shell/Startup.h"

#include <QApplication>
#include <QCursor>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QImage>
#include <QLocale>
#include <QProcess>
#include <QStyle>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>

namespace zorvpro::programtest
{
TEST(Startup, EveryNamedResourceLoads)
{
    QStringList images = {QStringLiteral(":/Resources/Graphics/splash.png"),
                          QStringLiteral(":/Resources/Icons/ZorvTessary.ico"),
                          QStringLiteral(":/Resources/Icons/ZorvTessary.png"),
                          QStringLiteral(":/Resources/Cursors/rotate_win.png"),
                          QStringLiteral(":/Resources/Icons/ComboBox_DropDown_Arrow.png")};
    for (const char* theme : {"dark", "light"})
        for (const char* way : {"horiz", "vert"})
            images << QStringLiteral(":/Resources/Icons/splitter_%1_%2.png")
                          .arg(QLatin1String(way), QLatin1String(theme));
    for (const char* tile : {"OpenFile", "RecentFile"})
        for (const char* theme : {"Light", "Dark"})
            for (const char* state : {"Hover", "Active"})
                images << QStringLiteral(":/Resources/Buttons/%1_%2_%3_On.png")
                              .arg(QLatin1String(tile), QLatin1String(theme), QLatin1String(state));
    for (const char* theme : {"Dark", "Light"})
        for (const char* mode : {"Normal", "Active", "Disabled"})
            images << QStringLiteral(":/Resources/Icons/Hamburger_%1_%2_Off.png")
                          .arg(QLatin1String(theme), QLatin1String(mode));
    for (const QString& path : images)
    {
        const QImage image(path);
        EXPECT_FALSE(image.isNull()) << path.toStdString();
        // Drawn, not blank.
        bool drawn = false;
        for (int y = 0; y < image.height() && !drawn; ++y)
            for (int x = 0; x < image.width() && !drawn; ++x)
                drawn = image.pixel(x, y) != image.pixel(0, 0);
        EXPECT_TRUE(drawn) << path.toStdString();
    }
    EXPECT_GE(QImage(QStringLiteral(":/Resources/Graphics/splash.png")).width(), 400);

    for (const char* path : {":/Resources/Help/default.htm", ":/Resources/Documents/EULA.pdf",
                             ":/Resources/Fonts/Gotham-Book.otf", ":/Resources/Fonts/Gotham-Bold.otf"})
    {
        QFile file{QString::fromLatin1(path)};
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path;
        EXPECT_GT(file.size(), 1000) << path;
    }
}

TEST(Startup, StyleLocaleAndFileToOpen)
{
    EXPECT_EQ(QApplication::style()->styleHint(QStyle::SH_UnderlineShortcut), 1);
    EXPECT_EQ(QLocale().toString(12345), QStringLiteral("12345"));
    EXPECT_EQ(QLocale().toString(1234567.5, 'f', 1), QStringLiteral("1234567.5"));
    EXPECT_EQ(QCoreApplication::organizationName(), QStringLiteral("Zorv"));
    EXPECT_EQ(QCoreApplication::applicationName(), QStringLiteral("Zorv Tessary"));

    QTemporaryDir dir;
    const QString there = dir.filePath(QStringLiteral("there.tq"));
    QFile(there).open(QIODevice::WriteOnly);
    const QString missing = dir.filePath(QStringLiteral("missing.tq"));
    struct Case
    {
        QString event;
        QStringList arguments;
        QString expected;
    };
    const Case cases[] = {
        {QString(), {QStringLiteral("prog")}, QString()},
        {QString(), {QStringLiteral("prog"), there}, there},
        {QString(), {QStringLiteral("prog"), there, missing}, QString()},
        {QString(), {QStringLiteral("prog"), missing, there}, there},
        {QStringLiteral("/from/event.tq"), {QStringLiteral("prog"), there}, QStringLiteral("/from/event.tq")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ProgramStart::FileToOpen(c.event, c.arguments), c.expected)
            << c.arguments.join(' ').toStdString();
}

TEST(Startup, UnknownOptionEndsWithTheParsersMessage)
{
    struct Case
    {
        QStringList arguments;
        const char* message;
    };
    const Case cases[] = {{{QStringLiteral("--bogus")}, "Unknown option 'bogus'"},
                          {{QStringLiteral("-dx")}, "Unknown options: d, x"}};
    for (const Case& c : cases)
    {
        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(ZORV_PROGRAM_PATH), c.arguments);
        ASSERT_TRUE(program.waitForFinished(60000)) << c.message;
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << c.message;
        EXPECT_EQ(program.exitCode(), 1) << c.message;
        EXPECT_TRUE(program.readAllStandardError().contains(c.message)) << c.message;
    }
}
} // namespace zorvpro::programtest

namespace zorvpro::programtest
{
// The line a start-up benchmark times: written once the window's first expose is painted.
TEST(Startup, FirstFrameLineWhenAsked)
{
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ZORV_FIRST_FRAME_MARK"), QStringLiteral("1"));
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(ZORV_PROGRAM_PATH), QStringList());
    QByteArray output;
    const QDeadlineTimer deadline(60000);
    while (!output.contains('\n') && program.state() != QProcess::NotRunning && !deadline.hasExpired())
        if (program.waitForReadyRead(int(std::max<qint64>(1, deadline.remainingTime()))))
            output += program.readAllStandardOutput();
    program.kill();
    program.waitForFinished(10000);
    EXPECT_EQ(output, QByteArray("first-frame\n"));
}
} // namespace zorvpro::programtest
