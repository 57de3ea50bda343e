#pragma once

#include "core/math/BBox.h"
#include "core/math/Vector3.h"
#include "views/Render/Entity.h"

#include <QColor>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace zorvpro::view
{

// A loudspeaker in the plan and side views, drawn as the solid outline of its
// mechanical model (flat four-cornered faces), placed by the entity transform
// and turned by a rotation about z and a pitch.
class SpeakerEntity : public Entity
{
    Q_OBJECT
    Q_PROPERTY(QColor selectedColor READ selectedColor WRITE setSelectedColor)
    Q_PROPERTY(QColor unselectedColor READ unselectedColor WRITE setUnselectedColor)
    Q_PROPERTY(zorvpro::math::Vec3 centerPt READ centerPt)
    Q_PROPERTY(double rotation READ rotation WRITE setRotation)

public:
    struct Face
    {
        std::array<math::Vec3, 4> corners;
        std::array<bool, 4> edges{};
    };
    // (face index, corner index, edge flag out) -> corner point; called only
    // while the entity is constructed.
    using CornerFunction = std::function<math::Vec3(int face, int corner, bool& edge)>;

    SpeakerEntity(const std::string& name, const math::Vec3& centre, double rotation, double pitch,
                  uint32_t faceCount, const CornerFunction& corner);

    HitPointPtr Pick(const math::Ray& ray, const EntityPtr& self, double pixelsPerMeter) const override;
    std::optional<math::BBox> BoundingBox() const override;

    QColor selectedColor() const { return m_selectedColor; }
    QColor unselectedColor() const { return m_unselectedColor; }
    // Box around the drawn modules in entity coordinates, known from construction: the scene
    // bounds (and the coverage-map planes taken from them) count a new speaker before its first frame.
    const math::BBox& LocalBox() const { return m_localBox; }
    const math::BBox& FaceListBox() const { return m_faceBox; }
    const std::vector<Face>& Faces() const { return m_faces; }
    double Gain() const { return m_gain; }
    double Delay() const { return m_delay; }
    void SetGainAndDelay(double gain, double delay)
    {
        m_gain = gain;
        m_delay = delay;
    }

public slots:
    // The centre in the entity's own coordinates: the origin.
    zorvpro::math::Vec3 centerPt() const { return {}; }
    // Moves the entity in its un-rotated frame.
    void translateCenterPt(zorvpro::math::Vec3 delta);
    double rotation() const { return m_rotation; }
    void setRotation(double newRotation);
    double pitch() const { return m_pitch; }
    void setPitch(double newPitch);
    bool RebuildGeometry() override;
    void setSelectedColor(QColor color);
    void setUnselectedColor(QColor color);

protected:
    // Appends one module drawn at the offset.
    void BuildBoxGeometry(const math::Vec3& offset);
    // The local box of `modules` copies of the faces stacked downwards, as the drawing stacks
    // them: set whenever the count changes, so the box is known before the first frame.
    void SetStackedLocalBox(uint32_t modules);
    // Records angles that the transform already carries (as a node's does).
    void AdoptAngles(double rotation, double pitch);

private:
    void Reorient(double pitch, double rotation);

    QColor m_selectedColor;
    QColor m_unselectedColor;
    std::vector<Face> m_faces;
    math::BBox m_faceBox;
    math::BBox m_localBox;
    double m_rotation = 0.0;
    double m_gain = 0.0;
    double m_delay = 0.0;
    double m_pitch = 0.0;
};

} // namespace zorvpro::view
