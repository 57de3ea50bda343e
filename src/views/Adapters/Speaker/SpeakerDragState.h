#pragma once

#include "views/Adapters/Speaker/SpeakerTabAdapter.h"
#include "views/Render/BeamSpeakerAdornerEntity.h"
#include "views/Render/BeamSpeakerEntity.h"

namespace zorvpro
{

// One beam-handle drag in the side view: the end being dragged and where it started.
struct SpeakerTabAdapter::DragState
{
    view::BeamSpeakerEntityPtr entity;
    int beam = 0;
    bool topRear = true;
    double startAngle = 0.0;
    double startDistance = 0.0;
    std::shared_ptr<view::BeamSpeakerAdornerEntity> adorner;
    view::VenueView3D* view = nullptr;
    NodePtr node;
};

} // namespace zorvpro
