#pragma once

// A surface list of three rows (101 "Floor", 102 "Wall", 103 "Stage") in a
// shown window, with a one-property grid and recording adapter listeners.

#include "views/GridControl/BindableProperty.h"
#include "views/GridControl/BoundPropertiesGrid.h"
#include "views/Tabs/BaseComponents/EntitySelectionControl.h"
#include "views/Tabs/BaseComponents/IEntityChangeListener.h"
#include "views/Tabs/BaseComponents/IEntitySelectionListener.h"

#include <QAbstractButton>
#include <QApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace zorvpro::test
{
class CommentsPanel : public BoundPropertiesGrid
{
public:
    CommentsPanel() : BoundPropertiesGrid("CommentsPanel")
    {
        createProperties();
        layoutProperties();
    }
    void createProperties() override
    {
        bindProperty(BindableProperty::createMultiLineEdit("Beam_Comments", 280));
    }
    void layoutProperties() override { addWidgetToGrid(getProperty("Beam_Comments")->widget(), 0, 0); }
};

struct EntityChange
{
    Id id;
    QString item;
    std::uint32_t kind;
    QVariant value;
};

class EntityListFixture : public ::testing::Test,
                          public IEntityChangeListener,
                          public IEntitySelectionListener
{
protected:
    void SetUp() override
    {
        list = std::make_unique<EntitySelectionControl>(EntitySelectionControl::kSurfaceList, "VenueTab");
        grid = std::make_unique<CommentsPanel>();
        list->setPropertiesGrid(grid.get());
        list->setEntityChangeListener(this);
        list->setSelectionListener(this);
        auto* layout = new QHBoxLayout(&window);
        layout->addWidget(list.get());
        layout->addWidget(grid->widget());
        list->setMinimumWidth(520);
        window.resize(1000, 200);
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        list->themeChanged(1);
        list->addEntity(101, "Floor", false, true, false, QColor("#3070c0"), false);
        list->addEntity(102, "Wall", true, true, false, QColor("#c03030"), false);
        list->addEntity(103, "Stage", false, false, false, QColor("#30a050"), false);
        selections.clear();
        changes.clear();
    }

    void TearDown() override
    {
        // The list and the grid are not the window's to delete.
        list->setParent(nullptr);
        grid->widget()->setParent(nullptr);
        list.reset();
        grid.reset();
    }

    bool entityValueChanged(Id id, const QString& item, std::uint32_t* kind, const QVariant& value) override
    {
        changes.push_back({id, item, kind != nullptr ? *kind : 99u, value});
        return true;
    }
    bool entityFocusChanged(Id id, const QString& item, bool gained) override
    {
        focuses.push_back({id, item, 0u, QVariant(gained)});
        return true;
    }
    void entitiesSelectionChanged(const IdList& ids) override { selections.push_back(ids); }

    void ClickName(int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        const QRect cell = list->visualItemRect(list->item(row, 1));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, cell.center());
    }

    // Edits the name cell as a user does: open the editor, replace the text, Enter.
    void TypeName(int row, const QString& text)
    {
        list->editItem(list->item(row, 1));
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClick(editor, Qt::Key_Backspace);
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        // The view commits and closes the editor in a queued call; the
        // closed editor then goes, so the next edit finds only its own.
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    QAbstractButton* Button(int row, const char* itemName)
    {
        for (int column = 0; column < list->columnCount(); ++column)
            if (QWidget* cell = list->cellWidget(row, column))
                if (auto* button = cell->findChild<QAbstractButton*>(itemName))
                    return button;
        return nullptr;
    }

    QWidget window;
    std::unique_ptr<EntitySelectionControl> list;
    std::unique_ptr<CommentsPanel> grid;
    std::vector<IdList> selections;
    std::vector<EntityChange> changes;
    std::vector<EntityChange> focuses;
};
} // namespace zorvpro::test
