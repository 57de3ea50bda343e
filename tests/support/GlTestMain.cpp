// GoogleTest entry point for OpenGL suites: real xcb windows under the X server that the test
// command starts. ZORV_GL_ES=1 runs the same suite in an OpenGL ES context.
#include "GlTestEnv.h"
#include "PrivateHome.h"

#include "Resources/Fonts/StandInFonts.h"

#include <QApplication>
#include <QStandardPaths>
#include <QSurfaceFormat>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>

namespace zorvpro::gltest
{
bool EsRequested()
{
    const char* es = std::getenv("ZORV_GL_ES");
    return es != nullptr && std::strcmp(es, "1") == 0;
}

bool RegisterTestFonts()
{
    return !RegisterStandInFonts().isEmpty();
}
} // namespace zorvpro::gltest

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // Listing needs no display: ctest discovers these tests before the X server runs. A listing
    // that failed here would hide the whole GL stage, so it must never touch Qt.
    if (::testing::GTEST_FLAG(list_tests))
        return RUN_ALL_TESTS();

    if (zorvpro::gltest::EsRequested())
        setenv("QT_XCB_GL_INTEGRATION", "xcb_egl", 1);
    setenv("QT_SCALE_FACTOR", "1", 1);
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "xcb", 0);

    // The application's own choice: 4 samples and no profile; ES only when asked for. It must be
    // the default before any widget or context exists.
    QSurfaceFormat format;
    format.setSamples(4);
    if (zorvpro::gltest::EsRequested())
        format.setRenderableType(QSurfaceFormat::OpenGLES);
    QSurfaceFormat::setDefaultFormat(format);

    // The settings these suites write (the theme among them) stay in this process: a shared file
    // would hand one test's theme to another running at that moment. The X server's key and the
    // caches (compiled shaders, fonts) are still found where the starting HOME keeps them.
    const zorvpro::testsupport::PrivateHome home;
    if (!home.original.empty())
    {
        setenv("XAUTHORITY", (home.original + "/.Xauthority").c_str(), 0);
        setenv("XDG_CACHE_HOME", (home.original + "/.cache").c_str(), 0);
    }
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    // Font metrics set the grid's margins: a machine without the stand-in font would test
    // other pictures.
    if (!zorvpro::gltest::RegisterTestFonts())
    {
        std::fprintf(stderr, "The stand-in fonts could not be registered\n");
        return 1;
    }
    return RUN_ALL_TESTS();
}
