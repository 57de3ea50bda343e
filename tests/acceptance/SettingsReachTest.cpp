// What the settings dialog sets reaches what the user does next: a new surface takes the
// project's default ear height, and a length typed in feet is held in metres.
#include "AcceptanceEnv.h"
#include "ControlTable.h"

#include "views/Shell/MainWindow.h"

#include <QAbstractButton>
#include <QKeySequence>
#include <QLineEdit>
#include <QTest>
#include <array>
#include <functional>
#include <gtest/gtest.h>

namespace zorvpro::acceptance
{
namespace
{
// Opens the settings dialog by its keys, runs use on it and closes it with its button.
void InSettings(const std::function<void(QWidget* dialog)>& use)
{
    PressOnWindow(QKeySequence(QStringLiteral("Ctrl+Shift+P")));
    QWidget* dialog = WaitForWindow(QStringLiteral("Settings"));
    ASSERT_NE(dialog, nullptr) << "Ctrl+Shift+P: no \"Settings\" window";
    Activate(dialog);
    use(dialog);
    ASSERT_TRUE(Click(QStringLiteral("buttonOk"), dialog));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog->isVisible(); }, kDeadline)) << "Settings stays open";
    Activate();
}

// Sets the measurement units by the dialog's switch, which is on for imperial.
void ChooseUnits(bool imperial)
{
    InSettings(
        [imperial](QWidget* dialog)
        {
            auto* units = FindAs<QAbstractButton>(QStringLiteral("MeasurementUnits"), dialog);
            ASSERT_NE(units, nullptr);
            if (units->isChecked() != imperial)
                QTest::mouseClick(units, Qt::LeftButton);
            ASSERT_EQ(units->isChecked(), imperial);
        });
}

TEST(SettingsReach, ANewSurfaceTakesTheProjectsDefaultEarHeight)
{
    NewProjectOnVenuePage();
    const double before = NodeNumber(SavedNode(SavedProject(), "QuadNode"), "ListenerHeight");
    const double earHeight = 1.7;
    ASSERT_GT(qAbs(before - earHeight), 0.1) << "the first surface already stands at " << earHeight;
    InSettings([earHeight](QWidget* dialog)
               { Type(Locate(QStringLiteral("EarHeight"), dialog), QString::number(earHeight)); });
    ASSERT_TRUE(Click(QStringLiteral("Toolbar_AddEntity")));
    ASSERT_TRUE(QTest::qWaitFor([] { return ListRows() == 2; }, kDeadline)) << "no surface is added";
    const QByteArray saved = SavedProject();
    EXPECT_NEAR(FileValue(saved, "DefaultEarHeight").toDouble(), earHeight, 1e-9) << "the project's default";
    EXPECT_NEAR(NodeNumber(SavedNode(saved, "QuadNode", 1), "ListenerHeight"), earHeight, 1e-9)
        << "the new surface";
    EXPECT_NEAR(NodeNumber(SavedNode(saved, "QuadNode", 0), "ListenerHeight"), before, 1e-9)
        << "the surface made before keeps its own";
}

using Corners = std::array<QVector3D, 4>;

struct Length
{
    const char* field;
    const char* feet;
    double metres;
    const char* metric; // shown once the units are metric again
    double (*measure)(const Corners&);
};

TEST(SettingsReach, ALengthTypedInFeetIsHeldInMetres)
{
    const Length lengths[] = {
        // P0, the middle of the front edge from P1 to P4.
        {"Quad_P0X", "10", 3.048, "3.05", [](const Corners& c) { return double(c[0].x() + c[3].x()) / 2; }},
        {"Quad_FrontWidth", "25", 7.62, "7.62",
         [](const Corners& c) { return double((c[0] - c[3]).length()); }},
    };
    NewProjectOnVenuePage();
    ChooseUnits(true);
    for (const Length& l : lengths)
    {
        SCOPED_TRACE(l.field);
        auto* edit = qobject_cast<QLineEdit*>(Locate(QLatin1String(l.field), Window()));
        ASSERT_NE(edit, nullptr);
        const QString typed = TypeAndMoveOnMakesOneStep(QLatin1String(l.feet))(edit);
        EXPECT_TRUE(typed.isEmpty()) << typed.toStdString();
        EXPECT_NEAR(edit->text().toDouble(), QByteArray(l.feet).toDouble(), 0.005)
            << "the field shows another length than the one typed";
    }
    const Corners corners = NodeCorners(SavedNode(SavedProject(), "QuadNode"));
    for (const Length& l : lengths)
        EXPECT_NEAR(l.measure(corners), l.metres, 1e-5) << l.field << " typed " << l.feet << " ft";
    ChooseUnits(false);
    for (const Length& l : lengths)
        EXPECT_EQ(Shown(l.field).toStdString(), l.metric) << l.field << " in metres";
}
} // namespace
} // namespace zorvpro::acceptance
