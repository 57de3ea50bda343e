#include "views/Tabs/BaseComponents/EntitySelectionControl.h"
#include "support/EntityListFixture.h"
#include "tests/core/support/LogCapture.h"
#include "views/GridControl/BindableProperty.h"
#include "views/Tabs/BaseComponents/EntityNameTableWidgetItem.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

// The compiled-in icons, taken away and given back to simulate a missing file.
int qCleanupResources_zorv_icons();
int qInitResources_zorv_icons();

namespace zorvpro
{
namespace
{
using test::EntityListFixture;

bool RowShowsSelected(EntitySelectionControl& list, int row, const QString& colour)
{
    return list.cellWidget(row, 3)->styleSheet().contains(colour);
}

TEST_F(EntityListFixture, UserSelectionsAreReportedInTableOrderAndAdapterSelectionsAreNot)
{
    test::LogCapture log;
    QSignalSpy selected(list.get(), &EntitySelectionControl::entitiesSelected);

    ClickName(1);
    ASSERT_EQ(selections.size(), 1u);
    EXPECT_EQ(selections.back(), (IdList{102}));
    EXPECT_EQ(list->activeId(), 102u);
    EXPECT_TRUE(grid->widget()->findChild<QWidget*>("Beam_Comments")->isEnabled());
    EXPECT_TRUE(RowShowsSelected(*list, 1, "#575757"));
    EXPECT_TRUE(RowShowsSelected(*list, 0, "#F8F8F8"));

    // Control-click an earlier row: both, in table order, and no single active entity.
    ClickName(0, Qt::ControlModifier);
    ASSERT_EQ(selections.size(), 2u);
    EXPECT_EQ(selections.back(), (IdList{101, 102}));
    EXPECT_EQ(list->activeId(), kNoEntity);
    EXPECT_FALSE(grid->widget()->findChild<QWidget*>("Beam_Comments")->isEnabled());
    EXPECT_TRUE(RowShowsSelected(*list, 0, "#575757"));
    EXPECT_EQ(selected.takeLast().at(0).toInt(), 2);

    // The adapter selects: nothing goes back to it, now or after the event loop ran.
    list->setSelectedEntities({103, 999});
    EXPECT_EQ(selected.takeLast().at(0).toInt(), 2);
    EXPECT_EQ(list->activeId(), kNoEntity);
    EXPECT_TRUE(list->selectionModel()->isRowSelected(2, QModelIndex()));
    EXPECT_FALSE(list->selectionModel()->isRowSelected(0, QModelIndex()));
    QCoreApplication::processEvents();
    EXPECT_EQ(selections.size(), 2u);
    EXPECT_NE(log.Texts().back().find("Index not found in entity model"), std::string::npos);

    // Once the queued reset ran, the user is heard again.
    ClickName(0);
    EXPECT_EQ(selections.back(), (IdList{101}));

    // Removing the selected row reports nothing.
    list->removeEntity(101);
    EXPECT_EQ(list->rowCount(), 2);
    EXPECT_EQ(list->indexOfEntity(103), 1);
    EXPECT_EQ(selections.size(), 3u);

    // A theme change ends the selection through the user's path.
    ClickName(0);
    ASSERT_EQ(selections.back(), (IdList{102}));
    list->themeChanged(0);
    EXPECT_EQ(selections.back(), IdList{});
    EXPECT_EQ(selected.takeLast().at(0).toInt(), 0);
    EXPECT_EQ(list->activeId(), kNoEntity);
    EXPECT_FALSE(grid->widget()->findChild<QWidget*>("Beam_Comments")->isEnabled());
    EXPECT_TRUE(RowShowsSelected(*list, 0, "#141414"));
    EXPECT_TRUE(RowShowsSelected(*list, 1, "#141414"));
}

TEST_F(EntityListFixture, RenamesAreCheckedAndModelNamesAreNotEchoed)
{
    const QString sixty = QString("n").repeated(60);
    const struct
    {
        QString typed;
        QString shown;
        bool reported;
    } renames[] = {{"   ", "Wall", false},
                   {"", "Wall", false},
                   {"Balcony", "Balcony", true},
                   {sixty, sixty.left(50), true},
                   {" Stage ", " Stage ", true}};
    for (const auto& r : renames)
    {
        changes.clear();
        TypeName(1, r.typed);
        EXPECT_EQ(list->item(1, 1)->text(), r.shown) << r.typed.toStdString();
        ASSERT_EQ(changes.size(), r.reported ? 1u : 0u) << r.typed.toStdString();
        if (r.reported)
        {
            EXPECT_EQ(changes[0].id, 102u);
            EXPECT_EQ(changes[0].item, "Entity_Name");
            EXPECT_EQ(changes[0].kind, ValueKind::Other);
            EXPECT_EQ(changes[0].value.toString(), r.shown);
        }
    }

    // Names from the adapter, and lock changes, are shown, never reported.
    changes.clear();
    EXPECT_TRUE(list->updatePropertyValue(103, "Entity_Name", sixty + "x"));
    EXPECT_EQ(list->item(2, 1)->text(), sixty.left(50));
    EXPECT_TRUE(list->updatePropertyValue(103, "Entity_Lock", true));
    EXPECT_FALSE(list->item(2, 1)->flags() & Qt::ItemIsEditable);
    EXPECT_TRUE(changes.empty());

    // A long name given when the row is added is shown whole.
    list->addEntity(104, sixty, false, true, false, QColor("#123456"), false);
    EXPECT_EQ(list->item(3, 1)->text(), sixty);
    EXPECT_TRUE(changes.empty());
}

TEST_F(EntityListFixture, RowButtonsAndGridEditsReachTheAdapterForTheRightEntity)
{
    test::LogCapture log;
    // A row's lock button: the row locks, and as the active row so does the grid.
    ClickName(0);
    QTest::mouseClick(Button(0, "Entity_Lock"), Qt::LeftButton);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].id, 101u);
    EXPECT_EQ(changes[0].item, "Entity_Lock");
    EXPECT_EQ(changes[0].kind, ValueKind::Bool);
    EXPECT_EQ(changes[0].value, QVariant(true));
    EXPECT_FALSE(Button(0, "Entity_Visibility")->isEnabled());
    EXPECT_FALSE(Button(0, "Entity_Transparency")->isEnabled());
    EXPECT_TRUE(Button(0, "Entity_Lock")->isEnabled());
    EXPECT_FALSE(list->item(0, 1)->flags() & Qt::ItemIsEditable);
    EXPECT_FALSE(grid->widget()->findChild<QWidget*>("Beam_Comments")->isEnabled());
    QTest::mouseClick(Button(0, "Entity_Lock"), Qt::LeftButton);
    EXPECT_TRUE(Button(0, "Entity_Visibility")->isEnabled());
    EXPECT_TRUE(grid->widget()->findChild<QWidget*>("Beam_Comments")->isEnabled());

    EXPECT_EQ(list->cellWidget(0, 4)->objectName(), "101;Entity_LockContainerWidget");

    // A grid edit, and the grid's focus, go to the active entity; an edit in
    // progress ends (focus out) before the selection changes; with no single
    // entity selected, edits go to the one active before.
    grid->getProperty("Beam_Comments")->setWidgetFocus(true);
    changes.clear();
    grid->getProperty("Beam_Comments")->impl()->squish_set_bound_value(QString("front fill"));
    ClickName(0, Qt::ControlModifier);
    grid->getProperty("Beam_Comments")->impl()->squish_set_bound_value(QString("later"));
    ASSERT_EQ(changes.size(), 3u);
    ASSERT_EQ(focuses.size(), 2u);
    for (const test::EntityChange& change : changes)
    {
        EXPECT_EQ(change.id, 101u);
        EXPECT_EQ(change.item, "Beam_Comments");
    }
    EXPECT_EQ(changes[1].value.toString(), "front fill");
    EXPECT_EQ(changes[2].value.toString(), "later");
    EXPECT_EQ(focuses[0].id, 101u);
    EXPECT_EQ(focuses[0].value, QVariant(true));
    EXPECT_EQ(focuses[1].value, QVariant(false));

    // The model pushes values: rows for the entity items, the grid for the active entity only.
    ClickName(2);
    EXPECT_TRUE(list->updatePropertyValue(103, "Entity_Visibility", false));
    EXPECT_EQ(Button(2, "Entity_Visibility")->isChecked(), false);
    EXPECT_TRUE(list->updatePropertyValue(103, "Entity_Color", QString("#00ff00")));
    EXPECT_EQ(list->cellWidget(2, 0)->findChild<QWidget*>("Entity_Color")->property("squish_bound_value"),
              QVariant(QColor("#00ff00")));
    EXPECT_TRUE(list->updatePropertyValue(101, "Beam_Comments", QString("not shown")));
    EXPECT_TRUE(list->updatePropertyValue(103, "Beam_Comments", QString("shown")));
    EXPECT_EQ(grid->getProperty("Beam_Comments")->value().toString(), "shown");
    EXPECT_FALSE(list->updatePropertyValue(103, "Spl_Mode", QString("x")));
    EXPECT_FALSE(list->updatePropertyValue(999, "Entity_Name", QString("x")));
    EXPECT_EQ(changes.size(), 3u);

    const std::vector<std::string> texts = log.Texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_NE(texts[0].find("Adapter requesting an update to a property (Spl_Mode) that does not exist"),
              std::string::npos);
    EXPECT_NE(texts[1].find("Entity not found for update"), std::string::npos);

    // Without a grid nothing is updated and the answer is yes.
    EntitySelectionControl bare(EntitySelectionControl::kLoudspeakerList, "SpeakerAnalysisTab");
    EXPECT_EQ(bare.objectName(), "SpeakerAnalysisTabEntitySelectionControl");
    EXPECT_EQ(bare.horizontalHeader()->length(), 13 + 330 + 50 + 50 + 50 + 10);
    EXPECT_EQ(list->horizontalHeader()->length(), 50 + 295 + 50 + 50 + 50 + 10);
    EXPECT_TRUE(bare.updatePropertyValue(5, "Entity_Name", QString("x")));
    EXPECT_THROW(EntitySelectionControl(0, ""), std::logic_error);
}

TEST_F(EntityListFixture, AFailedAddLeavesNoRowBehind)
{
    test::LogCapture log;
    qCleanupResources_zorv_icons();
    list->addEntity(104, "Lost", false, true, false, QColor("#808080"), false);
    qInitResources_zorv_icons();
    EXPECT_EQ(list->rowCount(), 3);
    EXPECT_EQ(list->indexOfEntity(104), -1);
    const std::vector<std::string> texts = log.Texts();
    ASSERT_FALSE(texts.empty());
    EXPECT_NE(texts.back().find("Icon filename specified was not found"), std::string::npos);
    EXPECT_NE(texts.back().find("addEntity"), std::string::npos);

    list->addEntity(105, "Found", false, true, false, QColor("#808080"), false);
    ASSERT_EQ(list->rowCount(), 4);
    EXPECT_EQ(list->indexOfEntity(105), 3);
    ClickName(3);
    EXPECT_EQ(selections.back(), (IdList{105}));
}
TEST_F(EntityListFixture, RemovingSeveralRowsKeepsTheRestBoundAndTheUserHeard)
{
    struct Case
    {
        const char* name;
        IdList leaving;
        std::vector<Id> staying;
    };
    const Case cases[] = {
        {"every row at once", {103, 101, 102}, {}},
        {"some rows", {103, 101}, {102}},
        {"unknown ids are skipped", {999, 102}, {101, 103}},
        {"nothing", {}, {101, 102, 103}},
    };
    const char* const names[] = {"Floor", "Wall", "Stage"};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        list->removeEntities({101, 102, 103});
        ASSERT_EQ(list->rowCount(), 0);
        for (Id id : {101, 102, 103})
            list->addEntity(id, names[id - 101], false, true, false, QColor("#3070c0"), false);
        ClickName(0);
        selections.clear();

        list->removeEntities(c.leaving);
        EXPECT_TRUE(selections.empty()); // removing rows is not the user's selection
        ASSERT_EQ(list->rowCount(), static_cast<int>(c.staying.size()));
        for (Id id : c.leaving)
            EXPECT_EQ(list->indexOfEntity(id), -1);
        for (std::size_t row = 0; row < c.staying.size(); ++row)
        {
            const int index = static_cast<int>(row);
            EXPECT_EQ(list->indexOfEntity(c.staying[row]), index);
            EXPECT_EQ(list->item(index, 1)->text(), names[c.staying[row] - 101]);
            EXPECT_NE(list->cellWidget(index, 3), nullptr);
        }

        // A row added afterwards maps to its own id, and clicks are heard again.
        list->addEntity(104, "Balcony", false, true, false, QColor("#808080"), false);
        ASSERT_EQ(list->indexOfEntity(104), static_cast<int>(c.staying.size()));
        ClickName(list->indexOfEntity(104));
        ASSERT_FALSE(selections.empty());
        EXPECT_EQ(selections.back(), (IdList{104}));
        list->removeEntity(104);
    }
}

// Rows leave one by one and all at once; the table must forget their button cells, or a name
// editor later made where a removed cell lay is taken for a lasting cell widget and stays open.
TEST_F(EntityListFixture, AfterRowsLeaveEveryRenameEditorClosesOnReturn)
{
    for (int round = 0; round < 6; ++round)
    {
        for (Id id = 200; id < 240; ++id)
            list->addEntity(id, QString("Row %1").arg(id), false, true, false, QColor("#808080"), false);
        for (Id id = 200; id < 220; ++id)
            list->removeEntity(id);
        IdList rest;
        for (Id id = 220; id < 240; ++id)
            rest.push_back(id);
        list->removeEntities(rest);
    }
    list->removeEntities({102, 103});
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(list->rowCount(), 1);

    for (int rename = 0; rename < 300; ++rename)
    {
        TypeName(0, QString("Floor %1").arg(rename));
        ASSERT_EQ(list->item(0, 1)->text(), QString("Floor %1").arg(rename));
        const QLineEdit* open = nullptr;
        for (const QLineEdit* editor : list->viewport()->findChildren<QLineEdit*>())
            if (editor->isVisible())
                open = editor;
        ASSERT_EQ(open, nullptr) << "rename " << rename << " left its editor open";
    }
}

// The program turning the panel to another entity (an add, a paste, an undo) first commits what is
// typed to the entity the panel showed; the new one never receives it.
TEST_F(EntityListFixture, TextTypedBeforeTheProgramSelectsAnotherEntityStaysWithTheFirst)
{
    ClickName(0);
    auto* notes = grid->widget()->findChild<QPlainTextEdit*>("Beam_Comments");
    ASSERT_NE(notes, nullptr);
    notes->setFocus(Qt::OtherFocusReason);
    ASSERT_TRUE(QTest::qWaitFor([&] { return notes->hasFocus(); }, 5000));
    QTest::keyClicks(notes, "balcony");
    changes.clear();
    list->setSelectedEntities({103});
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].id, 101u);
    EXPECT_EQ(changes[0].value.toString(), "balcony");
    // Committed once: the next change of subject finds nothing pending.
    changes.clear();
    list->setSelectedEntities({102});
    EXPECT_TRUE(changes.empty());
}
} // namespace
} // namespace zorvpro
