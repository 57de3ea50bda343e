#include "views/Render/BeamSpeakerEntity.h"

#include "core/Logger/OmbraxLogger.h"

#include <algorithm>
#include <stdexcept>

namespace zorvpro::view
{

BeamSpeakerEntity::BeamSpeakerEntity(const std::string& name, const math::Vec3& centre, double rotation,
                                     double pitch, uint32_t modules, uint32_t beams, uint32_t faceCount,
                                     const CornerFunction& corner)
    : SpeakerEntity(name, centre, rotation, pitch, faceCount, corner), m_modules(modules), m_beams(beams)
{
    SetStackedLocalBox(DrawnModules());
    MarkDirty();
}

Beam& BeamSpeakerEntity::beam(int index)
{
    return const_cast<Beam&>(static_cast<const BeamSpeakerEntity*>(this)->beam(index));
}

const Beam& BeamSpeakerEntity::beam(int index) const
{
    if (index == 0)
        return m_beam0;
    if (index == 1)
        return m_beam1;
    const std::out_of_range error("Invalid beam index");
    OmbraxLogger::LogException(error, "src\\views\\Render\\BeamSpeakerEntity", "beam", 44);
    throw error;
}

void BeamSpeakerEntity::SetNumModules(uint32_t modules)
{
    m_modules = modules;
    SetStackedLocalBox(DrawnModules());
    MarkDirty();
}

void BeamSpeakerEntity::SetNumBeams(uint32_t beams)
{
    m_beams = beams;
    MarkDirty();
}

uint32_t BeamSpeakerEntity::DrawnModules() const
{
    return m_modules <= 1 ? 1 : std::min(m_modules, kMaxDrawnModules);
}

bool BeamSpeakerEntity::RebuildGeometry()
{
    const double height = FaceListBox().max.z - FaceListBox().min.z;
    ClearGeometries();
    const uint32_t drawn = DrawnModules();
    for (uint32_t i = 0; i < drawn; ++i)
        BuildBoxGeometry({0, 0, -height * i});
    return true;
}

} // namespace zorvpro::view
