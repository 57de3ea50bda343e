#pragma once

#include "views/Render/AdornerEntity.h"

#include <QColor>
#include <array>

namespace zorvpro::opengl
{
class GeometryGL;
}

namespace zorvpro::view
{

class SpeakerEntity;

// Clips the segment a-b to the box (slab method); false when no part of it
// lies inside, else a and b become the ends of the inside part.
bool ClipSegmentToBox(math::Vec3& a, math::Vec3& b, const math::BBox& box);

// The aiming line and the two coverage-edge lines of a loudspeaker, 30 m long
// in its own coordinates, cut to the visible box. `width` and `margin` in metres.
void DrawThrowLines(opengl::GeometryGL& geometry, const SpeakerEntity& speaker, const QColor& color,
                    const math::Vec3& offset, const math::BBox& visibleBox, double width, double margin);

// Frames a selected loudspeaker with a screen-aligned box and, unless in beam
// mode, draws its throw lines.
class SpeakerAdornerEntity : public AdornerEntity
{
    Q_OBJECT

public:
    SpeakerAdornerEntity(Viewport* viewport, EntityPtr speaker, double offsetDistance, bool beamMode,
                         bool secondFlag);

    HitPointPtr Pick(const math::Ray& ray, const EntityPtr& self, double pixelsPerMeter) const override;
    bool RebuildGeometry() override;

    void SetColor(const QColor& color);
    const QColor& Color() const { return m_color; }
    bool BeamMode() const { return m_beamMode; }
    bool SecondFlag() const { return m_secondFlag; }
    const std::array<math::Vec3, 4>& Corners() const { return m_corners; }

protected:
    // The box pick shared by the speaker adorners: the loudspeaker with part 1.
    HitPointPtr PickBox(const math::Ray& ray) const;

private:
    bool m_beamMode = false;
    bool m_secondFlag = false;
    QColor m_color{128, 128, 128, 255};
    std::array<math::Vec3, 4> m_corners{};
};

// Only the throw lines of a loudspeaker, shown while the project's throw-lines
// setting is on.
class SpeakerLinesAdornerEntity : public AdornerEntity
{
    Q_OBJECT

public:
    SpeakerLinesAdornerEntity(Viewport* viewport, EntityPtr speaker, double offsetDistance, bool beamMode,
                              bool secondFlag);

    HitPointPtr Pick(const math::Ray& ray, const EntityPtr& self, double pixelsPerMeter) const override;
    bool RebuildGeometry() override;

    void SetColor(const QColor& color);
    const QColor& Color() const { return m_color; }

private:
    bool m_beamMode = false;
    bool m_secondFlag = false;
    QColor m_color{64, 64, 64, 255};
    std::array<math::Vec3, 4> m_corners{};
};

// The loudspeaker's box hit by a ray through the four corners, or empty.
HitPointPtr PickSpeakerQuad(const EntityPtr& speaker, const std::vector<GeometryPtr>& geometries,
                            const std::array<math::Vec3, 4>& corners, const math::Ray& ray);

} // namespace zorvpro::view
