#include "GalleryScene.h"

#include "views/Render/Camera.h"
#include "views/Render/SelectionBoxEntity.h"
#include "views/Render/VenueView3D.h"
#include "views/Render/Viewport.h"

#include <algorithm>
#include <cmath>

namespace zorvpro::gallery
{
std::function<QColor(double)> BlueGreenRed(double min, double max)
{
    return [min, max](double value)
    {
        const double t = std::clamp((value - min) / (max - min), 0.0, 1.0);
        if (t < 0.5)
            return QColor::fromRgbF(0.0, 2.0 * t, 1.0 - 2.0 * t);
        return QColor::fromRgbF(2.0 * t - 1.0, 2.0 - 2.0 * t, 0.0);
    };
}

std::shared_ptr<view::FieldEntity> SyntheticMap(const math::Vec3& origin, int columns, int rows,
                                                double spacing, double& min, double& max)
{
    std::vector<math::Vec3> vertices;
    std::vector<int32_t> texelColumns, texelRows;
    std::vector<double> values;
    const math::Vec3 source = origin + math::Vec3{-1.0, 0.5 * (rows - 1) * spacing, 1.5};
    for (int r = 0; r < rows; ++r)
    {
        for (int c = 0; c < columns; ++c)
        {
            const math::Vec3 p = origin + math::Vec3{c * spacing, r * spacing, 0.0};
            vertices.push_back(p);
            texelColumns.push_back(c);
            texelRows.push_back(r);
            values.push_back(100.0 - 20.0 * std::log10((p - source).Length()));
        }
    }
    std::vector<view::FieldEntity::Triangle> triangles;
    for (int r = 0; r + 1 < rows; ++r)
    {
        for (int c = 0; c + 1 < columns; ++c)
        {
            const auto i = static_cast<uint32_t>(r * columns + c);
            const auto w = static_cast<uint32_t>(columns);
            triangles.push_back({i, i + 1, i + w + 1});
            triangles.push_back({i, i + w + 1, i + w});
        }
    }
    min = *std::min_element(values.begin(), values.end());
    max = *std::max_element(values.begin(), values.end());
    auto map = std::make_shared<view::FieldEntity>("FieldEntity for gallery");
    map->SetMesh(vertices, triangles, texelColumns, texelRows, columns, rows);
    map->BuildColorMapTexture(values, min, max, BlueGreenRed(min, max));
    return map;
}

Scene BuildScene()
{
    Scene scene;
    scene.floor =
        std::make_shared<view::QuadEntity>("Floor", math::Vec3{-4, -2, 0}, math::Vec3{4, -2, 0},
                                           math::Vec3{4, 2, 0}, math::Vec3{-4, 2, 0}, QColor(0, 200, 255));
    scene.floor->setTransparent(false);
    scene.balcony =
        std::make_shared<view::QuadEntity>("Balcony", math::Vec3{0.5, -1, 3}, math::Vec3{5, -1, 3},
                                           math::Vec3{5, 3, 3}, math::Vec3{0.5, 3, 3}, QColor(255, 140, 0));
    scene.balcony->setTransparent(true);
    scene.map = SyntheticMap({-3.5, -1.5, 0.05}, 26, 16, 0.2, scene.mapMin, scene.mapMax);
    return scene;
}

void AddToView(view::VenueView3D& view, const Scene& scene)
{
    view.AddEntity(scene.balcony);
    view.AddEntity(scene.floor);
    view.AddEntity(scene.map);
    auto box = view.GetSelectionBox();
    box->setColor(QColor(255, 255, 255));
    box->setStartPt(kSelectionStart);
    box->setEndPt(kSelectionEnd);
}

namespace
{
// Shifts the view by half a pixel so that whole metres land on pixel centres.
math::Vec3 HalfPixel(const math::Vec3& right, const math::Vec3& up, double pixelsPerMeter)
{
    return (up - right) * (0.5 / pixelsPerMeter);
}
} // namespace

void LookPlan(view::VenueView3D& view, double pixelsPerMeter)
{
    view.SetGridLabels("X", "Y", "PLAN VIEW");
    view.GetViewport().setPixelsPerMeter(pixelsPerMeter);
    const math::Vec3 target = HalfPixel({1, 0, 0}, {0, 1, 0}, pixelsPerMeter);
    view.GetCamera().LookAt(target + math::Vec3{0, 0, 5000}, target, {0, 1, 0});
}

void LookSide(view::VenueView3D& view, double pixelsPerMeter)
{
    view.SetGridLabels("X", "Z", "SIDE VIEW");
    view.GetViewport().setPixelsPerMeter(pixelsPerMeter);
    const math::Vec3 target = HalfPixel({1, 0, 0}, {0, 0, 1}, pixelsPerMeter);
    view.GetCamera().LookAt(target + math::Vec3{0, -5000, 0}, target, {0, 0, 1});
}
} // namespace zorvpro::gallery
