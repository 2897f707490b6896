// The closest point on a CAD model, as real-time deviation asks for it once per device move: the module's
// closest-point object over the host's B-rep search, for parts of about 1,000 and 10,000 faces, beside a
// brute-force search of the same part's tessellation (`vs_tessellation`, beside_peer.h), which only
// approximates the answer. Queries are points up to 5 mm off the part, with a fixed seed.

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include <Eigen/Core>

#include "basic_types/vector3.h"
#include "bench_host.h"
#include "beside_peer.h"
#include "commands/features/closest_point_on_cad.h"
#include "framework/object/iptr.h"
#include "host/cad/cad_surface_model.h"
#include "tools/palpera-parts/example_parts.h"

namespace {

constexpr int kQueries = 64;

std::vector<Vector3> queriesAround(const BrepModel& model) {
  const auto [low, high] = model.bounds();
  std::mt19937_64 rng(11);
  std::vector<Vector3> queries;
  for (int i = 0; i < kQueries; ++i) {
    double p[3];
    for (int k = 0; k < 3; ++k)
      p[k] = std::uniform_real_distribution<double>(low[k] - 0.005, high[k] + 0.005)(rng);
    queries.push_back({p[0], p[1], p[2]});
  }
  return queries;
}

// The squared distance from p to triangle abc (Ericson's closest point on a triangle).
double distance2(const Eigen::Vector3d& p, const Eigen::Vector3d& a, const Eigen::Vector3d& b,
                 const Eigen::Vector3d& c) {
  const Eigen::Vector3d ab = b - a, ac = c - a, ap = p - a;
  const double d1 = ab.dot(ap), d2 = ac.dot(ap);
  if (d1 <= 0 && d2 <= 0) return ap.squaredNorm();
  const Eigen::Vector3d bp = p - b;
  const double d3 = ab.dot(bp), d4 = ac.dot(bp);
  if (d3 >= 0 && d4 <= d3) return bp.squaredNorm();
  const double vc = d1 * d4 - d3 * d2;
  if (vc <= 0 && d1 >= 0 && d3 <= 0) return (p - (a + d1 / (d1 - d3) * ab)).squaredNorm();
  const Eigen::Vector3d cp = p - c;
  const double d5 = ab.dot(cp), d6 = ac.dot(cp);
  if (d6 >= 0 && d5 <= d6) return cp.squaredNorm();
  const double vb = d5 * d2 - d1 * d6;
  if (vb <= 0 && d2 >= 0 && d6 <= 0) return (p - (a + d2 / (d2 - d6) * ac)).squaredNorm();
  const double va = d3 * d6 - d5 * d4;
  if (va <= 0 && (d4 - d3) >= 0 && (d5 - d6) >= 0) {
    return (p - (b + (d4 - d3) / ((d4 - d3) + (d5 - d6)) * (c - b))).squaredNorm();
  }
  const double denominator = 1 / (va + vb + vc);
  return (p - (a + ab * vb * denominator + ac * vc * denominator)).squaredNorm();
}

double bruteForce(const BrepModel::Tessellation& t, const Vector3& q) {
  const Eigen::Vector3d p(q.x, q.y, q.z);
  double best = std::numeric_limits<double>::infinity();
  for (const auto& [a, b, c] : t.triangles) {
    best = std::min(best,
                    distance2(p, Eigen::Vector3d(t.vertices[a].data()), Eigen::Vector3d(t.vertices[b].data()),
                              Eigen::Vector3d(t.vertices[c].data())));
  }
  return best;
}

void BM_ClosestPointOnCad(benchmark::State& state) {
  attachModule();
  IPtr<CadSurfaceModel> model(new CadSurfaceModel(blockGridModel(static_cast<int>(state.range(0)))));
  IPtr<IZelClosestPointOnCad> closest;
  closest.getService();
  if (!closest || !closest->setCadModel(model.get())) {
    state.SkipWithError("no closest-point object");
    return;
  }
  const std::vector<Vector3> queries = queriesAround(model->brep());
  state.counters["faces"] = model->brep().faceCount();
  state.counters["triangles"] = static_cast<double>(model->brep().tessellation().triangles.size());
  runBesidePeer(
      state, kQueries, "tessellation",
      [&] {
        Vector3 answer;
        for (const Vector3& q : queries) benchmark::DoNotOptimize(closest->computeClosestPoint(q, answer));
      },
      [&] {
        for (const Vector3& q : queries)
          benchmark::DoNotOptimize(bruteForce(model->brep().tessellation(), q));
      });
}
BENCHMARK(BM_ClosestPointOnCad)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
