// The coverage map and a view's frame: a 100 m x 50 m floor at 0.5 m spacing (201 x 101 =
// 20,301 points) as a FieldEntity, built from nothing versus recoloured only, and the frames of
// a plan view showing that map over 20 surfaces. Needs an X display with OpenGL:
//
//   Xvfb :95 -screen 0 1920x1080x24 & DISPLAY=:95 build/bench/ViewFrameBench
//
// ZORV_GL_ES=1 measures through OpenGL ES. Counters: points, and for frames the vertex bytes
// sent to the GPU per frame (zero when nothing changed).

#include "GalleryScene.h"

#include "views/Render/Camera.h"
#include "views/Render/GeometryGL.h"
#include "views/Render/VenueView3D.h"
#include "views/Render/Viewport.h"

#include <QApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QSurfaceFormat>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>

using namespace zorvpro;

namespace
{
constexpr int kColumns = 201;
constexpr int kRows = 101;
constexpr double kSpacing = 0.5;

struct Floor
{
    std::vector<math::Vec3> vertices;
    std::vector<view::FieldEntity::Triangle> triangles;
    std::vector<int32_t> columns, rows;
    std::vector<double> values;
};

const Floor& FloorMap()
{
    static const Floor floor = []
    {
        Floor f;
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kColumns; ++c)
            {
                const math::Vec3 p{-50.0 + c * kSpacing, -25.0 + r * kSpacing, 0.0};
                f.vertices.push_back(p);
                f.columns.push_back(c);
                f.rows.push_back(r);
                f.values.push_back(110.0 - 20.0 * std::log10((p - math::Vec3{-52, 0, 4}).Length()));
            }
        for (int r = 0; r + 1 < kRows; ++r)
            for (int c = 0; c + 1 < kColumns; ++c)
            {
                const auto i = uint32_t(r * kColumns + c);
                f.triangles.push_back({i, i + 1, i + kColumns + 1});
                f.triangles.push_back({i, i + kColumns + 1, i + kColumns});
            }
        return f;
    }();
    return floor;
}

void Recolour(view::FieldEntity& map, double shift)
{
    const Floor& f = FloorMap();
    map.BuildColorMapTexture(f.values, 60.0 + shift, 100.0, gallery::BlueGreenRed(60.0 + shift, 100.0));
}

// A context of its own for the entity-level benchmarks: textures need one.
struct OffscreenGL
{
    OffscreenGL()
    {
        surface.create();
        context.create();
        context.makeCurrent(&surface);
    }
    QOffscreenSurface surface;
    QOpenGLContext context;
};

void BM_FieldEntityBuild(benchmark::State& state)
{
    OffscreenGL gl;
    const Floor& f = FloorMap();
    for (auto _ : state)
    {
        view::FieldEntity map("FieldEntity for floor");
        map.SetMesh(f.vertices, f.triangles, f.columns, f.rows, kColumns, kRows);
        Recolour(map, 0.0);
        map.setDirty(false);
        benchmark::DoNotOptimize(map.GetGeometries().size());
    }
    state.counters["points"] = double(f.vertices.size());
}
BENCHMARK(BM_FieldEntityBuild)->Unit(benchmark::kMillisecond);

void BM_FieldEntityRecolour(benchmark::State& state)
{
    OffscreenGL gl;
    const Floor& f = FloorMap();
    view::FieldEntity map("FieldEntity for floor");
    map.SetMesh(f.vertices, f.triangles, f.columns, f.rows, kColumns, kRows);
    Recolour(map, 0.0);
    map.setDirty(false);
    double shift = 0.0;
    for (auto _ : state)
    {
        shift = shift > 5.0 ? 0.0 : shift + 0.5;
        Recolour(map, shift);
        map.setDirty(false);
        benchmark::DoNotOptimize(map.ColorMapTexture());
    }
    state.counters["points"] = double(f.vertices.size());
}
BENCHMARK(BM_FieldEntityRecolour)->Unit(benchmark::kMillisecond);

// A shown plan view with the floor map and 20 surfaces; range(0) = 1 recolours the map before
// every frame, 0 changes nothing.
void BM_PaintFrame(benchmark::State& state)
{
    QWidget window;
    auto* view = new view::VenueView3D(&window);
    view->setFixedSize(1200, 800);
    const Floor& f = FloorMap();
    auto map = std::make_shared<view::FieldEntity>("FieldEntity for floor");
    map->SetMesh(f.vertices, f.triangles, f.columns, f.rows, kColumns, kRows);
    Recolour(*map, 0.0);
    for (int i = 0; i < 20; ++i)
    {
        const double x = -50.0 + (i % 5) * 20.0, y = -25.0 + (i / 5) * 12.5, z = 0.5 * (i % 3);
        auto quad = std::make_shared<view::QuadEntity>(
            "Surface", math::Vec3{x, y, z}, math::Vec3{x + 18, y, z}, math::Vec3{x + 18, y + 11, z},
            math::Vec3{x, y + 11, z}, QColor(0, 200, 255));
        quad->setTransparent(i % 2 == 0);
        view->AddEntity(quad);
    }
    view->AddEntity(map);
    gallery::LookPlan(*view, 10.0);
    window.show();
    while (!view->isValid() || view->NeedsRepaint())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);

    const bool recolour = state.range(0) != 0;
    double shift = 0.0;
    const uint64_t before = opengl::GeometryGL::UploadedBytes();
    for (auto _ : state)
    {
        if (recolour)
        {
            shift = shift > 5.0 ? 0.0 : shift + 0.5;
            Recolour(*map, shift);
        }
        // One frame through paintGL, finished and read back.
        benchmark::DoNotOptimize(view->grabFramebuffer());
    }
    state.counters["bytes_per_frame"] =
        double(opengl::GeometryGL::UploadedBytes() - before) / double(state.iterations());
    state.counters["points"] = double(f.vertices.size());
}
BENCHMARK(BM_PaintFrame)->Arg(0)->Arg(1)->ArgName("recolour")->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char** argv)
{
    const char* es = std::getenv("ZORV_GL_ES");
    const bool useEs = es != nullptr && std::strcmp(es, "1") == 0;
    if (useEs)
        setenv("QT_XCB_GL_INTEGRATION", "xcb_egl", 1);
    QSurfaceFormat format;
    format.setSamples(4);
    if (useEs)
        format.setRenderableType(QSurfaceFormat::OpenGLES);
    QSurfaceFormat::setDefaultFormat(format);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
