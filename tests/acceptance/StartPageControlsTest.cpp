// Every control of the start page, with what the user does and what must follow: the project
// settings typed here land in the saved file, the application settings change what is shown,
// and the tiles open projects.
#include "AcceptanceEnv.h"
#include "ControlTable.h"

#include "views/Shell/MainWindow.h"

#include <QAbstractButton>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>

namespace zorvpro::acceptance
{
namespace
{
QString Saved(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

TEST(Controls, EveryControlOfTheStartPageHasItsEffect)
{
    ASSERT_TRUE(QTest::qWaitFor([] { return Find(QStringLiteral("continueButton")) != nullptr; }, kDeadline));
    Activate();
    auto* air = FindAs<QAbstractButton>(QStringLiteral("AirAbsorb"));
    ASSERT_NE(air, nullptr);
    const bool airBefore = air->isChecked();
    QSet<QString> named =
        RunRows(Window(),
                {
                    {"ProjectVenue", "type Hall Nord", TypeForFile(QStringLiteral("Hall Nord"))},
                    {"ProjectDesigner", "type Ana Kos", TypeForFile(QStringLiteral("Ana Kos"))},
                    {"ProjectVersion", "type v7", TypeForFile(QStringLiteral("v7"))},
                    {"ProjectNotes", "type Stage left", TypeForFile(QStringLiteral("Stage left"))},
                    {"Temperature", "type 25", TypeForFile(QStringLiteral("25"))},
                    {"Humidity", "type 63", TypeForFile(QStringLiteral("63"))},
                    {"EarHeight", "type 1.5", TypeForFile(QStringLiteral("1.5"))},
                    {"AirAbsorb", "click",
                     [](QWidget* c)
                     {
                         QTest::mouseClick(c, Qt::LeftButton);
                         return QString();
                     }},
                    {"MeasurementUnits", "click twice", ClickConvertsField("EarHeight")},
                    {"TemperatureUnits", "click twice", ClickConvertsField("Temperature")},
                    {"ColorTheme", "click twice", ClickRepaints([]() -> QWidget* { return Window(); })},
                });
    named << QStringLiteral("continueButton") << QStringLiteral("ResetButton")
          << QStringLiteral("openDocButton") << QStringLiteral("recDoc1Button");
    const QStringList unnamed = Unnamed(Window(), named);
    EXPECT_TRUE(unnamed.isEmpty()) << "enabled controls without a row: " << unnamed.join(", ").toStdString();

    // continueButton: a new project with one surface on the venue page, holding what was typed.
    ASSERT_TRUE(Click(QStringLiteral("continueButton")));
    EXPECT_TRUE(QTest::qWaitFor(
        [] { return Find(QStringLiteral("openGLPlan")) != nullptr && ListRows() == 1; }, kDeadline))
        << "continueButton: no new project on the venue page";
    const QString path = Home() + QStringLiteral("/Documents/StartPage.tq");
    ASSERT_TRUE(AnswerFileDialog(
        []
        {
            Activate();
            QTest::keySequence(Window(), QKeySequence(QStringLiteral("Ctrl+Shift+S")));
        },
        path));
    const QByteArray content = Saved(path).toUtf8();
    const struct
    {
        const char* control;
        const char* key;
        QString value;
    } saved[] = {
        {"ProjectVenue", "SettingsVenue", QStringLiteral("Hall Nord")},
        {"ProjectDesigner", "SettingsDesigner", QStringLiteral("Ana Kos")},
        {"ProjectVersion", "SettingsVersion", QStringLiteral("v7")},
        {"ProjectNotes", "SettingsNotes", QStringLiteral("Stage left")},
        {"Temperature", "Temperature", QStringLiteral("25")},
        {"Humidity", "Humidity", QStringLiteral("63")},
        {"EarHeight", "DefaultEarHeight", QStringLiteral("1.5")},
        {"AirAbsorb", "AirAbsorption", airBefore ? QStringLiteral("false") : QStringLiteral("true")},
    };
    for (const auto& s : saved)
        EXPECT_EQ(FileValue(content, s.key), s.value)
            << s.control << ": the saved file holds another " << s.key;

    // ResetButton, on the start page of the next new project.
    DiscardIfAsked(
        []
        {
            Activate();
            QTest::keySequence(Window(), QKeySequence(QKeySequence::New));
        });
    ASSERT_TRUE(QTest::qWaitFor([] { return Find(QStringLiteral("continueButton")) != nullptr; }, kDeadline));
    Activate();
    Type(Find(QStringLiteral("HumidityEdit")), QStringLiteral("77"));
    const QString typed = Shown("Humidity");
    ASSERT_TRUE(Click(QStringLiteral("ResetButton")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return Shown("Humidity") != typed; }, kDeadline))
        << "ResetButton: Humidity still shows " << typed.toStdString();

    // recDoc1Button: the saved project is offered and opens.
    ASSERT_NE(Find(QStringLiteral("recDoc1Button")), nullptr) << "recDoc1Button: no tile for the saved file";
    EXPECT_TRUE(Unnamed(Window(), named).isEmpty())
        << "enabled controls without a row: " << Unnamed(Window(), named).join(", ").toStdString();
    DiscardIfAsked([] { Click(QStringLiteral("recDoc1Button")); });
    EXPECT_TRUE(QTest::qWaitFor([] { return Window()->windowTitle().contains(QStringLiteral("StartPage")); },
                                kDeadline))
        << "recDoc1Button: the saved project does not open (title " << Window()->windowTitle().toStdString()
        << ")";

    // openDocButton: a file dialog whose answer opens that project.
    DiscardIfAsked(
        []
        {
            Activate();
            QTest::keySequence(Window(), QKeySequence(QKeySequence::New));
        });
    ASSERT_TRUE(QTest::qWaitFor([] { return Find(QStringLiteral("continueButton")) != nullptr; }, kDeadline));
    EXPECT_TRUE(AnswerFileDialog([] { Click(QStringLiteral("openDocButton")); }, path))
        << "openDocButton: no file dialog";
    EXPECT_TRUE(QTest::qWaitFor(
        [] { return Window()->windowTitle().contains(QStringLiteral("StartPage")) && ListRows() == 1; },
        kDeadline))
        << "openDocButton: the chosen project does not open";
}
} // namespace
} // namespace zorvpro::acceptance
