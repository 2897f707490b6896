#pragma once

// The stand-in aligner's mathematics: the least-squares rigid motion between paired points, and the
// point-to-plane refinement of a rigid motion onto a surface that a query answers closest points on.
// Pure functions, safe on any thread.

#include <functional>
#include <optional>
#include <vector>

#include <Eigen/Geometry>

// The proper rigid motion T (no scale, no reflection) minimising Σ|T·fromᵢ − toᵢ|²; none for fewer than 3
// pairs, sizes that differ, from-points on one line, or a value that is not finite.
std::optional<Eigen::Isometry3d> fitPointPairs(const std::vector<Eigen::Vector3d>& from,
                                               const std::vector<Eigen::Vector3d>& to);

// The closest surface point of a point and the outward unit normal there; false when there is none.
using SurfaceQuery =
    std::function<bool(const Eigen::Vector3d& point, Eigen::Vector3d& closest, Eigen::Vector3d& normal)>;

struct SurfaceRefinement {
  double offset = 0;     // how far above the surface each point should lie
  double tolerance = 0;  // a point farther than this from its offset surface sits a step out
  int maxSteps = 100;
  double stepLimit = 1e-13;  // a step moving less (radians and lengths) ends the refinement
};

// The rigid motion, from start, that lays the points offset above the surface in least squares (see
// IAligner::refine); hints are the callers' normals of the points, one each. None when fewer than 3 points
// take part in a step or a value is not finite.
std::optional<Eigen::Isometry3d> refineOntoSurface(const std::vector<Eigen::Vector3d>& points,
                                                   const std::vector<Eigen::Vector3d>& hints,
                                                   const Eigen::Isometry3d& start,
                                                   const SurfaceRefinement& how, const SurfaceQuery& query);
