// GoogleTest entry point for suites that need a QApplication. Tests run
// without a display unless the caller chose a platform.
#include <QApplication>
#include <QStandardPaths>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace
{
// CTest runs every test case in a process of its own, many at once. The
// per-user test locations live below HOME, so each process gets a private
// HOME: cases that write settings, previews or logs cannot race each other.
struct PrivateHome
{
    std::string path;

    PrivateHome()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "zorv-test-home-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr)
        {
            path = pattern;
            setenv("HOME", path.c_str(), 1);
        }
    }
    ~PrivateHome()
    {
        std::error_code ignored;
        if (!path.empty())
            std::filesystem::remove_all(path, ignored);
    }
};
} // namespace

int main(int argc, char** argv)
{
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const PrivateHome home;
    // Per-user files go to the test locations, never the real home folder.
    QStandardPaths::setTestModeEnabled(true);
    int result = 0;
    {
        QApplication app(argc, argv);
        ::testing::InitGoogleTest(&argc, argv);
        result = RUN_ALL_TESTS();
    }
    return result;
}
