// A line program that does not build: the failure is logged once, the lines are left out and
// everything else is still drawn, frame after frame.
#include "GalleryScene.h"
#include "GlTestEnv.h"
#include "GlViewSupport.h"

#include "views/Render/ShaderSources.h"
#include "views/Render/Viewport.h"

#include "tests/core/support/LogCapture.h"

#include <QOpenGLContext>
#include <QVBoxLayout>
#include <algorithm>

using namespace zorvpro;
using namespace zorvpro::gltest;

namespace
{
// Pixel of a world point in an 800 x 500 plan view at 50 pixels per metre.
QPoint PlanPixel(double x, double y)
{
    return {400 + int(std::lround(x * 50)), 250 - int(std::lround(y * 50))};
}

// The most cyan pixel within one pixel of p: how far its blue exceeds its red.
int Cyan(const QImage& image, QPoint p)
{
    int most = -255;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
        {
            const QColor c = image.pixelColor(p.x() + dx, p.y() + dy);
            most = std::max(most, c.blue() - c.red());
        }
    return most;
}

size_t Count(const std::vector<std::string>& texts, const std::string& text)
{
    return size_t(std::count(texts.begin(), texts.end(), text));
}

// Restores the built-in texts however the test ends.
struct BrokenLineProgram
{
    explicit BrokenLineProgram(const char* fragment)
    {
        const view::ShaderSourcePair pair{view::ShaderSources(view::ShaderProgramKind::Lines, false).vertex,
                                          fragment};
        view::OverrideShaderSources(view::ShaderProgramKind::Lines, &pair);
    }
    ~BrokenLineProgram() { view::OverrideShaderSources(view::ShaderProgramKind::Lines, nullptr); }
};
} // namespace

TEST(ShaderFailureTest, AFailedLineProgramIsLoggedOnceAndOnlyTheLinesAreLeftOut)
{
    const struct
    {
        const char* what;
        const char* fragment;
        const char* logged;
    } cases[] = {
        {"does not compile", "void main() { this is not a shader; }", "Cannot add OpenGL fragment shader"},
        // Compiles, but reads a varying the vertex shader does not write.
        {"does not link", "varying highp vec4 v_nowhere;\nvoid main() { gl_FragColor = v_nowhere; }",
         "Cannot link OpenGL shader"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        BrokenLineProgram broken(c.fragment);
        test::LogCapture log;
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        layout->setContentsMargins(0, 0, 0, 0);
        auto* view = new view::VenueView3D(&window);
        view->setFixedSize(800, 500);
        layout->addWidget(view);
        const gallery::Scene scene = gallery::BuildScene();
        gallery::AddToView(*view, scene);
        gallery::LookPlan(*view, 50.0);
        window.show();
        ASSERT_TRUE(Settle(*view));
        ASSERT_EQ(view->context()->isOpenGLES(), EsRequested());

        // Two more frames after a change.
        for (bool selected : {true, false})
        {
            scene.floor->setSelected(selected);
            view->update();
            ASSERT_TRUE(Settle(*view));
        }
        const QImage image = view->grabFramebuffer();
        SaveShot(image, std::string("broken-line-program-") + (c.fragment[0] == 'v' ? "compile" : "link"),
                 EsRequested());

        const auto texts = log.Texts();
        EXPECT_GE(Count(texts, c.logged), 1u);
        EXPECT_EQ(Count(texts, "Shader was null"), 1u) << "logged when the program failed, not per frame";

        // The surfaces' fills are drawn: the floor where nothing else covers it.
        const QPoint floorOnly = PlanPixel(-3.8, -1.8);
        EXPECT_TRUE(ColorNear(image, floorOnly.x(), floorOnly.y(), QColor(128, 128, 128)));
        // The floor's cyan outline is not: its edge shows grey fill and background only.
        EXPECT_LT(Cyan(image, PlanPixel(-1.0, -2.0)), 30);
        EXPECT_LT(Cyan(image, PlanPixel(-4.0, 0.0)), 30);
    }
}
