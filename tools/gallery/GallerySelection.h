// The gallery scene with a selection: the balcony selected (its handles in the plan view, its
// outline and ear-height line in the side view) and a two-module array with two beams, framed
// with its throw lines in the plan view and with both beam outlines and the selected beam's
// handles in the side view.
#pragma once

#include "GalleryScene.h"

#include "views/Render/BeamSpeakerAdornerEntity.h"
#include "views/Render/BeamSpeakerEntity.h"
#include "views/Render/ListenerPlaneAdorner.h"
#include "views/Render/QuadAdornerEntity.h"

#include <memory>

namespace zorvpro::gallery
{
struct Selection
{
    std::shared_ptr<view::BeamSpeakerEntity> array;
    std::shared_ptr<view::QuadAdornerEntity> planSurface;
    std::shared_ptr<view::QuadAdornerEntity> sideSurface;
    std::shared_ptr<view::ListenerPlaneAdorner> listenerLine;
    std::shared_ptr<view::BeamSpeakerAdornerEntity> planArray;
    std::shared_ptr<view::BeamSpeakerAdornerEntity> sideArray;
};

// Colours of the selected array's adorners.
const QColor kBeamColor(0, 190, 255);
const QColor kOtherBeamColor(150, 150, 150);

// Loads the generated array module into the loudspeaker library (once); false when it failed.
bool LoadArrayModule();

// Selects the balcony and adds the array with the adorners to both views. Empty array when
// the module could not be loaded.
Selection AddSelection(const Scene& scene, view::VenueView3D& plan, view::VenueView3D& side);
} // namespace zorvpro::gallery
