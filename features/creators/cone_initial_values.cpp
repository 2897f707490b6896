#include "features/creators/cone_initial_values.h"

#include <algorithm>

#include "features/creators/axial_estimates.h"
#include "features/creators/fitter_hints.h"

namespace cone {

namespace {

// Each end circle needs three points; the split between the lower and the upper points leaves it three.
constexpr size_t kRingPoints = 3;

// The height along the upright axis of the box turned upright about its middle.
double uprightHeight(const Box& box, const Matrix4x4& upright) {
  PointList corners;
  for (int i = 0; i < 8; ++i) {
    corners.push_back(Matrix4x4::transformPoint(
        upright,
        {i & 1 ? box.max.x : box.min.x, i & 2 ? box.max.y : box.min.y, i & 4 ? box.max.z : box.min.z}));
  }
  const Box turned = boundingBox(corners);
  return turned.min.x <= turned.max.x ? turned.max.z - turned.min.z : 0.0;
}

}  // namespace

void InitialValueUtil::setStart(const Vector3& centreFrom, const Vector3& centreTo, double diameterFrom,
                                double diameterTo) {
  // Coincident centres give no axis, and a nonsense start could lead the fit to a wrong cone.
  if (!((centreTo - centreFrom).squaredLength() > 0.0) || !(diameterFrom > 0.0) || !(diameterTo > 0.0))
    return;
  start_ = Start{centreFrom, centreTo, diameterFrom, diameterTo};
}

void InitialValueUtil::apply(IZelFeatureFitter& fitter) const {
  if (start_) {
    setHints(fitter, {{u"<CenterFrom>", start_->centreFrom},
                      {u"<CenterTo>", start_->centreTo},
                      {u"<DiameterFrom>", start_->diameterFrom},
                      {u"<DiameterTo>", start_->diameterTo}});
  }
  setMaxPtEAx(fitter);
}

void FreeInitialValueUtil::compute(const PointList& points) {
  std::optional<RingCircles> rings = fitProbingRings(points);
  if (!rings) return;
  setStart(rings->first->center(), rings->last->center(), 2.0 * rings->first->radius(),
           2.0 * rings->last->radius());
}

void ConstrainedInitialValueUtil::compute(const PointList& points) {
  if (!(axis_.squaredLength() > 0.0)) return;
  const Vector3 axis = axis_.normalized();
  const Box box = boundingBox(points);
  const Vector3 middle = box.center();
  const Matrix4x4 upright = axisUpright(middle, axis);
  const double height = uprightHeight(box, upright);
  PointList turned;
  for (const Vector3& p : points) turned.push_back(Matrix4x4::transformPoint(upright, p));
  std::stable_sort(turned.begin(), turned.end(),
                   [](const Vector3& a, const Vector3& b) { return a.z < b.z; });
  // The turn keeps the middle in place, so its height splits the points into the lower and the upper ones.
  size_t split =
      std::partition_point(turned.begin(), turned.end(), [&](const Vector3& p) { return p.z < middle.z; }) -
      turned.begin();
  if (turned.size() > 2 * kRingPoints)
    split = std::min(std::max(split, kRingPoints), turned.size() - kRingPoints);
  IPtr<IZelArc> lower = makeInitialArc({turned.begin(), turned.begin() + split}, nullptr);
  IPtr<IZelArc> upper = makeInitialArc({turned.begin() + split, turned.end()}, nullptr);
  if (!lower || !upper) return;
  setStart(middle - axis * (height / 2.0), middle + axis * (height / 2.0), 2.0 * lower->radius(),
           2.0 * upper->radius());
}

}  // namespace cone
