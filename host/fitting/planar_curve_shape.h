#pragma once

// The curve the stand-in host's planar curve fitter makes from one ordered polyline of section points: the
// interpolating cubic spline through the points (periodic for a closed polyline of three distinct points or
// more, natural otherwise; neighbours within a tenth of the median step count as one point, their mean),
// moved in the section's plane by the offset along its own normal, to the left of its direction seen from the
// normal's side (n × tangent). The curve's points then lie on that moved spline, as the curve-fit record's
// mode says:
//   0 spline by distance: evenly along it, no further apart than the spacing (the median step of the
//     section without a record), and never fewer than the polyline's own points;
//   3 spline by control points: that many evenly along it;
//   1 spline by tolerance: the fewest of its samples that keep the rest within the tolerance of the
//     chords between them;
//   4, 5 line/arc: pieces through the moved polyline points that each stay within the tolerance of their
//     points: a line where the points allow, else an arc through the piece's ends and middle point, else the
//     piece is split at its worst point.
// Pure functions of their arguments; any thread.

#include <optional>
#include <vector>

#include "basic_types/vector3.h"
#include "host/fitting/host_curve_fit_data.h"
#include "host/fitting/host_curve_set.h"

// None when the points carry no curve: fewer than two distinct ones.
std::optional<HostCurveSet::Curve> planarCurveThrough(const std::vector<Vector3>& points, bool closed,
                                                      const Vector3& normal, double offset,
                                                      const HostCurveFitData* data, double medianStep);
