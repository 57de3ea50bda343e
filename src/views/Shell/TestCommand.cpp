#include "views/Shell/TestCommand.h"

#include <stdexcept>

namespace zorvpro
{
namespace
{
QString& TestMessage()
{
    static QString message;
    return message;
}
} // namespace

TestCommand::TestCommand(const QString& message)
    : BaseCommand(QStringLiteral("test"), true), previousMessage(TestMessage()), message(message)
{
}

ICommand* TestCommand::Clone() const
{
    auto* copy = new TestCommand(message);
    copy->CopyFrom(*this);
    copy->previousMessage = previousMessage;
    return copy;
}

bool TestCommand::Execute()
{
    if (message.compare(QStringLiteral("die"), Qt::CaseInsensitive) == 0)
        throw std::logic_error("OH NO!");
    TestMessage() = message;
    return true;
}

void TestCommand::Undo()
{
    TestMessage() = previousMessage;
}

QString TestCommand::Message()
{
    return TestMessage();
}
} // namespace zorvpro
