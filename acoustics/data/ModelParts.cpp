#include "acoustics/data/ModelParts.h"

namespace zorvpro::acoustics
{

std::shared_ptr<Polar> MakePolar(ModelFileData::PolarRecord&& r)
{
    auto polar = std::make_shared<Polar>(r.stepRadians, kModelBandCount);
    polar->setPolarId(r.polarId);
    polar->setName(r.name);
    polar->setLabel(r.label);
    polar->setPoint(math::Vec3(r.point[0], r.point[1], r.point[2]));
    polar->setFirstArray(std::move(r.bands[0]));
    polar->setReferenceLevel(std::move(r.bands[1]));
    polar->setThirdArray(std::move(r.bands[2]));
    polar->setLimit(std::move(r.bands[3]));
    polar->setFifthArray(std::move(r.bands[4]));
    polar->setSixthArray(std::move(r.bands[5]));
    polar->setSeventhArray(std::move(r.bands[6]));
    polar->setEighthArray(std::move(r.bands[7]));
    polar->setBandSelection(BandSelection(r.bandSelection));
    polar->setData(std::move(r.magnitudes), std::move(r.phases));
    return polar;
}

void ApplyModelFile(ModelFileData&& file, LoudspeakerImpl& model)
{
    if (model.getName().empty())
        model.setName(file.name);
    if (model.getDescription().empty())
        model.setDescription(file.description);
    if (file.hasComponentValue)
        model.setComponentValue(file.componentValue);

    LoudspeakerImpl::TransformerList transformers;
    for (auto& t : file.transformers)
        transformers.push_back(std::make_shared<Transformer>(t.name, t.id, t.tap));

    LoudspeakerImpl::PolarList polars;
    for (auto& p : file.polars)
        polars.push_back(MakePolar(std::move(p)));

    LoudspeakerImpl::TransducerList transducers;
    for (auto& t : file.transducers)
    {
        auto transducer =
            std::make_shared<Transducer>(t.name, t.index, t.levelFactor, t.polarId, t.transformerId);
        Orientation orientation{t.orientation[0], t.orientation[1], t.orientation[2]};
        orientation.Clamp(true);
        transducer->setOrientation(orientation);
        transducer->setPosition(math::Vec3(t.position[0], t.position[1], t.position[2]));
        transducers.push_back(std::move(transducer));
    }
    model.setParts(std::move(polars), std::move(transducers), std::move(transformers));

    std::vector<DXFFace> faces;
    for (const auto& f : file.faces)
    {
        std::vector<math::Vec3> corners;
        for (const Point3& c : f.corners)
            corners.emplace_back(c[0], c[1], c[2]);
        faces.emplace_back(f.type, std::move(corners));
    }
    model.setFaces(std::move(faces));
}

} // namespace zorvpro::acoustics
