// Scene-code benchmarks: picking a ray against many surfaces, and building
// the triangles of a coverage map without GL.
#include "views/Render/GeometryGL.h"
#include "views/Render/HitPoint.h"
#include "views/Render/QuadEntity.h"
#include "views/Render/Viewport.h"

#include <benchmark/benchmark.h>
#include <memory>
#include <vector>

using namespace zorvpro;

namespace
{
// 1,000 rotated 3 m x 2 m surfaces on a 40 x 25 grid, 4 m apart.
std::vector<view::QuadEntityPtr> MakeSurfaces()
{
    std::vector<view::QuadEntityPtr> surfaces;
    for (int i = 0; i < 1000; ++i)
    {
        auto quad = std::make_shared<view::QuadEntity>("Surface", math::Vec3(0, 0, 0), math::Vec3(3, 0, 0),
                                                       math::Vec3(3, 2, 0.5), math::Vec3(0, 2, 0.5), Qt::red);
        math::Mat4 transform = math::Mat4::RotationZ(0.01 * i);
        transform.Translate({4.0 * (i % 40), 4.0 * (i / 40), 0.0});
        quad->setTransform(transform);
        quad->setDirty(false);
        surfaces.push_back(quad);
    }
    return surfaces;
}

void BM_PickRayAgainst1000Quads(benchmark::State& state)
{
    const auto surfaces = MakeSurfaces();
    view::Viewport viewport;
    viewport.Resize(1600, 1000);
    viewport.setPixelsPerMeter(10);
    viewport.GetCamera().LookAt({80, 50, 100}, {80, 50, 0}, {0, 1, 0});
    const math::Ray ray = viewport.ScreenToRay(820, 480);
    int hits = 0;
    for (auto _ : state)
    {
        hits = 0;
        for (const view::QuadEntityPtr& quad : surfaces)
        {
            if (quad->Pick(ray, quad, viewport.pixelsPerMeter()))
                ++hits;
        }
        benchmark::DoNotOptimize(hits);
    }
    state.counters["hits"] = hits;
}
BENCHMARK(BM_PickRayAgainst1000Quads)->Unit(benchmark::kMicrosecond);

// A 100 m x 50 m map at 0.5 m: 200 x 100 cells, two triangles each.
void BM_BuildCoverageMapGeometry(benchmark::State& state)
{
    const bool bothWindings = state.range(0) != 0;
    const double step = 0.5;
    const int columns = 200, rows = 100;
    size_t bytes = 0;
    for (auto _ : state)
    {
        opengl::GeometryGL geometry;
        for (int r = 0; r < rows; ++r)
        {
            for (int c = 0; c < columns; ++c)
            {
                const math::Vec3 a(c * step, r * step, 0), b((c + 1) * step, r * step, 0),
                    d((c + 1) * step, (r + 1) * step, 0), e(c * step, (r + 1) * step, 0);
                const QColor colour(255, 0, 255);
                const opengl::TexCoord ta{c / 200.0f, r / 100.0f}, tb{(c + 1) / 200.0f, r / 100.0f},
                    td{(c + 1) / 200.0f, (r + 1) / 100.0f}, te{c / 200.0f, (r + 1) / 100.0f};
                geometry.AddTriangle(a, b, d, colour, colour, colour, ta, tb, td, bothWindings);
                geometry.AddTriangle(d, e, a, colour, colour, colour, td, te, ta, bothWindings);
            }
        }
        bytes = geometry.GetVertices().size() * sizeof(float);
        benchmark::DoNotOptimize(geometry.GetVertices().data());
    }
    state.counters["triangles"] = rows * columns * 2;
    state.counters["vertex_MB"] = static_cast<double>(bytes) / (1024.0 * 1024.0);
}
BENCHMARK(BM_BuildCoverageMapGeometry)
    ->Arg(1)
    ->Arg(0)
    ->ArgName("both_windings")
    ->Unit(benchmark::kMillisecond);
} // namespace

BENCHMARK_MAIN();
