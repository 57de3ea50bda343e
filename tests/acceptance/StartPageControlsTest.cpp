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
#include <QStackedWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace zorvpro::acceptance
{
namespace
{
const SettingsTyped kTyped = {QStringLiteral("Hall Nord"),  QStringLiteral("Ana Kos"), QStringLiteral("v7"),
                              QStringLiteral("Stage left"), QStringLiteral("25"),      QStringLiteral("63"),
                              QStringLiteral("1.5")};

TEST(Controls, EveryControlOfTheStartPageHasItsEffect)
{
    ASSERT_TRUE(QTest::qWaitFor([] { return Find(QStringLiteral("continueButton")) != nullptr; }, kDeadline));
    Activate();
    auto* air = FindAs<QAbstractButton>(QStringLiteral("AirAbsorb"));
    ASSERT_NE(air, nullptr);
    const bool airBefore = air->isChecked();
    QSet<QString> named = RunRows(Window(), SettingsRows(kTyped, []() -> QWidget* { return Window(); }));
    named << QStringLiteral("continueButton") << QStringLiteral("ResetButton")
          << QStringLiteral("openDocButton") << QStringLiteral("recDoc1Button");
    const QStringList unnamed = Unnamed(Window(), named);
    EXPECT_TRUE(unnamed.isEmpty()) << "enabled controls without a row: " << unnamed.join(", ").toStdString();
    QWidget* page = Window()->findChild<QStackedWidget*>(QStringLiteral("stackedWidget"))->widget(0);
    const QStringList keys = UnnamedShortcuts(page, named);
    EXPECT_TRUE(keys.isEmpty()) << "shortcuts without a row: " << keys.join(", ").toStdString();

    // continueButton: a new project with one surface on the venue page, holding what was typed.
    ASSERT_TRUE(Click(QStringLiteral("continueButton")));
    EXPECT_TRUE(QTest::qWaitFor(
        [] { return Find(QStringLiteral("openGLPlan")) != nullptr && ListRows() == 1; }, kDeadline))
        << "continueButton: no new project on the venue page";
    const QString path = Home() + QStringLiteral("/Documents/StartPage.tq");
    ASSERT_TRUE(AnswerFileDialog([] { PressOnWindow(QKeySequence(QStringLiteral("Ctrl+Shift+S"))); }, path));
    ExpectSettingsSaved(FileText(path).toUtf8(), kTyped, airBefore);

    // ResetButton, on the start page of the next new project.
    DiscardIfAsked([] { PressOnWindow(QKeySequence(QKeySequence::New)); });
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
    DiscardIfAsked([] { PressOnWindow(QKeySequence(QKeySequence::New)); });
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
