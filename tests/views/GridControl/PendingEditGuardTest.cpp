// The guard of typed values: the Undo and Redo keys belong to a field only while it holds typing
// of its own, and the fields of Qt's own dialogs are none of the guard's business.
#include "views/Common/PendingEditGuard.h"
#include "core/Commands/UndoStack.h"
#include "support/FocusHost.h"
#include "support/RecordingListener.h"
#include "support/WaitFor.h"
#include "views/Common/CommitFocusedEdit.h"
#include "views/GridControl/BindableProperty.h"
#include "views/GridControl/LineEditPropertyImpl.h"
#include "views/GridControl/MultiLineEditPropertyImpl.h"
#include "views/GridControl/MyLineEdit.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QShortcut>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>
#include <QUndoStack>
#include <algorithm>
#include <gtest/gtest.h>
#include <limits>
#include <memory>
#include <string>

namespace zorvpro
{
namespace
{
using Kind = BoundPropertyEvent;

constexpr double kLowest = std::numeric_limits<double>::lowest();
constexpr double kHighest = std::numeric_limits<double>::max();

// A project field in an active window whose Undo and Redo keys count as the application's.
struct FieldOnPage
{
    test::RecordingListener listener;
    std::unique_ptr<BindableProperty> property;
    QWidget* editor = nullptr; // where the keys go
    std::unique_ptr<test::FocusHost> host;
    QShortcut* undo = nullptr;
    QShortcut* redo = nullptr;
    int undos = 0;
    int redos = 0;

    FieldOnPage(BindableProperty* made, const QVariant& value)
    {
        property.reset(made);
        if (auto* line = dynamic_cast<LineEditPropertyImpl*>(property->impl()))
            editor = line->edit();
        else
            editor = property->widget();
        property->setValue(value, false);
        property->setEventListener(&listener);
        host = std::make_unique<test::FocusHost>(property->widget());
        undo = new QShortcut(QKeySequence::Undo, host->window());
        redo = new QShortcut(QKeySequence::Redo, host->window());
        QObject::connect(undo, &QShortcut::activated, [this] { ++undos; });
        QObject::connect(redo, &QShortcut::activated, [this] { ++redos; });
    }

    QString Text() const { return property->impl()->squish_display_value().toString(); }
    int Changes() const
    {
        return static_cast<int>(std::count_if(listener.events.begin(), listener.events.end(),
                                              [](const test::RecordedEvent& e)
                                              { return e.event == Kind::ValueChanged; }));
    }
};

struct FieldCase
{
    const char* name;
    std::function<BindableProperty*()> make;
    QVariant value;
    // Commits the typing and leaves the focus in the field, as Return does in a line edit and a
    // command does anywhere.
    bool returnCommits;
};

std::vector<FieldCase> ProjectFields()
{
    return {
        {"number", [] { return BindableProperty::createLineEdit("Cluster_Gain", 2, 20, -60.0, 20.0, 1); },
         QVariant(-3.0), true},
        {"text", [] { return BindableProperty::createLineEdit("Venue_Name", 0, 50, kLowest, kHighest, 2); },
         QVariant(QStringLiteral("Hall")), true},
        {"notes", [] { return BindableProperty::createMultiLineEdit("Beam_Comments", 50); },
         QVariant(QStringLiteral("balcony")), false},
    };
}

void Enter(FieldOnPage& field)
{
    field.editor->setFocus(Qt::OtherFocusReason);
    ASSERT_TRUE(field.editor->hasFocus());
    // A number field selects its full-precision text once it has the focus.
    if (auto* line = qobject_cast<QLineEdit*>(field.editor); line != nullptr && line->validator() != nullptr)
    {
        ASSERT_TRUE(test::WaitFor([&] { return line->hasSelectedText(); }));
    }
}

// The field of the case, focused, with a "7" typed over what it showed (returned in before).
std::unique_ptr<FieldOnPage> TypedInto(const FieldCase& c, QString* before = nullptr)
{
    auto field = std::make_unique<FieldOnPage>(c.make(), c.value);
    Enter(*field);
    const QString shown = field->Text();
    if (before != nullptr)
        *before = shown;
    QTest::keyClicks(field->editor, QStringLiteral("7"));
    EXPECT_NE(field->Text(), shown) << "typing changed nothing";
    return field;
}

void Commit(FieldOnPage& field, bool returnCommits)
{
    if (returnCommits)
    {
        // Return leaves the field and comes back to it on the next turns of the event loop.
        QTest::keyClick(field.editor, Qt::Key_Return);
        ASSERT_TRUE(test::WaitFor([&] { return field.Changes() == 1 && field.editor->hasFocus(); }));
        QCoreApplication::processEvents();
    }
    else
    {
        CommitFocusedEdit();
        ASSERT_TRUE(field.editor->hasFocus());
    }
}

TEST(PendingEditGuard, TheUndoKeysUndoTheFieldsOwnTypingThenTheCommittedValue)
{
    PendingEditGuard guard(nullptr);
    for (const FieldCase& c : ProjectFields())
    {
        SCOPED_TRACE(c.name);
        QString before;
        const auto made = TypedInto(c, &before);
        if (::testing::Test::HasFatalFailure())
            return;
        FieldOnPage& field = *made;
        const QString typed = field.Text();

        // Typing of its own: the field undoes and redoes it, the application hears nothing.
        QTest::keySequence(field.editor, QKeySequence::Undo);
        EXPECT_EQ(field.Text(), before);
        QTest::keySequence(field.editor, QKeySequence::Redo);
        EXPECT_EQ(field.Text(), typed);
        EXPECT_EQ(field.undos + field.redos, 0);

        // Committed: the keys undo and redo the project, the field's text stays as it was.
        Commit(field, c.returnCommits);
        if (::testing::Test::HasFatalFailure())
            return;
        const QString committed = field.Text();
        QTest::keySequence(field.editor, QKeySequence::Undo);
        EXPECT_EQ(field.undos, 1);
        QTest::keySequence(field.editor, QKeySequence::Redo);
        EXPECT_EQ(field.redos, 1);
        EXPECT_EQ(field.Text(), committed);
        EXPECT_TRUE(field.editor->hasFocus());
    }
}

// Typing undone to the text the field was given changes nothing: leaving it is no change of the
// project, and a command finds nothing pending.
TEST(PendingEditGuard, TypingUndoneInTheFieldIsNoChange)
{
    PendingEditGuard guard(nullptr);
    for (const FieldCase& c : ProjectFields())
    {
        SCOPED_TRACE(c.name);
        const auto made = TypedInto(c);
        if (::testing::Test::HasFatalFailure())
            return;
        FieldOnPage& field = *made;
        EXPECT_TRUE(HasPendingEdit());
        QTest::keySequence(field.editor, QKeySequence::Undo);
        EXPECT_FALSE(HasPendingEdit());
        field.host->moveFocusAway();
        // The notes report their text on every focus loss; the receiver compares it.
        if (c.returnCommits)
        {
            EXPECT_EQ(field.Changes(), 0);
        }
        EXPECT_EQ(field.undos, 0);
    }
}

// Once the project's history moves (the Undo key or button, after the field's own typing was
// undone), the typing the field held is no longer its own: the Redo key redoes the project's step
// and never brings the undone typing back, until the user types in the field again.
TEST(PendingEditGuard, AProjectUndoEndsTheFieldsOwnHistory)
{
    PendingEditGuard guard(nullptr);
    QUndoStack& history = UndoStack::Instance();
    struct Way
    {
        const char* name;
        bool byKey; // else as the tool bar's button does it, with the field keeping the focus
    };
    for (const FieldCase& c : ProjectFields())
        for (const Way way : {Way{"key", true}, Way{"button", false}})
        {
            SCOPED_TRACE(std::string(c.name) + ", undone by " + way.name);
            history.clear();
            // A step of another object, made before the field was typed in.
            history.push(new QUndoCommand(QStringLiteral("another object's step")));
            QString before;
            const auto made = TypedInto(c, &before);
            if (::testing::Test::HasFatalFailure())
                return;
            FieldOnPage& field = *made;
            QObject::connect(field.undo, &QShortcut::activated, [&] { history.undo(); });
            QObject::connect(field.redo, &QShortcut::activated, [&] { history.redo(); });

            QTest::keySequence(field.editor, QKeySequence::Undo);
            ASSERT_EQ(field.Text(), before) << "the field's own typing is undone first";
            if (way.byKey)
                QTest::keySequence(field.editor, QKeySequence::Undo);
            else
                history.undo();
            ASSERT_EQ(history.index(), 0);

            QTest::keySequence(field.editor, QKeySequence::Redo);
            EXPECT_EQ(history.index(), 1) << "Redo did not reach the project";
            EXPECT_EQ(field.redos, 1);
            EXPECT_EQ(field.Text(), before) << "the undone typing came back";
            EXPECT_FALSE(HasPendingEdit());
            EXPECT_TRUE(field.editor->hasFocus());

            // Typed again: the field has typing of its own to undo once more.
            QTest::keyClicks(field.editor, QStringLiteral("5"));
            const int undos = field.undos;
            QTest::keySequence(field.editor, QKeySequence::Undo);
            EXPECT_EQ(field.undos, undos) << "new typing was not the field's to undo";
            EXPECT_EQ(field.Text(), before);
            EXPECT_EQ(field.Changes(), 0) << "undone typing reached the project";
        }
    history.clear();
}

// A step of the project made by no key of the user's while a field holds typing not yet committed
// (a calculation's, an automation call's, a view drag's): the typing stays the field's, with its own
// undo and redo, and a later command commits it, as typed, to the field's own object.
TEST(PendingEditGuard, TypingNotYetCommittedOutlivesAProjectStepMadeElsewhere)
{
    PendingEditGuard guard(nullptr);
    QUndoStack& history = UndoStack::Instance();
    for (const FieldCase& c : ProjectFields())
    {
        SCOPED_TRACE(c.name);
        history.clear();
        QString before;
        const auto made = TypedInto(c, &before);
        if (::testing::Test::HasFatalFailure())
            return;
        FieldOnPage& field = *made;
        const QString typed = field.Text();

        history.push(new QUndoCommand(QStringLiteral("a step made elsewhere")));
        EXPECT_EQ(field.Text(), typed);
        EXPECT_TRUE(HasPendingEdit()) << "a command would find nothing to commit";
        QTest::keySequence(field.editor, QKeySequence::Undo);
        EXPECT_EQ(field.Text(), before);
        QTest::keySequence(field.editor, QKeySequence::Redo);
        EXPECT_EQ(field.Text(), typed);
        EXPECT_EQ(field.undos + field.redos, 0) << "the keys went to the project";
        EXPECT_EQ(history.index(), 1);

        CommitFocusedEdit();
        ASSERT_EQ(field.Changes(), 1) << "the typing was not committed";
        const auto change =
            std::find_if(field.listener.events.begin(), field.listener.events.end(),
                         [](const test::RecordedEvent& e) { return e.event == Kind::ValueChanged; });
        EXPECT_EQ(change->name, field.property->name());
        EXPECT_EQ(change->value.toString(), typed);
    }
    history.clear();
}

// A field of Qt's own dialog (the colour dialog's, the file dialog's) holds no entry of the
// project: a click elsewhere in the dialog leaves its focus, its text and its selection alone.
TEST(PendingEditGuard, FieldsOfQtsOwnDialogsKeepTheirTypingAndSelection)
{
    PendingEditGuard guard(nullptr);
    struct DialogField
    {
        const char* name;
        std::function<QWidget*(QWidget*)> make;
        std::function<QLineEdit*(QWidget*)> line;
    };
    const DialogField fields[] = {
        {"line edit", [](QWidget* parent) { return new QLineEdit(parent); },
         [](QWidget* w) { return qobject_cast<QLineEdit*>(w); }},
        {"spin box", [](QWidget* parent) { return new QSpinBox(parent); },
         [](QWidget* w) { return static_cast<QSpinBox*>(w)->findChild<QLineEdit*>(); }},
    };
    for (const DialogField& f : fields)
    {
        SCOPED_TRACE(f.name);
        QDialog dialog;
        auto* layout = new QHBoxLayout(&dialog);
        QWidget* widget = f.make(&dialog);
        auto* button = new QToolButton(&dialog);
        button->setFocusPolicy(Qt::NoFocus);
        layout->addWidget(widget);
        layout->addWidget(button);
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
        widget->setFocus(Qt::OtherFocusReason);
        QLineEdit* line = f.line(widget);
        ASSERT_NE(line, nullptr);
        QTest::keyClicks(widget, QStringLiteral("12"));
        line->selectAll();
        // Taking the focus away, even to give it back, ends the field's editing.
        int focusLost = 0;
        const QMetaObject::Connection counting =
            QObject::connect(qApp, &QApplication::focusChanged,
                             [&](QWidget* old, QWidget*) { focusLost += old == widget ? 1 : 0; });

        EXPECT_FALSE(HasPendingEdit());
        QTest::mouseClick(button, Qt::LeftButton);
        QObject::disconnect(counting);
        EXPECT_EQ(focusLost, 0);
        EXPECT_TRUE(line->hasSelectedText());
        EXPECT_TRUE(widget->hasFocus());
    }
}
} // namespace
} // namespace zorvpro
