// A small venue scene for looking at the views: an opaque floor, a see-through balcony over it,
// a synthetic coverage map on the floor and a selection box. The gallery program writes it to
// PNG files; the pixel tests draw the same scene.
#pragma once

#include "views/Render/FieldEntity.h"
#include "views/Render/QuadEntity.h"

#include <QColor>
#include <QPoint>
#include <functional>
#include <memory>

namespace zorvpro::view
{
class VenueView3D;
}

namespace zorvpro::gallery
{
struct Scene
{
    std::shared_ptr<view::QuadEntity> floor;
    std::shared_ptr<view::QuadEntity> balcony;
    std::shared_ptr<view::FieldEntity> map;
    double mapMin = 0.0;
    double mapMax = 0.0;
};

// Blue at min, green halfway, red at max, linear in between.
std::function<QColor(double)> BlueGreenRed(double min, double max);

// A level falling off with distance from a source near the floor's left end, on a grid of
// columns x rows points spaced `spacing` metres apart from `origin`.
std::shared_ptr<view::FieldEntity> SyntheticMap(const math::Vec3& origin, int columns, int rows,
                                                double spacing, double& min, double& max);

Scene BuildScene();

// The balcony first: the transparent surface must still be drawn over the opaque ones.
void AddToView(view::VenueView3D& view, const Scene& scene);

// Plan view from above (up +Y) and side view from the front (up +Z), both at `pixelsPerMeter`
// and centred so that whole metres fall on pixel centres.
void LookPlan(view::VenueView3D& view, double pixelsPerMeter);
void LookSide(view::VenueView3D& view, double pixelsPerMeter);

// The selection box of the scene, in widget pixels.
constexpr QPoint kSelectionStart{100, 100};
constexpr QPoint kSelectionEnd{300, 200};
} // namespace zorvpro::gallery
