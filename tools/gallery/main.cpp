// Renders the gallery scene in a plan and a side view and writes them as PNG files, so that a
// person can look at what the views draw. Needs an X display with OpenGL (Xvfb will do);
// ZORV_GL_ES=1 renders through OpenGL ES instead of desktop OpenGL.
#include "GalleryScene.h"
#include "GallerySelection.h"
#ifdef ZORV_GALLERY_COVERAGE
#include "CoverageScene.h"
#endif

#include "Resources/Fonts/StandInFonts.h"
#include "views/Render/VenueView3D.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QHBoxLayout>
#include <QOpenGLContext>
#include <QSurfaceFormat>
#include <QThread>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>

using namespace zorvpro;

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const char* esVariable = std::getenv("ZORV_GL_ES");
    const bool es = esVariable != nullptr && std::strcmp(esVariable, "1") == 0;
    if (es)
        setenv("QT_XCB_GL_INTEGRATION", "xcb_egl", 1);
    setenv("QT_SCALE_FACTOR", "1", 1);
    QSurfaceFormat format;
    format.setSamples(4);
    if (es)
        format.setRenderableType(QSurfaceFormat::OpenGLES);
    QSurfaceFormat::setDefaultFormat(format);
    QApplication app(argc, argv);
    RegisterStandInFonts();

    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder))
    {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }

    QWidget window;
    auto* layout = new QHBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* plan = new view::VenueView3D(&window);
    auto* side = new view::VenueView3D(&window);
    plan->setFixedSize(800, 500);
    side->setFixedSize(800, 500);
    layout->addWidget(plan);
    layout->addWidget(side);

    const gallery::Scene scene = gallery::BuildScene();
    gallery::AddToView(*plan, scene);
    gallery::AddToView(*side, scene);
    gallery::LookPlan(*plan, 50.0);
    gallery::LookSide(*side, 50.0);
    window.show();

    auto settle = [&]
    {
        const QDeadlineTimer deadline(30000);
        while (!deadline.hasExpired() &&
               (!plan->isValid() || !side->isValid() || plan->NeedsRepaint() || side->NeedsRepaint()))
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10), QThread::msleep(1);
        if (deadline.hasExpired())
            std::fprintf(stderr, "the views did not settle\n");
        return !deadline.hasExpired();
    };
    if (!settle())
        return 1;
    if (plan->context()->isOpenGLES() != es)
    {
        std::fprintf(stderr, "asked for %s but got the other dialect\n", es ? "OpenGL ES" : "desktop OpenGL");
        return 1;
    }

    const QString suffix = es ? "-es" : "-desktop";
    auto write = [&](const QString& stem)
    {
        for (auto [name, view] : {std::pair{"plan", plan}, std::pair{"side", side}})
        {
            const QImage image = view->grabFramebuffer();
            const QString path = QDir(folder).filePath(QString("%1%2%3.png").arg(name, stem, suffix));
            if (image.isNull() || !image.save(path))
            {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
                return false;
            }
            std::printf("%s\n", qPrintable(path));
        }
        return true;
    };
    if (!write(""))
        return 1;

    // The same scene with the balcony and a steerable array selected.
    const gallery::Selection selection = gallery::AddSelection(scene, *plan, *side);
    if (!selection.array)
    {
        std::fprintf(stderr, "the array module did not load\n");
        return 1;
    }
    if (!settle() || !write("-selected"))
        return 1;

#ifdef ZORV_GALLERY_COVERAGE
    // A floor and an array whose maps the engine computes, in views of their own.
    window.hide();
    QWidget coverageWindow;
    auto* coverageLayout = new QHBoxLayout(&coverageWindow);
    coverageLayout->setContentsMargins(0, 0, 0, 0);
    coverageLayout->setSpacing(0);
    plan = new view::VenueView3D(&coverageWindow);
    side = new view::VenueView3D(&coverageWindow);
    for (view::VenueView3D* view : {plan, side})
    {
        view->setFixedSize(800, 500);
        coverageLayout->addWidget(view);
    }
    if (!gallery::PrepareLoudspeakers())
    {
        std::fprintf(stderr, "the generated array module did not load\n");
        return 1;
    }
    gallery::CoverageScene coverage(*plan, *side);
    coverageWindow.show();
    coverage.AddFloorAndArray();
    const QDeadlineTimer computed(120000);
    auto waitFor = [&](const std::function<bool()>& condition)
    {
        while (!computed.hasExpired() && !condition())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10), QThread::msleep(1);
        return !computed.hasExpired();
    };
    if (!waitFor(
            [&]
            { return coverage.MapsShown() && !coverage.Engine()->isBusy() && coverage.ViewsSettled(); }) ||
        !coverage.FitRangeToFloor() || !waitFor([&] { return coverage.ViewsSettled(); }))
    {
        std::fprintf(stderr, "the coverage maps did not appear\n");
        return 1;
    }
    if (!write("-coverage"))
        return 1;
#endif
    return 0;
}
