#include "core/Commands/UndoStack.h"
#include "core/Commands/BaseCommand.h"
#include "core/Commands/GenericFunctorCommand.h"

#include <QUndoStack>
#include <gtest/gtest.h>

namespace zorvpro
{
namespace
{

struct Counters
{
    int executed = 0;
    int undone = 0;
    int destroyed = 0;
};

// Counts its calls; Clone can be switched off to model a command that forgot it.
class CountingCommand : public BaseCommand
{
public:
    CountingCommand(Counters* counters, bool undoable, bool clonable = true, bool result = true)
        : BaseCommand("count", undoable), m_counters(counters), m_clonable(clonable), m_result(result)
    {
    }
    ~CountingCommand() override { ++m_counters->destroyed; }

    ICommand* Clone() const override
    {
        if (!m_clonable)
            return BaseCommand::Clone();
        auto* copy = new CountingCommand(m_counters, false, m_clonable, m_result);
        copy->CopyFrom(*this);
        return copy;
    }
    bool Execute() override
    {
        ++m_counters->executed;
        return m_result;
    }
    void Undo() override { ++m_counters->undone; }

private:
    Counters* m_counters;
    bool m_clonable;
    bool m_result;
};

class UndoStackTest : public ::testing::Test
{
protected:
    void SetUp() override { UndoStack::Instance().clear(); }
    void TearDown() override { UndoStack::Instance().clear(); }
};

TEST_F(UndoStackTest, CommandThatIsNotUndoableRunsAtOnceOffTheStack)
{
    Counters counters;
    CountingCommand command(&counters, false, true, false);
    QUndoStack& stack = UndoStack::Instance();
    EXPECT_FALSE(UndoStack::Push(&command));
    EXPECT_EQ(counters.executed, 1);
    EXPECT_EQ(stack.count(), 0);
    EXPECT_TRUE(stack.isClean());
    EXPECT_EQ(command.GetUndoCommand(), nullptr);
}

TEST_F(UndoStackTest, UndoableCommandRunsOnceThroughTheStack)
{
    Counters counters;
    {
        CountingCommand command(&counters, true);
        EXPECT_FALSE(command.Run());
        EXPECT_EQ(counters.executed, 0);
        EXPECT_TRUE(UndoStack::Push(&command));
    }
    // The caller's object is gone; the stack keeps its clone.
    EXPECT_EQ(counters.destroyed, 1);
    EXPECT_EQ(counters.executed, 1);

    QUndoStack& stack = UndoStack::Instance();
    EXPECT_EQ(stack.count(), 1);
    EXPECT_EQ(stack.undoText(), "count");
    stack.undo();
    EXPECT_EQ(counters.undone, 1);
    stack.redo();
    EXPECT_EQ(counters.executed, 2);
    stack.clear();
    EXPECT_EQ(counters.destroyed, 2);
}

TEST_F(UndoStackTest, CommandWithoutCloneIsRefused)
{
    Counters counters;
    CountingCommand command(&counters, true, false);
    EXPECT_FALSE(UndoStack::Push(&command));
    EXPECT_EQ(counters.executed, 0);
    EXPECT_EQ(UndoStack::Instance().count(), 0);
    EXPECT_FALSE(UndoStack::Push(nullptr));
}

TEST_F(UndoStackTest, MacroUndoesAsOneStep)
{
    int value = 0;
    UndoStack::BeginMacro("both");
    for (int step : {1, 10})
    {
        GenericFunctorCommand add(
            "add",
            [&value, step]
            {
                value += step;
                return true;
            },
            [&value, step] { value -= step; });
        UndoStack::Push(&add);
    }
    UndoStack::EndMacro();

    QUndoStack& stack = UndoStack::Instance();
    EXPECT_EQ(value, 11);
    EXPECT_EQ(stack.count(), 1);
    EXPECT_EQ(stack.undoText(), "both");
    stack.undo();
    EXPECT_EQ(value, 0);
    stack.redo();
    EXPECT_EQ(value, 11);
}

TEST_F(UndoStackTest, FunctorCommandCloneKeepsTextAndFlag)
{
    int runs = 0;
    GenericFunctorCommand once(
        "once", [&runs] { return ++runs > 0; }, {}, false);
    std::unique_ptr<BaseCommand> clone(dynamic_cast<BaseCommand*>(once.Clone()));
    ASSERT_TRUE(clone);
    EXPECT_EQ(clone->text(), "once");
    EXPECT_FALSE(clone->IsUndoable());
    EXPECT_TRUE(clone->Run());
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(UndoStack::Push(&once));
    EXPECT_EQ(runs, 2);

    // Any command can take over another's text and flag.
    GenericFunctorCommand target(
        "target", [] { return true; }, {}, true);
    target.CopyFrom(once);
    EXPECT_EQ(target.text(), "once");
    EXPECT_FALSE(target.IsUndoable());
}

TEST_F(UndoStackTest, CleanStateFollowsUndoAndRedo)
{
    int value = 0;
    QUndoStack& stack = UndoStack::Instance();
    stack.setClean();
    GenericFunctorCommand set(
        "set",
        [&value]
        {
            value = 5;
            return true;
        },
        [&value] { value = 0; });
    UndoStack::Push(&set);
    EXPECT_FALSE(stack.isClean());
    stack.undo();
    EXPECT_TRUE(stack.isClean());
    EXPECT_EQ(value, 0);
}

} // namespace
} // namespace zorvpro
