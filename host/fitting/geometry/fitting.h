#pragma once

// Least-squares (Gaussian) geometry fitting: every fit minimises the sum of the squared orthogonal distances
// of the points to the shape.
//
// Units: the fits are unit-free. Lengths come back in the points' own unit (the host's metres, or anything
// else), angles in radians, and every direction, normal or axis is a unit vector. No tolerance is an absolute
// length: each is relative to the points' spread, so scaled points give the scaled shape, up to the largest
// numbers a double holds.
//
// No result: each fit returns FitResult<Shape>, holding either the shape or a FitFailure whose reason names
// why the points do not determine it: too few points for the unknowns, a coordinate that is not finite,
// coordinates so large that the fit or its shape would overflow, points that coincide, lie on a line (plane,
// circle, cylinder, cone) or in a plane (sphere, cylinder, cone), parameters left ill-conditioned by nearly
// degenerate points, points as close to a line or plane as to any curved shape of the kind (a flat patch, or
// a short arc whose noise hides its curvature: the best answer would have an unbounded radius), or a fit that
// stalls or does not converge. A failure never carries a guessed shape.
//
// Axis ambiguity: a few touches bunched along a cylinder's or a cone's axis, or walked along a narrow arc of
// it, may lie as close to a second shape along a distinct axis as to the first (six touches around a wide
// shaft lie exactly on two cylinders 3 degrees apart; six on a 60 degree helix on several). A free-axis fit
// then refuses them, saying whether to spread the touches around the axis (they cover less than half a
// turn) or along it, whatever their pose: the search runs in the points' own frame, and two places count as
// fitting as well as each other when their sums of squares differ by less than (3 scatter)^2, scatter being
// the caller's standard deviation of a point about the surface (zero for exact points: then only ties to
// rounding), and as distinct when their axes lie more than about a degree apart or a ridge parts them, and
// further apart than three standard deviations of the tilt that scatter leaves at either (closer, they are
// one minimum seen through the scatter). Of places that fit as well, the touches' own word picks one: the
// seed's axis (a nominal, or what a creator estimated), else the axis of their first three and last three
// when those lie on two parallel rings about one axis (an operator's two rings of three lie exactly on
// cylinders across the bore too). The word only breaks a tie: it keeps the place within 5 degrees of it when
// every other place along a distinct axis lies at least 5 degrees further off, and the touches spread along
// it no wider than along any other; a place fitting worse than the best beyond the scatter is never kept,
// and a tie the word cannot break is refused.
//
// Determination: with a scatter above zero, a free-axis cylinder or cone is made only when the uncertainty
// that scatter leaves in it (the covariance scatter^2 (J^T J)^-1 of the fit's own Jacobian J at the minimum,
// one standard deviation) keeps its axis and half angle within about 5 degrees and its position and radius
// within 500 scatter; otherwise it is refused, saying whether to spread the touches around or along the axis.
// The uncertainty turns with the touches, so it judges the same touches alike in every pose.
//
// Method: coordinates are centred on the centroid (summed in two passes, so that far-off points keep their
// digits) and scaled to unit spread before any solve; planes and lines come from principal axes; circles,
// spheres, cylinders and cones run Levenberg-Marquardt on the orthogonal distances, with analytic Jacobians,
// from several starts (algebraic fits, for the last two along candidate axes, and alternative centres across
// the points), and keep the lowest accepted minimum. A fit has converged when a linear model of the residuals
// sees nothing left to remove, so exact points and points rounded to a few decimals converge like noisy ones.
// Optional seeds are extra starts, so a wrong one cannot spoil a fit.
//
// Determinism: a fit is a pure function of its input; the same points in the same order give the same bits.
//
// Sense of a direction that geometry leaves open (line, plane normal, free cylinder axis, circle in space):
// its component of largest magnitude is positive; on a tie the earliest of x, y, z decides. A direction
// given by the caller (the plane of a circle or a line, a cylinder's axis direction) keeps the caller's
// sense, except that a cone's axis always runs from its narrow end to its wide one.
//
// The shapes (shapes.h):
// - Plane: the points' centroid and the unit normal.
// - Line: a point on it (the centroid), the unit direction, and its extent over the points: the projections
//   of the lowest and the highest point along the direction.
// - Circle: centre, unit normal, radius, and a frame whose first two axes lie in the circle's plane, with its
//   origin at the centre and its third axis the normal.
// - Sphere: centre and radius.
// - Cylinder: unit axis, a point on it (the foot of the centroid), radius, the two ends on the axis where the
//   points' axial extent ends, and a frame with its origin at that point and its third axis the axis.
// - Cone: ends A and B on the axis where the points' axial extent ends, with the radii there, A the
//   narrow end, the unit axis from A to B, and the half-angle between axis and surface.
// - Parallel planes: the common unit normal (from the first group's plane to the second's), a point on the
//   mid-plane, and the distance between the two planes.
//
// Signed distance (signed_distance.h): positive outside, that is away from the axis or the centre, on the
// normal's side of a plane, and away from the mid-plane of parallel planes. residual_statistics.h sums up a
// fit's distances.

#include "host/fitting/geometry/circle_fit.h"
#include "host/fitting/geometry/cone_fit.h"
#include "host/fitting/geometry/cylinder_fit.h"
#include "host/fitting/geometry/fit_result.h"
#include "host/fitting/geometry/line_fit.h"
#include "host/fitting/geometry/parallel_planes_fit.h"
#include "host/fitting/geometry/plane_fit.h"
#include "host/fitting/geometry/residual_statistics.h"
#include "host/fitting/geometry/shapes.h"
#include "host/fitting/geometry/signed_distance.h"
#include "host/fitting/geometry/sphere_fit.h"
