#include "core/Logging/LogRecord.h"

#include "LocalTimeZone.h"

#include <gtest/gtest.h>

using namespace zorvpro;
using test::kSampleTicks;

TEST(LogRecordTest, LineCarriesLocalTimeMillisecondsLetterAndText)
{
    test::UtcTimeZone utc;
    EXPECT_EQ("12/06/2026 15:31:48.123 (E): disk full",
              FormatLogLine(LogLevel::Error, kSampleTicks + 123 * 10000 + 9999, "disk full"));
    EXPECT_EQ("12/06/2026 15:31:48.007 (W): x",
              FormatLogLine(LogLevel::Warning, kSampleTicks + 7 * 10000, "x"));
    EXPECT_EQ("12/06/2026 15:31:49.000 (D): ", FormatLogLine(LogLevel::Debug, kSampleTicks + 10000000, ""));
    EXPECT_EQ("12/06/2026 15:31:48.999 (I): y",
              FormatLogLine(LogLevel::Info, kSampleTicks + 999 * 10000, "y"));
    EXPECT_EQ("12/06/2026 15:31:48.000 (?): z", FormatLogLine(9, kSampleTicks, "z"));
}

TEST(LogRecordTest, LineFollowsTheLocalTimeZone)
{
    test::UtcTimeZone utc;
    setenv("TZ", "XST-2", 1); // two hours east of UTC
    tzset();
    EXPECT_EQ("12/06/2026 17:31:48.000 (E): t", FormatLogLine(LogLevel::Error, kSampleTicks, "t"));
}

TEST(LogRecordTest, RecordIsFormattedOnceAndKeepsItsLine)
{
    test::UtcTimeZone utc;
    LogRecord record(LogLevel::Info, "hello", kSampleTicks);
    EXPECT_EQ("12/06/2026 15:31:48.000 (I): hello", record.GetLine());
    // Later outputs take the kept line even when local time would now differ.
    setenv("TZ", "XST-2", 1);
    tzset();
    EXPECT_EQ("12/06/2026 15:31:48.000 (I): hello", record.GetLine());
    EXPECT_EQ(kSampleTicks, record.GetTimeStamp());
}
