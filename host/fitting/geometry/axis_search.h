#pragma once

// Starts for cylinder and cone fits: candidate axis directions, each judged by where a few steps of the free
// fit from the best section along it lead.

#include <optional>
#include <vector>

#include <Eigen/Core>

#include "host/fitting/geometry/axial_surface_model.h"
#include "host/fitting/geometry/levenberg_marquardt.h"
#include "host/fitting/geometry/point_set.h"

namespace fitting::detail {

// The surface with its axis along unitAxis whose cross-sections best fit the points algebraically: a circle
// common to all heights (withSlope false) or one whose radius changes linearly with height. No value when the
// points do not determine one.
std::optional<AxialSurface> sectionAlong(const Points<3>& normalized, const Eigen::Vector3d& unitAxis,
                                         bool withSlope);

// Cylinders along unitAxis whose sections are the starts of a circle fit of the points seen along it (see
// centreRadiusStarts): on a short noisy arc the algebraic section may lie in a worse minimum's valley.
std::vector<AxialSurface> circularSections(const Points<3>& normalized, const Eigen::Vector3d& unitAxis);

// What the search of a free axis found on a sample of the points.
struct AxialSearch {
  // Starts for the minimiser, best first: sections along the principal axes of the points and along
  // directions spread evenly over the half sphere, each refined by a few steps of the free fit and ranked by
  // the sum of squares it reached, near-duplicates dropped. An algebraic section alone ranks badly: many
  // directions see a few points near a circle. For a cylinder, the circular sections along the best axis
  // follow (a cone started from those may pass its apex into a flat surface).
  std::vector<AxialSurface> starts;
  // Every refined section taken down its valley over the sample, to the minimum or as far as the descent
  // goes in a valley too flat to settle in, one per axis, lowest first. The directions are fixed in the
  // points' own frame, so the same valleys are found in every pose; the fit takes the lowest of them on
  // to its minimum over all the points when its own starts settle higher or not at all.
  std::vector<Minimum<AxialSurface>> valleys;
  Eigen::Index sampleSize;
};

AxialSearch searchAxialStarts(const Points<3>& normalized, bool withSlope);

// Whether the axes of a and b lie far enough apart to belong to distinct minima.
bool distinctAxes(const AxialSurface& a, const AxialSurface& b);

}  // namespace fitting::detail
