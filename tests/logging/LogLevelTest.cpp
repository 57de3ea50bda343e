#include "core/Logging/LogLevel.h"

#include <gtest/gtest.h>
#include <string>

using namespace zorvpro;

TEST(LogLevelTest, NamesFollowTheLevelOrder)
{
    EXPECT_STREQ("off", LogLevel::ToName(LogLevel::Off));
    EXPECT_STREQ("debug", LogLevel::ToName(LogLevel::Debug));
    EXPECT_STREQ("info", LogLevel::ToName(LogLevel::Info));
    EXPECT_STREQ("warning", LogLevel::ToName(LogLevel::Warning));
    EXPECT_STREQ("error", LogLevel::ToName(LogLevel::Error));
    EXPECT_STREQ("off", LogLevel::ToName(5));
    EXPECT_STREQ("off", LogLevel::ToName(0xFFFFFFFFu));
}

TEST(LogLevelTest, NameLookupIgnoresCaseButNeedsTheWholeName)
{
    EXPECT_EQ(LogLevel::Warning, LogLevel::FromName("Warning"));
    EXPECT_EQ(LogLevel::Error, LogLevel::FromName("ERROR"));
    EXPECT_EQ(LogLevel::Error, LogLevel::FromName("error"));
    EXPECT_EQ(LogLevel::Debug, LogLevel::FromName("dEbUg"));
    EXPECT_EQ(LogLevel::Info, LogLevel::FromName("Info"));
    EXPECT_EQ(LogLevel::Off, LogLevel::FromName("err"));
    EXPECT_EQ(LogLevel::Off, LogLevel::FromName("trace"));
    EXPECT_EQ(LogLevel::Off, LogLevel::FromName("error "));
    EXPECT_EQ(LogLevel::Off, LogLevel::FromName(""));
    EXPECT_EQ(LogLevel::Off, LogLevel::FromName(nullptr));
}

TEST(LogLevelTest, LettersMarkKnownLevelsOnly)
{
    EXPECT_EQ('D', LogLevel::Letter(LogLevel::Debug));
    EXPECT_EQ('I', LogLevel::Letter(LogLevel::Info));
    EXPECT_EQ('W', LogLevel::Letter(LogLevel::Warning));
    EXPECT_EQ('E', LogLevel::Letter(LogLevel::Error));
    EXPECT_EQ('?', LogLevel::Letter(LogLevel::Off));
    EXPECT_EQ('?', LogLevel::Letter(7));
}
