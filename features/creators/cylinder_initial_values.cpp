#include "features/creators/cylinder_initial_values.h"

#include "features/creators/approach_start.h"
#include "features/creators/axial_estimates.h"
#include "features/creators/fitter_hints.h"

namespace cylinder {

void InitialValueUtil::setStart(const Vector3& axis, const Vector3& centre, double diameter) {
  // Equal ring centres give a zero axis, and a nonsense start could lead the fit to a wrong cylinder.
  if (!(axis.squaredLength() > 0.0) || !(diameter > 0.0)) return;
  start_ = Start{axis, centre, diameter};
}

void InitialValueUtil::apply(IZelFeatureFitter& fitter) const {
  if (start_) {
    setHints(fitter,
             {{u"<Axis>", start_->axis}, {u"<Center>", start_->centre}, {u"<Diameter>", start_->diameter}});
  }
  setMaxPtEAx(fitter);
}

void FreeInitialValueUtil::compute(const PointList& points) {
  if (const std::optional<ApproachStart> told = cylinderFromApproaches(points, approaches_)) {
    setStart(told->axis, told->centre, told->diameter);
    return;
  }
  std::optional<RingCircles> rings = fitProbingRings(points);
  if (!rings) return;
  const Vector3 first = rings->first->center(), last = rings->last->center();
  setStart((last - first).normalized(), (first + last) / 2.0, rings->first->radius() + rings->last->radius());
}

void ConstrainedInitialValueUtil::compute(const PointList& points) {
  IPtr<IZelArc> circle = makeInitialArc(points, workPlane_.get());
  if (!circle) return;
  const Vector3 middle = boundingBox(points).center();
  const Vector3 normal = circle->normal().normalized();
  const Vector3 centre = circle->center() - normal * (circle->center() - middle).dot(normal);
  setStart(circle->normal(), centre, 2.0 * circle->radius());
}

void BoundedInitialValueUtil::compute(const PointList& points) {
  IPtr<IZelArc> bottom = makeInitialArc(points, bottom_.get());
  IPtr<IZelArc> top = makeInitialArc(points, top_.get());
  if (!bottom || !top) return;
  const Vector3 rise = top->center() - bottom->center();
  setStart(rise.normalized(), bottom->center() + rise * 0.5, bottom->radius() + top->radius());
}

}  // namespace cylinder
