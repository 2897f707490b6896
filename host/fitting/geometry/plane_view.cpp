#include "host/fitting/geometry/plane_view.h"

#include <cmath>

#include "host/fitting/geometry/orientation.h"

namespace fitting::detail {

FitResult<PlaneView> viewInPlane(const NormalizedPoints& points, const Eigen::Vector3d& planePoint,
                                 const Eigen::Vector3d& unitNormal) {
  const Eigen::Matrix3d basis = basisAround(unitNormal);
  const Points<2> planar = basis.leftCols<2>().transpose() * points.coordinates;
  // Normalized points have unit spread, so this compares the projections with the points' own size.
  const double spread = rmsLength(planar);
  if (spread < kMinRelativeSpread) return FitFailure{"the points lie on a line along the plane's normal"};
  const double offset = unitNormal.dot(planePoint - points.centroid);
  return PlaneView{basis, points.centroid + offset * unitNormal, points.scale * spread, planar / spread};
}

}  // namespace fitting::detail
