#include "GallerySelection.h"

#include "acoustics/cluster/LoudspeakerCluster.h"
#include "acoustics/data/LoudspeakerLibrary.h"
#include "data/Nodes/BeamSpeakerClusterNode.h"
#include "data/Nodes/LoudspeakerNode.h"
#include "tools/datagen/Models.h"
#include "views/Render/VenueView3D.h"

namespace zorvpro::gallery
{
bool LoadArrayModule()
{
    static const bool loaded = []
    {
        const juce::File folder = juce::File::getSpecialLocation(juce::File::tempDirectory)
                                      .getChildFile("zorv-gallery-" + juce::Uuid().toString());
        folder.createDirectory();
        const bool written = datagen::WriteDataSet(folder, datagen::MakeArrayDataSet());
        acoustics::LoudspeakerLibrary::instance().loadLoudspeakerFiles(
            folder.getFullPathName().toStdString());
        folder.deleteRecursively();
        return written && CreateLoudspeakerNode(datagen::kArrayModelName) != nullptr;
    }();
    return loaded;
}

namespace
{
std::shared_ptr<view::BeamSpeakerEntity> MakeArray()
{
    if (!LoadArrayModule())
        return {};
    auto node = BeamSpeakerClusterNode::Create(acoustics::createLoudspeakerCluster());
    node->SetName("Main array");
    for (int i = 0; i < 2; ++i)
        node->AddChild(CreateLoudspeakerNode(datagen::kArrayModelName));
    node->SetTransform(math::Mat4::Translation({-5.5, 0, 3.5}));
    node->SetBeamCount(2);
    // Beam 1 covers the floor at ear height (1.2 m), beam 2 the balcony.
    node->SetBeamAlgorithm(0, 2);
    node->SetBeamTopRear(0, 9.9, -0.287);
    node->SetBeamBottomFront(0, 2.15, -0.38);
    node->SetBeamTopRear(1, 10.5, 0.02);
    node->SetBeamBottomFront(1, 6.4, 0.35);
    auto array =
        std::dynamic_pointer_cast<view::BeamSpeakerEntity>(view::BeamSpeakerEntity::CreateFromNode(node));
    if (!array)
        return {};
    view::BeamSpeakerEntity::ApplyTheme(array, false);
    array->setSelected(true);
    return array;
}

std::shared_ptr<view::BeamSpeakerAdornerEntity> ArrayAdorner(view::VenueView3D& view,
                                                             const view::EntityPtr& array, bool beams)
{
    auto adorner =
        std::make_shared<view::BeamSpeakerAdornerEntity>(&view.GetViewport(), array, 0.05, beams, false);
    adorner->view::SpeakerAdornerEntity::SetColor(kBeamColor);
    adorner->SetOtherBeamColor(kOtherBeamColor);
    adorner->SetColor(QColor(255, 0, 255));
    return adorner;
}
} // namespace

Selection AddSelection(const Scene& scene, view::VenueView3D& plan, view::VenueView3D& side)
{
    Selection selection;
    scene.balcony->setSelected(true);
    selection.planSurface =
        std::make_shared<view::QuadAdornerEntity>(&plan.GetViewport(), scene.balcony, 0.05, false);
    selection.sideSurface =
        std::make_shared<view::QuadAdornerEntity>(&side.GetViewport(), scene.balcony, 0.05, true);
    selection.listenerLine =
        std::make_shared<view::ListenerPlaneAdorner>(&side.GetViewport(), scene.balcony, 0.05);
    plan.AddEntity(selection.planSurface);
    side.AddEntity(selection.sideSurface);
    side.AddEntity(selection.listenerLine);

    selection.array = MakeArray();
    if (!selection.array)
        return selection;
    selection.planArray = ArrayAdorner(plan, selection.array, false);
    selection.sideArray = ArrayAdorner(side, selection.array, true);
    for (auto [view, adorner] :
         {std::pair{&plan, selection.planArray}, std::pair{&side, selection.sideArray}})
    {
        view->AddEntity(selection.array);
        view->AddEntity(adorner);
    }
    return selection;
}
} // namespace zorvpro::gallery
