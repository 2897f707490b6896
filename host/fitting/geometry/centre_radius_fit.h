#pragma once

// Circles in 2-D and spheres in 3-D: the same fit of a centre and a radius in two dimensions or three.

#include <optional>
#include <string_view>
#include <vector>

#include <Eigen/Core>

#include "host/fitting/geometry/fit_result.h"
#include "host/fitting/geometry/point_set.h"

namespace fitting::detail {

// The least-squares solution of design x = target for an algebraic fit. It goes through the normal equations,
// which keeps the many fits of an axis search cheap: the columns are low powers of centred coordinates of
// unit spread, so squaring their condition costs little. No value when the columns are dependent.
std::optional<Eigen::VectorXd> solveAlgebraicFit(const Eigen::MatrixXd& design,
                                                 const Eigen::VectorXd& target);

template <int Dim>
struct CentreRadius {
  Eigen::Matrix<double, Dim, 1> centre;
  double radius;
};

// The algebraic fit, minimising sum (|p - c|^2 - r^2)^2: linear, so it needs no start, but biased on partial
// arcs, so it only starts the orthogonal fit. Fails when the points lie on a line (2-D) or in a plane (3-D).
template <int Dim>
FitResult<CentreRadius<Dim>> algebraicCentreRadius(const Points<Dim>& normalized);

// Starts for the orthogonal fit of points centred and of unit spread: the algebraic fit when there is one
// and, unless it shows the points around more than half a turn, centres on either side of them across their
// flattest direction, at a few distances, each with the points' mean distance as its radius. On a short noisy
// arc the algebraic fit may lie in a worse minimum's valley, or be no circle at all.
template <int Dim>
std::vector<CentreRadius<Dim>> centreRadiusStarts(const Points<Dim>& normalized);

// The orthogonal-distance fit, the lowest minimum from those starts; the points should be centred and of unit
// spread. shape names the family in a refusal.
template <int Dim>
FitResult<CentreRadius<Dim>> fitCentreRadius(const Points<Dim>& normalized, std::string_view shape);

}  // namespace fitting::detail
