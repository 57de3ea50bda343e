#pragma once

#include "core/math/BBox.h"
#include "core/math/Vector3.h"
#include "views/Render/Entity.h"
#include "views/Render/Viewport.h"

#include <QPointer>

namespace zorvpro::view
{

// Drawn over a selected entity to show the selection and to offer handles
// for editing it with the mouse. It follows the adorned entity, the view's
// zoom and the visible box: any change of them makes it dirty, and it
// rebuilds on the next frame of its view (never outside one, where no GL
// context need be current). Everything it draws is moved towards the camera
// by the offset distance so it lies in front of its entity.
class AdornerEntity : public Entity
{
    Q_OBJECT

public:
    AdornerEntity(const std::string& name, Viewport* viewport, EntityPtr adorned, double offsetDistance);

    EntityPtr AdornedEntity() const { return m_adorned; }
    double PixelsPerMeter() const { return m_pixelsPerMeter; }
    const math::BBox& VisibleBox() const { return m_visibleBox; }
    double OffsetDistance() const { return m_offsetDistance; }

public slots:
    // Never below 0.1; an almost equal value changes nothing.
    void SetPixelsPerMeter(double pixelsPerMeter);
    void SetVisibleBox(const zorvpro::math::BBox& box);

protected:
    // -offset distance x the camera's forward vector; zero without a viewport.
    math::Vec3 OffsetVector() const;
    Viewport* GetViewport() const { return m_viewport; }
    // Takes the adorned entity's visibility, marking itself dirty on a change.
    void FollowVisibility(bool visible);

private:
    double m_pixelsPerMeter = 1.0;
    // The view may close before the editing framework drops its adorners.
    QPointer<Viewport> m_viewport;
    EntityPtr m_adorned;
    double m_offsetDistance = 0.0;
    math::BBox m_visibleBox;
};

// "<prefix><" + the entity's name + ">", "nullptr" in place of a missing entity.
std::string AdornerName(const char* prefix, const EntityPtr& entity);

// One pixel of handle size in metres at the view's zoom: handles are drawn
// as if at 50 pixels per metre scaled by 0.02 per pixel.
inline double HandlePixels(double pixelsPerMeter, double pixels)
{
    return 50.0 / pixelsPerMeter * 0.02 * pixels;
}

} // namespace zorvpro::view
