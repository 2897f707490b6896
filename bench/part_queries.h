#pragma once

// What the benchmarks on CAD parts share: query points spread over a part's box and 5 mm beyond it, with a
// fixed seed, and the plain way to the closest facet, measuring every facet of the part's tessellation.

#include <algorithm>
#include <limits>
#include <random>
#include <vector>

#include <Eigen/Core>

#include "basic_types/vector3.h"
#include "host/cad/brep_model.h"
#include "host/cad/closest_on_triangle.h"

inline std::vector<Vector3> queriesAround(const BrepModel& model, int count, unsigned seed) {
  const auto [low, high] = model.bounds();
  std::mt19937_64 rng(seed);
  std::vector<Vector3> queries;
  for (int i = 0; i < count; ++i) {
    double p[3];
    for (int k = 0; k < 3; ++k)
      p[k] = std::uniform_real_distribution<double>(low[k] - 0.005, high[k] + 0.005)(rng);
    queries.push_back({p[0], p[1], p[2]});
  }
  return queries;
}

// The squared distance from q to the nearest facet.
inline double bruteForceDistance2(const BrepModel::Tessellation& t, const Vector3& q) {
  const Eigen::Vector3d p(q.x, q.y, q.z);
  double best = std::numeric_limits<double>::infinity();
  for (const auto& [a, b, c] : t.triangles) {
    const Eigen::Vector3d pa(t.vertices[a].data()), pb(t.vertices[b].data()), pc(t.vertices[c].data());
    const Eigen::Vector2d w = closestWeights(p, pa, pb, pc);
    best = std::min(best, (pa + w[0] * (pb - pa) + w[1] * (pc - pa) - p).squaredNorm());
  }
  return best;
}
