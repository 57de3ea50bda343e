// GoogleTest entry point for suites that need a QApplication. Tests run
// without a display unless the caller chose a platform.
#include "PrivateHome.h"

#include <QApplication>
#include <QStandardPaths>
#include <cstdlib>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const zorvpro::testsupport::PrivateHome home;
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
