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
#include "host/cad/closest_on_triangle.h"
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

// The squared distance from p to triangle abc.
double distance2(const Eigen::Vector3d& p, const Eigen::Vector3d& a, const Eigen::Vector3d& b,
                 const Eigen::Vector3d& c) {
  const Eigen::Vector2d w = closestWeights(p, a, b, c);
  return (a + w[0] * (b - a) + w[1] * (c - a) - p).squaredNorm();
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
