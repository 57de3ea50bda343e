#include "core/Logger/OmbraxLogger.h"

#include "../support/LogCapture.h"
#include "../support/TempDir.h"
#include "core/Logging/Log.h"
#include "core/Logging/LogWriter.h"

#include <QDir>
#include <QFile>
#include <chrono>
#include <condition_variable>
#include <gtest/gtest.h>
#include <mutex>
#include <stdexcept>

using namespace zorvpro;

TEST(OmbraxLoggerTest, ExceptionIsLoggedWithItsPlace)
{
    test::LogCapture capture;
    OmbraxLogger::LogException(std::runtime_error("disk gone"), "src/Thing.cpp", "Open", 54);
    OmbraxLogger::LogUnknownException("src/Other.cpp", "Close", 7);
    const auto lines = capture.Lines();
    ASSERT_EQ(2u, lines.size());
    EXPECT_NE(std::string::npos,
              lines[0].find(" (E): Exception disk gone occurred @ 'src/Thing.cpp::Open() Line 54'"));
    EXPECT_NE(std::string::npos,
              lines[1].find(" (E): Unknown exception occurred @ 'src/Other.cpp::Close() Line 7'"));
}

TEST(OmbraxLoggerTest, QStringTextsArriveAsUtf8)
{
    test::LogCapture capture;
    OmbraxLogger::Log(LogLevel::Warning, QString::fromUtf8("Temperatur 22 \u00b0C"));
    EXPECT_TRUE(OmbraxLogger::Log(LogLevel::Info, "plain"));
    EXPECT_TRUE(LogMessage(LogLevel::Debug, std::string("from the model")));
    EXPECT_EQ((std::vector<std::string>{"Temperatur 22 \u00b0C", "plain", "from the model"}),
              capture.Texts());
}

TEST(OmbraxLoggerTest, RegisteredLoggerEmitsEveryLine)
{
    std::mutex mutex;
    std::condition_variable cv;
    QStringList received;
    OmbraxLogger* logger = OmbraxLogger::Instance();
    auto connection = QObject::connect(
        logger, &OmbraxLogger::logEventRx, logger,
        [&](const QString& msg)
        {
            std::lock_guard<std::mutex> lock(mutex);
            received << msg;
            cv.notify_all();
        },
        Qt::DirectConnection);
    OmbraxLogger::RegisterListener(logger);
    OmbraxLogger::Log(LogLevel::Error, QStringLiteral("shown in the log window"));
    {
        std::unique_lock<std::mutex> lock(mutex);
        cv.wait_for(lock, std::chrono::seconds(10), [&] { return !received.isEmpty(); });
    }
    OmbraxLogger::RegisterListener(nullptr);
    QObject::disconnect(connection);
    ASSERT_EQ(1, received.size());
    EXPECT_TRUE(received[0].endsWith(QStringLiteral(" (E): shown in the log window")));
}

TEST(OmbraxLoggerTest, InitializeOpensAFileInTheConfiguredFolder)
{
    test::TempDir dir;
    LoggerConfig config;
    config.folder = dir.Path();
    config.filesToKeep = 3;
    config.level = LogLevel::Warning;
    ASSERT_TRUE(OmbraxLogger::Initialize(config));
    LogWriter& writer = LogWriter::Instance();
    EXPECT_EQ(dir.Path().toStdString() + "/", writer.GetFolder());
    EXPECT_EQ(LogLevel::Warning, writer.GetLevel());
    const QString path = QString::fromStdString(writer.GetFilePath());
    EXPECT_TRUE(QFileInfo(path).fileName().startsWith(QStringLiteral("Zorv_")));

    LoggerConfig missing = config;
    missing.folder = dir.File(QStringLiteral("nope"));
    missing.level = LogLevel::Debug;
    EXPECT_FALSE(OmbraxLogger::Initialize(missing));
    EXPECT_EQ(LogLevel::Warning, writer.GetLevel());

    LoggerConfig none;
    none.folder = QString();
    none.level = LogLevel::Error;
    EXPECT_TRUE(OmbraxLogger::Initialize(none));
    EXPECT_EQ("", writer.GetFolder());
}
