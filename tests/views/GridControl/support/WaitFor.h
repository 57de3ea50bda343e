#pragma once

// Waits on the event loop until a condition holds; QTest's QTRY macros do
// not report to GoogleTest, so tests assert on this result instead.

#include <QTest>

namespace zorvpro::test
{
template <typename Predicate> bool WaitFor(Predicate predicate, int timeoutMs = 3000)
{
    return QTest::qWaitFor(predicate, timeoutMs);
}
} // namespace zorvpro::test
