#pragma once

#include "views/Render/AdornerHandles.h"
#include "views/Render/SpeakerAdornerEntity.h"

#include <array>
#include <vector>

namespace zorvpro::view
{

// The adorner of a steerable array in beam mode: the frame, the outline of
// each beam (top/rear and bottom/front lines, steering line or spiral
// outline) and the two drag handles of the selected beam.
class BeamSpeakerAdornerEntity : public SpeakerAdornerEntity
{
    Q_OBJECT

public:
    BeamSpeakerAdornerEntity(Viewport* viewport, EntityPtr speaker, double offsetDistance, bool beamMode,
                             bool secondFlag);

    HitPointPtr Pick(const math::Ray& ray, const EntityPtr& self, double pixelsPerMeter) const override;
    bool RebuildGeometry() override;

    // The spiral outline's colour.
    void SetColor(const QColor& color);
    void SetOtherBeamColor(const QColor& color);
    void SetHighlightedItem(uint32_t item);
    uint32_t HighlightedItem() const { return m_highlightedItem; }

    // The ends of the beam's top/rear and bottom/front lines, (0, 0, 0) when
    // absent or for an index other than 0 and 1.
    math::Vec3 TopRearHandle(int beam) const;
    math::Vec3 BottomFrontHandle(int beam) const;
    math::Vec3 CentrePoint(int beam) const;
    // Where the top/rear and bottom/front lines start, in world coordinates.
    const math::Vec3& TopRearAnchor() const { return m_topAnchor; }
    const math::Vec3& BottomFrontAnchor() const { return m_bottomAnchor; }
    const std::vector<PickSphere>& PickSpheres() const { return m_spheres; }

    static bool IsHighlighted(uint32_t item, uint32_t identifier);

private:
    std::vector<PickSphere> m_spheres;
    std::array<math::Vec3, 2> m_topRear{};
    std::array<math::Vec3, 2> m_bottomFront{};
    std::array<math::Vec3, 2> m_centre{};
    math::Vec3 m_topAnchor;
    math::Vec3 m_centreAnchor;
    math::Vec3 m_bottomAnchor;
    QColor m_spiralColor;
    QColor m_otherBeamColor;
    uint32_t m_highlightedItem = 0;
};

} // namespace zorvpro::view
