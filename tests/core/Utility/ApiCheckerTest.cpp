#include "Utility/ApiChecker.h"

#include "../support/LogCapture.h"

#include <gtest/gtest.h>
#include <memory>
#include <regex>
#include <set>

using namespace zorvpro;

namespace
{
const char* const kAllocText = "Expected resource not created or set properly";

// The message of the logic_error thrown by f, or "" when nothing was thrown.
template <typename F> std::string ThrownText(F f)
{
    try
    {
        f();
    }
    catch (const std::logic_error& e)
    {
        return e.what();
    }
    return "";
}

// Line number of the check named in one logged exception line, or -1.
int CheckLine(const std::string& text, const std::string& function)
{
    const std::regex pattern("^Exception (.*) occurred @ '(.*)ApiChecker\\.h::" + function +
                             "\\(\\) Line ([0-9]+)'$");
    std::smatch match;
    if (!std::regex_match(text, match, pattern))
        return -1;
    return std::stoi(match[3]);
}
} // namespace

TEST(ApiCheckerTest, HeldPointersPassSilently)
{
    test::LogCapture capture;
    int value = 1;
    EXPECT_NO_THROW(CheckAlloc(&value));
    EXPECT_NO_THROW(CheckAlloc(std::make_unique<int>(2)));
    EXPECT_NO_THROW(CheckAlloc(std::make_shared<int>(3)));
    EXPECT_NO_THROW(CheckTextEmpty(QStringLiteral("x")));
    EXPECT_NO_THROW(CheckTextEmpty(QStringLiteral("   ")));
    EXPECT_TRUE(capture.Lines().empty());
}

TEST(ApiCheckerTest, EachEmptyHolderThrowsAndLogsItsOwnPlace)
{
    test::LogCapture capture;
    int* raw = nullptr;
    std::unique_ptr<double> unique;
    std::shared_ptr<QString> shared;
    EXPECT_EQ(kAllocText, ThrownText([&] { CheckAlloc(raw); }));
    EXPECT_EQ(kAllocText, ThrownText([&] { CheckAlloc(unique); }));
    EXPECT_EQ(kAllocText, ThrownText([&] { CheckAlloc(shared); }));

    const auto texts = capture.Texts();
    ASSERT_EQ(3u, texts.size());
    std::set<int> lines;
    for (const auto& text : texts)
    {
        EXPECT_EQ(0u, text.find(std::string("Exception ") + kAllocText)) << text;
        const int line = CheckLine(text, "CheckAlloc");
        EXPECT_GT(line, 0) << text;
        lines.insert(line);
    }
    EXPECT_EQ(3u, lines.size()) << "the three forms must log different lines";
    for (const auto& line : capture.Lines())
        EXPECT_NE(std::string::npos, line.find(" (E): "));
}

TEST(ApiCheckerTest, EmptyTextThrowsButBlanksPass)
{
    test::LogCapture capture;
    EXPECT_EQ("Expected string variable was empty", ThrownText([] { CheckTextEmpty(QString()); }));
    EXPECT_EQ("Expected string variable was empty", ThrownText([] { CheckTextEmpty(QStringLiteral("")); }));
    const auto texts = capture.Texts();
    ASSERT_EQ(2u, texts.size());
    EXPECT_GT(CheckLine(texts[0], "CheckTextEmpty"), 0) << texts[0];
    EXPECT_NE(std::string::npos, texts[0].find("Exception Expected string variable was empty occurred @ '"));
}

TEST(ApiCheckerTest, FailureIsCatchableAsStdException)
{
    test::LogCapture capture;
    std::shared_ptr<int> empty;
    EXPECT_THROW(CheckAlloc(empty), std::exception);
}
