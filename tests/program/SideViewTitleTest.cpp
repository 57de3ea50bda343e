// The speaker side view's title names the array it follows, under every name
// the array takes, undone or not.
#include "ProgramTestEnv.h"
#include "UserHands.h"

#include "views/Render/GridEntity.h"
#include "views/Render/TextQP.h"
#include "views/Render/VenueView3D.h"

#include <QApplication>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace zorvpro::programtest
{
namespace
{
// The title as the side view last drew it.
bool SideViewShows(const QString& title)
{
    auto* side = Shown<view::VenueView3D>("openGLSideSpkr");
    if (side == nullptr || !side->GetGrid() || !side->GetGrid()->Labels())
        return false;
    for (const auto& item : side->GetGrid()->Labels()->GetItems())
        if (item.text == title)
            return true;
    return false;
}

// Double-clicks the row's name, types the new one and presses Return.
void Rename(int row, const QString& name)
{
    QTableWidget* list = ArrayList();
    const QRect cell = list->visualRect(list->model()->index(row, 1));
    ActivateWindow();
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    QLineEdit* editor = nullptr;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return (editor = qobject_cast<QLineEdit*>(QApplication::focusWidget())); }, kDeadline));
    editor->selectAll();
    QTest::keyClicks(editor, name);
    QTest::keyClick(editor, Qt::Key_Return);
}
} // namespace

TEST(SideViewTitle, FollowsTheArraysNameThroughRenameUndoAndRedo)
{
    StartOnSpeakerTab();
    QTest::mouseClick(Shown("Toolbar_AddEntity"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([] { return ArrayList()->rowCount() == 1; }, kDeadline));
    ClickRow(0);
    const QString first = ArrayList()->item(0, 1)->text();
    const QString prefix = QStringLiteral("SPEAKER SIDE VIEW - ");
    ASSERT_TRUE(QTest::qWaitFor([&] { return SideViewShows(prefix + first); }, kDeadline));

    Rename(0, QStringLiteral("Stage left hang"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return SideViewShows(prefix + QStringLiteral("Stage left hang")); },
                                kDeadline));
    QTest::mouseClick(Shown("Toolbar_Undo"), Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return SideViewShows(prefix + first); }, kDeadline));
    QTest::mouseClick(Shown("Toolbar_Redo"), Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return SideViewShows(prefix + QStringLiteral("Stage left hang")); },
                                kDeadline));
    EXPECT_EQ(ArrayList()->item(0, 1)->text(), QStringLiteral("Stage left hang"));
}
} // namespace zorvpro::programtest
