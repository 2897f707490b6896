#pragma once

#include <Eigen/Core>

#include "host/fitting/geometry/fit_result.h"
#include "host/fitting/geometry/point_set.h"

namespace fitting::detail {

// Points seen in a plane: their orthogonal projections in the plane's own 2-D coordinates, centred on the
// foot of the points' centroid and scaled to unit RMS distance from it.
struct PlaneView {
  Eigen::Matrix3d basis;   // columns 0 and 1 span the plane, column 2 is its unit normal
  Eigen::Vector3d origin;  // input units
  double scale;            // input length of one unit of coordinates
  Points<2> coordinates;
  Eigen::Vector3d toInput(const Eigen::Vector2d& planar) const {
    return origin + scale * (basis.leftCols<2>() * planar);
  }
};

// Fails when the projections coincide: the points lie on a line along the normal.
FitResult<PlaneView> viewInPlane(const NormalizedPoints& points, const Eigen::Vector3d& planePoint,
                                 const Eigen::Vector3d& unitNormal);

}  // namespace fitting::detail
