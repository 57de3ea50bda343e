#pragma once

#include "core/math/BBox.h"

#include <QObject>
#include <functional>
#include <map>

namespace zorvpro
{
namespace view
{
class VenueView3D;
}

// Holds a world box per view that is fitted into the view when the view gets its size (a view
// that is not laid out yet has no size to fit into). While a box is pending, the camera of that
// view is not the user's and is not stored.
class ViewFitter : public QObject
{
    Q_OBJECT

public:
    // Called with the view and the fitted scale in pixels per metre, after the camera was centred;
    // deferred when the fit waited for the view's size.
    using FittedCallback = std::function<void(view::VenueView3D*, double scale, bool deferred)>;

    explicit ViewFitter(FittedCallback fitted);

    // Fits at once when the view has been shown, else when it is next resized.
    void ZoomToBox(view::VenueView3D* view, const math::BBox& box);
    void ClearPending(view::VenueView3D* view);
    bool IsPending(view::VenueView3D* view) const { return pending.count(view) != 0; }
    void Forget(view::VenueView3D* view);

    // The scale that shows the box within width x height pixels, seen along the view's camera.
    static double FitScale(view::VenueView3D* view, const math::BBox& box, int width, int height);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Fit(view::VenueView3D* view, int width, int height, bool deferred);

    FittedCallback fitted;
    std::map<view::VenueView3D*, math::BBox> pending;
};
} // namespace zorvpro
